#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "core/Sweep.h"

// A recording of the analyzer's answer, byte for byte as it came down the
// line (a .zm340 file): it reads exactly as a live answer does.
namespace RecordedAnswer {

// The sweep the answer holds. Empty, with "line N: what" in `error`, for a
// recording that ends before its end marker (or before its point limit).
std::optional<Sweep> Read(const QByteArray& bytes, QString* error);

}  // namespace RecordedAnswer
