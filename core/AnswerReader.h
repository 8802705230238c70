#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <optional>

#include "core/Sweep.h"
#include "core/WireFormat.h"

// How the analyzer's answer reads, field by field, with no port and no
// timing: fields up to the exact field "S" are skipped; the next three are
// the header (start, end, step); then every three fields are one point (SWR,
// resistance, reactance) until the exact field "E", or until the point limit
// is full. Every header and point field counts as its leading number, so a
// field that holds none is 0. Fields come whole (Take) or character by
// character (TakeCharacter), where a comma or a CR ends a field and a line
// feed is dropped wherever it stands.
class AnswerReader {
public:
    enum class Stage { Waiting, Header, Points, Ended };

    // What one field was.
    struct Field {
        enum class Kind { Skipped, Start, Header, Value, End };
        Kind kind = Kind::Skipped;
        double number = 0;                  // Header and Value: the leading number
        int point = 0;                      // Value: the index of the point it belongs to
        Quantity quantity = Quantity::Swr;  // Value: which of the point's quantities
        bool completes = false;             // Header: the header's last field; Value: the point's
    };

    explicit AnswerReader(int maxPoints = WireFormat::kMaxPoints);

    // After the answer has ended every field is skipped.
    Field Take(QStringView field);
    // The field this character ended, if it ended one.
    std::optional<Field> TakeCharacter(QChar c);

    Stage stage() const { return m_stage; }
    bool Ended() const { return m_stage == Stage::Ended; }
    // Inside the header, where the scan reads on whatever happens.
    bool InHeader() const { return m_stage == Stage::Header; }
    // The start marker has come: from here on the answer has a point count.
    bool StartCame() const { return m_stage != Stage::Waiting; }
    // The header as far as it has come; fields not yet read are 0.
    const Sweep::Header& header() const { return m_header; }
    int CompletePoints() const { return m_completePoints; }

private:
    int m_maxPoints;
    Stage m_stage = Stage::Waiting;
    Sweep::Header m_header;
    int m_headerFields = 0;
    int m_completePoints = 0;
    std::size_t m_pointField = 0;  // the next field's place within its point
    QString m_partial;             // the characters of the field being received
};
