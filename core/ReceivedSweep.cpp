#include "core/ReceivedSweep.h"

ReceivedSweep::ReceivedSweep(int maxPoints) : m_reader(maxPoints) {}

void ReceivedSweep::Take(QStringView characters) {
    using Kind = AnswerReader::Field::Kind;
    for (const QChar c : characters) {
        const auto field = m_reader.TakeCharacter(c);
        if (!field) continue;
        if (field->kind == Kind::Header && field->completes) {
            m_sweep.header = m_reader.header();
        } else if (field->kind == Kind::Value) {
            m_point.values[std::size_t(field->quantity)] = field->number;
            if (field->completes) m_sweep.points.push_back(m_point);
        }
    }
}
