#pragma once

#include "about/AboutBox.h"

class QLabel;
class QPushButton;

// The club's information box with its web address.
class AboutKestrel : public AboutBox {
    Q_OBJECT

public:
    // Help, "About Kestrel Club": opens the one box, or brings the open one
    // to the front where the user left it. Returns at once; the box is
    // neither modal nor owned by the main window, and deletes itself on "OK".
    static AboutKestrel* ShowTheBox();

    AboutKestrel();

private:
    // Centres the box.
    void Form_Load();

    QLabel* lblDescription = nullptr;
    QPushButton* OnOK = nullptr;
};
