#include "platform/widgets/PictureBox.h"

#include <QCursor>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

int mouseButtons(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}

int shiftState(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Cls();
}

void PictureBox::SetToolTipText(const QString& text) {
    m_toolTip = text;
    // A tip already on screen follows the new text at once, so the readout
    // tracks the mouse instead of showing the point where the tip first rose.
    if (QToolTip::isVisible() && underMouse()) {
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(QCursor::pos(), text, this);
        }
    }
}

bool PictureBox::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        if (m_toolTip.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            QToolTip::showText(help->globalPos(), m_toolTip, this);
        }
        return true;
    }
    return QWidget::event(e);
}

void PictureBox::paintEvent(QPaintEvent*) {
    const QImage& image = Image();
    QPainter p(this);
    p.drawImage(QPointF(0, 0), image);
}

void PictureBox::resizeEvent(QResizeEvent*) {
    FlushPolyline();
    FitImage();
}

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    const double s = UnitsPerPixel();
    emit MouseMove(mouseButtons(e->buttons()), shiftState(e->modifiers()),
                   float(e->position().x() * s), float(e->position().y() * s));
}
