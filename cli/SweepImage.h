#pragma once

#include <QImage>
#include <QString>

#include "graph/GraphPicture.h"

struct Sweep;

// A sweep drawn as the window draws it: the frame labelled for the sweep's
// range and its three traces, laid out as the printed page.
class SweepImage {
public:
    explicit SweepImage(const Sweep& sweep);

    // The range as the frequency scale labels it ("13.650", "14.350").
    const QString& FirstLabel() { return m_picture.painter().FirstLabel(); }
    const QString& LastLabel() { return m_picture.painter().LastLabel(); }

    QImage Page(const QString& title);

private:
    GraphPicture m_picture;
};
