#include "graph/CursorReadout.h"

#include "graph/GraphGeometry.h"
#include "platform/runtime/NumberRules.h"

namespace CursorReadout {

std::optional<std::int16_t> nearestPoint(double x, double plotLeft, double pitch) {
    return NumberRules::roundToInt16((x - plotLeft) / pitch);
}

QString readoutText(double value, double frequency) {
    return NumberRules::formatPattern(value, u"##0.0") + QStringLiteral(" @ ") +
           NumberRules::formatPattern(frequency / GraphGeometry::kFrequencyDivisor, u"#0.000MHz");
}

}  // namespace CursorReadout
