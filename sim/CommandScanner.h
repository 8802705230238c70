#pragma once

#include <string_view>
#include <vector>

// Finds scan commands in the bytes a PC sends: a band byte 48..63 directly
// followed by CR LF. Anything else (line noise, a stray CR, a terminal's
// "AT") is skipped, and a command may arrive split over several reads.
class CommandScanner {
public:
    // The band codes (0..15) of the commands completed by `bytes`, in order.
    std::vector<int> feed(std::string_view bytes);

private:
    unsigned char m_beforePrevious = 0;
    unsigned char m_previous = 0;
};
