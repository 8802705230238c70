#include "core/files/RecordedAnswer.h"

#include "core/ReceivedSweep.h"

namespace RecordedAnswer {

std::optional<Sweep> Read(const QByteArray& bytes, QString* error) {
    ReceivedSweep received;
    // The line carries bytes; each stands for one character, as the serial
    // control hands them over.
    received.Take(QString::fromLatin1(bytes));
    if (received.Complete()) return received.sweep();
    if (error) {
        const qsizetype lines = bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1);
        *error = QStringLiteral("line %1: the recorded answer ends before its end marker \"%2\"")
                     .arg(lines)
                     .arg(QLatin1String(WireFormat::kEndMarker.data(),
                                        qsizetype(WireFormat::kEndMarker.size())));
    }
    return std::nullopt;
}

}  // namespace RecordedAnswer
