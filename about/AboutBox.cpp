#include "about/AboutBox.h"

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "platform/drawing/Fonts.h"
#include "platform/drawing/Twips.h"

// A tool window is the one kind of top-level window that stays out of the
// taskbar everywhere (WS_EX_TOOLWINDOW on Windows, a utility window that X11
// taskbars skip, a panel on macOS). The customised hints leave just the
// title and the close button; the fixed-size hint gives Windows' thin dialog
// border. No parent: the boxes must not follow the main window around.
AboutBox::AboutBox(const QString& caption, int clientWidthTwips, int clientHeightTwips)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program even while a box is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(Fonts::DialogFont(false));
    setFixedSize(Twips::ToPixels(clientWidthTwips), Twips::ToPixels(clientHeightTwips));
}

QLabel* AboutBox::addLabel(const char* name, const QString& text, int left, int top, int width,
                           int height) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(Twips::ToPixels(left), Twips::ToPixels(top), Twips::ToPixels(width),
                       Twips::ToPixels(height));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* AboutBox::addOkButton(int left, int top) {
    constexpr int widthTwips = 972;
    constexpr int heightTwips = 372;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OnOK"));
    ok->setGeometry(Twips::ToPixels(left), Twips::ToPixels(top), Twips::ToPixels(widthTwips),
                    Twips::ToPixels(heightTwips));
    connect(ok, &QPushButton::clicked, this, &AboutBox::OnOK_Click);
    return ok;
}

void AboutBox::centreOnScreen() {
    // Qt reports no frame for a window that has never been shown, but the
    // platform window knows its frame as soon as it exists (on X11 only
    // once the window manager has framed it, so there the client size is
    // all there is to go on for the first placement).
    winId();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize outer = size().grownBy(frame);
    const QRect desk = screen()->geometry();
    // move() places the frame's top-left corner, the same corner measured here.
    move(desk.x() + (desk.width() - outer.width()) / 2,
         desk.y() + (desk.height() - outer.height()) / 2);
}

void AboutBox::OnOK_Click() { close(); }

void AboutBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_banner);
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            OnOK_Click();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void AboutBox::closeEvent(QCloseEvent* event) {
    m_unloaded = true;
    QWidget::closeEvent(event);
}
