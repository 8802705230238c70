#include "about/AboutKestrel.h"

#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>

AboutKestrel* AboutKestrel::ShowTheBox() {
    static QPointer<AboutKestrel> box;
    return showOnce(box);
}

// Layout in twips, from the top-left corner of the client area.
AboutKestrel::AboutKestrel() : AboutBox(QStringLiteral("About Kestrel"), 4020, 1830) {
    lblDescription = addLabel("lblDescription", QStringLiteral("kestrel-club.example.org"), 480,
                              1440, 1965, 330);
    lblDescription->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette black = lblDescription->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblDescription->setPalette(black);
    OnOK = addOkButton(2880, 1320);
    Form_Load();
}

void AboutKestrel::Form_Load() { centreOnScreen(); }
