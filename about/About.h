#pragma once

#include "about/AboutBox.h"

class QLabel;
class QPushButton;

// The program's information box: title, version and credits.
class About : public AboutBox {
    Q_OBJECT

public:
    // Help, "About Vantrel": opens the one box, or brings the open one to
    // the front where the user left it. Returns at once; the box is neither
    // modal nor owned by the main window, and deletes itself on "OK".
    static About* ShowTheBox();

    About();

private:
    // Centres the box, then writes the program's version into lblVersion.
    void Form_Load();

    QLabel* Label1 = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* OnOK = nullptr;
};
