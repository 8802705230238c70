#pragma once

#include <QStringView>

#include "core/AnswerReader.h"
#include "core/Sweep.h"

// A sweep as it arrives: the characters of an answer go in, the header and
// every complete point come out. A point cut short by the end marker is not
// kept, as the window does not count it.
class ReceivedSweep {
public:
    explicit ReceivedSweep(int maxPoints = WireFormat::kMaxPoints);

    void Take(QStringView characters);

    // Ended by "E" or by the point limit.
    bool Complete() const { return m_reader.Ended(); }
    const AnswerReader& reader() const { return m_reader; }
    const Sweep& sweep() const { return m_sweep; }

private:
    AnswerReader m_reader;
    Sweep m_sweep;
    Sweep::Point m_point;
};
