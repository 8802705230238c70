#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <vector>

// Where the graph's grid lines and scale labels go, computed without drawing
// so the numbers can be checked on their own. All coordinates are twips in
// the graph box (x right, y down from its top-left corner); frequencies are
// in units of 100 Hz.
namespace GraphGeometry {

constexpr double kBottomMargin = 80;  // below the zero line
constexpr double kLeftMargin = 350;   // room for the SWR labels
constexpr double kSwrLabelIndent = 30;
constexpr int kFrequencyDivisions = 10;
constexpr double kFrequencyDivisor = 10000;  // units of 100 Hz per MHz
inline const QColor kGridColour{150, 150, 150};

struct GridRow {
    std::int32_t y;
    QString swrLabel;  // "1.0", "2.0", ...
};

// Horizontal lines, one SWR unit apart, from the first above the zero line
// up to the top edge.
std::vector<GridRow> gridRows(double height, double originY, double startYVal, double swrFullScale);

// Vertical lines from the plot's left edge (originX + 350) up to the right
// edge, a rounded tenth of the plot width apart.
std::vector<std::int32_t> gridColumns(double width, double originX);

// The x distance between neighbouring points when points 0..numPoints span
// the plot, from its left edge to the graph's right edge.
double pointPitch(double graphWidth, int numPoints);

// x of point i, `pitch` twips apart from the plot's left edge (originX + 350).
double pointX(double originX, double pitch, int i);

// Frequency of point i (units of 100 Hz) on an even spacing from scanStart
// (point 0) to scanEnd (point numPoints).
double pointFrequency(double scanStart, double scanEnd, int numPoints, int i);

struct FrequencyLabel {
    std::int32_t x;  // the grid line the label is centred under
    QString text;    // MHz, "#0.000"
};

// Labels under the vertical lines: start + k * (end - start) / 10.
std::vector<FrequencyLabel> frequencyLabels(double graphWidth, double originX, double scanStart,
                                            double scanEnd);

}  // namespace GraphGeometry
