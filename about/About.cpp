#include "about/About.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "Version.h"
#include "platform/runtime/AppInfo.h"

About* About::ShowTheBox() {
    static QPointer<About> box;
    return showOnce(box);
}

// Layout in twips, from the top-left corner of the client area; the labels
// start below the 82-pixel banner.
About::About() : AboutBox(QStringLiteral("About Vantrel"), 4035, 2610) {
    Label1 = addLabel("Label1", QStringLiteral("PC Link to ZM-340"), 120, 1320, 1575, 195);
    QFont bold = font();
    bold.setBold(true);
    Label1->setFont(bold);
    lblVersion = addLabel("lblVersion", QStringLiteral("Version"), 1920, 1320, 615, 255);
    Label2 = addLabel("Label2", AppInfo::Credit(), 120, 1800, 1785, 195);
    Label4 = addLabel("Label4", QStringLiteral("E. Varga, N. Holt"), 120, 2040, 1365, 195);
    Label3 = addLabel("Label3", QStringLiteral("varga@example.org, holt@example.org"), 120, 2280,
                      3105, 195);
    OnOK = addOkButton(2880, 1800);
    Form_Load();
}

void About::Form_Load() {
    centreOnScreen();
    lblVersion->setText(
        QStringLiteral("v%1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision));
}
