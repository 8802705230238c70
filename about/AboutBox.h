#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPaintEvent;
class QPushButton;

// What the program's two information boxes share: a small fixed-size window
// without owner, modality, icon or taskbar entry, the banner as its
// background picture, the dialog font, and one "OK" that unloads the box.
// Layout arguments are in twips (1/1440 inch, 15 twips to the pixel at
// 96 dots per inch), the unit the box layouts are drawn up in.
class AboutBox : public QWidget {
    Q_OBJECT

public:
    // True once the box has been closed ("OK" or the title bar). The widget
    // itself is only deleted when the event loop gets back to it, which a
    // scan that pumps events itself can hold up for a long time.
    bool isUnloaded() const { return m_unloaded; }

protected:
    AboutBox(const QString& caption, int clientWidthTwips, int clientHeightTwips);

    // Positions in twips from the top-left corner of the client area.
    QLabel* addLabel(const char* name, const QString& text, int left, int top, int width,
                     int height);
    QPushButton* addOkButton(int left, int top);

    // Places the window frame in the middle of the screen.
    void centreOnScreen();

    // Unloads the box; wired to its "OK" button and to Enter and Escape.
    void OnOK_Click();

    // One instance per kind of box: a box that is open (even if moved) is
    // just brought to the front, otherwise a fresh one is created, which
    // loads and centres it.
    template <class Box>
    static Box* showOnce(QPointer<Box>& box) {
        if (!box || box->isUnloaded()) box = new Box;
        box->show();
        box->raise();
        box->activateWindow();
        return box;
    }

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPixmap m_banner{QStringLiteral(":/resources/banner.gif")};
    bool m_unloaded = false;
};
