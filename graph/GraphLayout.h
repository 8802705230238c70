#pragma once

#include <QColor>
#include <QRect>

// Where the graph and its scale strips lie on the window, in twips of the
// client area, and how they are coloured. An image of the graph made off the
// window lays the strips out the same way.
namespace GraphLayout {

inline constexpr QRect kSwrStrip{120, 1320, 495, 4695};        // picSWR: a fixed picture
inline constexpr QRect kPlot{600, 1320, 8895, 4695};           // grphSWRDisplay
inline constexpr QRect kOhmStrip{9600, 1320, 735, 4695};       // picRes: the ohm labels
inline constexpr QRect kFrequencyStrip{600, 6000, 9495, 375};  // picFreq

inline const QColor kLightYellow{249, 239, 107};  // the strips' and frames' back colour
inline const QColor kPlotColour{Qt::white};

// The fixed pictures of the two side strips.
inline constexpr char kSwrStripPicture[] = ":/resources/picSWR.png";
inline constexpr char kOhmStripPicture[] = ":/resources/picRes.png";

}  // namespace GraphLayout
