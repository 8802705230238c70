#include "sim/CommandScanner.h"

#include "core/WireFormat.h"

std::vector<int> CommandScanner::feed(std::string_view bytes) {
    std::vector<int> codes;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (m_previous == WireFormat::kCommandEnd[0] && byte == WireFormat::kCommandEnd[1]) {
            if (const auto code = WireFormat::BandCodeOf(m_beforePrevious)) codes.push_back(*code);
        }
        m_beforePrevious = m_previous;
        m_previous = byte;
    }
    return codes;
}
