#include "sim/CommandScanner.h"

std::vector<int> CommandScanner::feed(std::string_view bytes) {
    std::vector<int> codes;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n' && m_previous == '\r' && m_beforePrevious >= 48 &&
            m_beforePrevious <= 63) {
            codes.push_back(m_beforePrevious - 48);
        }
        m_beforePrevious = m_previous;
        m_previous = byte;
    }
    return codes;
}
