#include "sim/CommandScanner.h"

std::vector<int> CommandScanner::feed(std::string_view bytes) {
    std::vector<int> codes;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n' && previous_ == '\r' && beforePrevious_ >= 48 && beforePrevious_ <= 63) {
            codes.push_back(beforePrevious_ - 48);
        }
        beforePrevious_ = previous_;
        previous_ = byte;
    }
    return codes;
}
