#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <ostream>

#include "app/frmMain.h"

class ComboBox;
class CommControl;
class Drawing;
class PictureBox;
class QAction;
class QColor;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// Failed comparisons of texts show the texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Finds the window's control of that name, as a user's tools find it; a
// missing one ends the test program.
template <typename Control>
Control* named(frmMain& form, const char* name);

// The window's controls, each found by its name.
struct Controls {
    explicit Controls(frmMain& form);

    frmMain& owner;
    PictureBox* picSWR = named<PictureBox>(owner, "picSWR");
    PictureBox* grphSWRDisplay = named<PictureBox>(owner, "grphSWRDisplay");
    PictureBox* picRes = named<PictureBox>(owner, "picRes");
    PictureBox* picFreq = named<PictureBox>(owner, "picFreq");
    QGroupBox* FrameGraph = named<QGroupBox>(owner, "FrameGraph");
    QGroupBox* FrameDP = named<QGroupBox>(owner, "FrameDP");
    QGroupBox* FrameComm = named<QGroupBox>(owner, "FrameComm");
    QList<QRadioButton*> OptCursor;
    ComboBox* MnComboDisplay = named<ComboBox>(owner, "MnComboDisplay");
    ComboBox* MnComboFScale = named<ComboBox>(owner, "MnComboFScale");
    QLabel* LblPoints = named<QLabel>(owner, "LblPoints");
    ComboBox* cmboCommPort = named<ComboBox>(owner, "cmboCommPort");
    QPushButton* btnCollectDisplayData = named<QPushButton>(owner, "btnCollectDisplayData");
    QPushButton* btnStopCollectData = named<QPushButton>(owner, "btnStopCollectData");
    QPushButton* btnExit = named<QPushButton>(owner, "btnExit");
    QLabel* LblVersion = named<QLabel>(owner, "LblVersion");
    QLabel* LblCredit = named<QLabel>(owner, "LblCredit");
    CommControl* cntlComm = named<CommControl>(owner, "cntlComm");
    QAction* mnuFilePrint = named<QAction>(owner, "mnuFilePrint");
    QAction* mnuFileExit = named<QAction>(owner, "mnuFileExit");
};

// A loaded main window whose settings file lives in a folder of its own, so
// tests running side by side never share one. `ini` is the file's content
// before start-up; null for no file at all.
class LoadedForm {
public:
    explicit LoadedForm(const QByteArray& ini = QByteArray());
    ~LoadedForm();

    frmMain& operator*() { return *m_form; }
    frmMain* operator->() { return m_form.get(); }
    QString IniPath() const;
    QByteArray IniContent() const;
    // Shows the window and makes it the active one, as a user meets it.
    bool ShowActive();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmMain> m_form;

public:
    Controls ui;
};

// How many pixels of the drawing have exactly this colour.
int CountColour(Drawing& drawing, const QColor& colour);

// Descriptors this process holds open now.
int OpenDescriptors();

// Answers every modal message box that opens, remembering its title and text;
// it looks for one every `interval`.
class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(std::chrono::milliseconds interval = std::chrono::milliseconds(5));
    ~MessageBoxCatcher();
    QStringList texts;
    QStringList titles;

private:
    class QTimer* m_timer;
};
