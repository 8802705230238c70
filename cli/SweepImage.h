#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "graph/GraphPicture.h"

struct Sweep;

// Sweeps drawn as the window draws one: a frame labelled for their range,
// laid out as the printed page. One sweep shows its three traces, over the
// SWR of a reference it was trimmed against, if any; several sweeps each
// show their SWR in a colour of their own. Every trace beyond the window's
// three is named in the legend.
class SweepImage {
public:
    // For the SWR of further sweeps; the first is the window's SWR red.
    static constexpr std::array<std::uint32_t, 8> kColours{0xFF0000, 0x0000FF, 0x00A000, 0xFF8C00,
                                                           0x9400D3, 0x008B8B, 0x8B4513, 0xFF1493};
    // None of the window's trace colours.
    static constexpr std::uint32_t kReferenceColour = kColours[3];

    explicit SweepImage(const Sweep& sweep, const Sweep* reference = nullptr,
                        const QString& referenceName = QString());
    // Over the union of their ranges; `names` in the order of `sweeps`, at
    // most as many as there are colours.
    SweepImage(const std::vector<Sweep>& sweeps, const QStringList& names);

    // The range as the frequency scale labels it ("13.650", "14.350").
    const QString& FirstLabel() { return m_picture.painter().FirstLabel(); }
    const QString& LastLabel() { return m_picture.painter().LastLabel(); }

    QImage Page(const QString& title);

private:
    // The frame over lowHz..highHz.
    void drawFrame(double lowHz, double highHz);
    void plotSwr(const Sweep& sweep, std::uint32_t colour, const QString& name);

    GraphPicture m_picture;
    std::vector<LegendEntry> m_legend;
    double m_start = 0;  // the frame's range, units of 100 Hz
    double m_end = 0;
};
