#include "graph/GraphGeometry.h"

#include "platform/runtime/NumberRules.h"

using NumberRules::roundToInt16;
using NumberRules::roundToInt32;

namespace GraphGeometry {
namespace {

// x positions from `first` while they stay within `limit`. A step that rounds
// to zero or below (a plot narrower than ten twips) would never advance, so
// the line at the first position is then the only one.
std::vector<std::int32_t> columnsFrom(std::int32_t first, std::int16_t step, double limit) {
    std::vector<std::int32_t> xs;
    for (std::int64_t x = first; limit >= double(x); x += step) {
        xs.push_back(std::int32_t(x));
        if (step <= 0) break;
    }
    return xs;
}

}  // namespace

std::vector<GridRow> gridRows(double height, double originY, double startYVal,
                              double swrFullScale) {
    const double division = height / swrFullScale;
    std::vector<GridRow> rows;
    std::int16_t n = *roundToInt16(startYVal + 1);
    for (std::int32_t y = *roundToInt32(originY - division); y >= 0;
         y = *roundToInt32(y - division)) {
        rows.push_back({y, NumberRules::formatPattern(n, u"0.0")});
        ++n;
        if (division <= 0) break;
    }
    return rows;
}

std::vector<std::int32_t> gridColumns(double width, double originX) {
    const std::int32_t first = *roundToInt32(originX + kLeftMargin);
    return columnsFrom(first, *roundToInt16((width - first) / kFrequencyDivisions), width);
}

double pointPitch(double graphWidth, int numPoints) {
    return (graphWidth - kLeftMargin) / numPoints;
}

double pointX(double originX, double pitch, int i) { return originX + kLeftMargin + i * pitch; }

double pointFrequency(double scanStart, double scanEnd, int numPoints, int i) {
    return scanStart + i * ((scanEnd - scanStart) / numPoints);
}

std::vector<FrequencyLabel> frequencyLabels(double graphWidth, double originX, double scanStart,
                                            double scanEnd) {
    const std::int16_t step = *roundToInt16((graphWidth - kLeftMargin) / kFrequencyDivisions);
    std::vector<FrequencyLabel> labels;
    double f = scanStart;
    for (std::int32_t x : columnsFrom(*roundToInt32(originX + kLeftMargin), step, graphWidth)) {
        labels.push_back({x, NumberRules::formatPattern(f / kFrequencyDivisor, u"#0.000")});
        f += (scanEnd - scanStart) / kFrequencyDivisions;
    }
    return labels;
}

}  // namespace GraphGeometry
