#pragma once

#include <QProxyStyle>

// Draws a frame (group box) as the classic platform did: an etched line
// around a plain interior, so the frame's own back colour shows unaltered.
// Some styles shade the inside of a group box instead, which would tint the
// colour that the layout prescribes.
class FrameStyle : public QProxyStyle {
    Q_OBJECT

public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
