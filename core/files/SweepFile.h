#pragma once

#include <QString>
#include <optional>

#include "core/Sweep.h"

// A saved sweep, whichever kind of file holds it: a table (.csv), Touchstone
// (.s1p) or a recorded answer (.zm340), told apart by the extension.
namespace SweepFile {

// Empty when the file is of no such kind, cannot be read or does not parse;
// `error` then says so, naming the file (and the line).
std::optional<Sweep> Read(const QString& path, QString* error);

}  // namespace SweepFile
