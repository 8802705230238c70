#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "core/Sweep.h"
#include "graph/GraphPicture.h"

// Saved sweeps side by side: one frame over the union of their ranges,
// labelled as the window labels a range, and each sweep's SWR trace in a
// colour of its own (the first in the window's SWR red), named in the legend.
class ComparisonImage {
public:
    static constexpr std::array<std::uint32_t, 8> kColours{0xFF0000, 0x0000FF, 0x00A000, 0xFF8C00,
                                                           0x9400D3, 0x008B8B, 0x8B4513, 0xFF1493};

    // `names` in the order of `sweeps`, at most as many as there are colours.
    ComparisonImage(const std::vector<Sweep>& sweeps, const QStringList& names);

    const QString& FirstLabel() { return m_picture.painter().FirstLabel(); }
    const QString& LastLabel() { return m_picture.painter().LastLabel(); }

    QImage Page(const QString& title);

private:
    GraphPicture m_picture;
    std::vector<LegendEntry> m_legend;
};
