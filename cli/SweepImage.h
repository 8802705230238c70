#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "graph/GraphPicture.h"

struct Sweep;

// A sweep drawn as the window draws it: the frame labelled for the sweep's
// range and its three traces, laid out as the printed page. With a
// reference, the reference's SWR lies under them in a colour of its own,
// named in the legend, so that a trim shows against the sweep before it.
class SweepImage {
public:
    explicit SweepImage(const Sweep& sweep, const Sweep* reference = nullptr,
                        const QString& referenceName = QString());

    // The range as the frequency scale labels it ("13.650", "14.350").
    const QString& FirstLabel() { return m_picture.painter().FirstLabel(); }
    const QString& LastLabel() { return m_picture.painter().LastLabel(); }

    QImage Page(const QString& title);

    // None of the window's trace colours.
    static constexpr std::uint32_t kReferenceColour = 0xFF8C00;

private:
    GraphPicture m_picture;
    std::vector<LegendEntry> m_legend;
};
