#pragma once

#include <QString>
#include <QWidget>

#include "platform/drawing/Drawing.h"

// A picture box: a drawing surface on the window that keeps its drawing,
// shows it, and reports mouse moves and a tool tip in its scale unit. A
// repaint only copies the kept image, so covering and uncovering the window
// never loses or recomputes anything.
class PictureBox : public QWidget, public Drawing {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    QString ToolTipText() const { return m_toolTip; }
    void SetToolTipText(const QString& text);

signals:
    // Mouse position in the box's scale unit; button and shift as bit masks.
    void MouseMove(int button, int shift, float x, float y);

protected:
    QSize LogicalSize() const override { return size(); }
    qreal PixelRatio() const override { return devicePixelRatioF(); }
    QFont TextFont() const override { return font(); }
    void Changed() override { update(); }

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QString m_toolTip;
};
