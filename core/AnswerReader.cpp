#include "core/AnswerReader.h"

#include "platform/runtime/NumberRules.h"

namespace {

bool is(QStringView field, std::string_view marker) {
    return field == QLatin1String(marker.data(), qsizetype(marker.size()));
}

}  // namespace

AnswerReader::AnswerReader(int maxPoints) : m_maxPoints(maxPoints) {}

AnswerReader::Field AnswerReader::Take(QStringView text) {
    Field field;
    switch (m_stage) {
        case Stage::Waiting:
            if (is(text, WireFormat::kStartMarker)) {
                field.kind = Field::Kind::Start;
                m_stage = Stage::Header;
            }
            break;
        case Stage::Header: {
            field.kind = Field::Kind::Header;
            field.number = NumberRules::leadingNumber(text);
            double* const parts[WireFormat::kHeaderFields] = {&m_header.start, &m_header.end,
                                                              &m_header.step};
            static_assert(WireFormat::kHeaderStart == 0 && WireFormat::kHeaderEnd == 1 &&
                          WireFormat::kHeaderStep == 2);
            *parts[m_headerFields] = field.number;
            field.completes = ++m_headerFields == WireFormat::kHeaderFields;
            if (field.completes) m_stage = Stage::Points;
            break;
        }
        case Stage::Points:
            if (is(text, WireFormat::kEndMarker)) {
                field.kind = Field::Kind::End;
                m_stage = Stage::Ended;
                break;
            }
            field.kind = Field::Kind::Value;
            field.number = NumberRules::leadingNumber(text);
            field.point = m_completePoints;
            field.quantity = WireFormat::kPointFields[m_pointField];
            field.completes = ++m_pointField == WireFormat::kPointFields.size();
            if (field.completes) {
                m_pointField = 0;
                if (++m_completePoints >= m_maxPoints) m_stage = Stage::Ended;
            }
            break;
        case Stage::Ended:
            break;
    }
    return field;
}

std::optional<AnswerReader::Field> AnswerReader::TakeCharacter(QChar c) {
    if (Ended()) return std::nullopt;
    if (WireFormat::EndsField(c.unicode())) {
        const Field field = Take(m_partial);
        m_partial.clear();
        return field;
    }
    if (!WireFormat::IsDropped(c.unicode())) m_partial += c;
    return std::nullopt;
}
