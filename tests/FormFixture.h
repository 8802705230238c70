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

// The window's controls, found by their names as a user's tools find them.
struct Controls {
    Controls() = default;
    explicit Controls(frmMain& form);

    PictureBox* picSWR = nullptr;
    PictureBox* grphSWRDisplay = nullptr;
    PictureBox* picRes = nullptr;
    PictureBox* picFreq = nullptr;
    QGroupBox* FrameGraph = nullptr;
    QGroupBox* FrameDP = nullptr;
    QGroupBox* FrameComm = nullptr;
    QList<QRadioButton*> OptCursor;
    ComboBox* MnComboDisplay = nullptr;
    ComboBox* MnComboFScale = nullptr;
    QLabel* LblPoints = nullptr;
    ComboBox* cmboCommPort = nullptr;
    QPushButton* btnCollectDisplayData = nullptr;
    QPushButton* btnStopCollectData = nullptr;
    QPushButton* btnExit = nullptr;
    QLabel* LblVersion = nullptr;
    QLabel* LblCredit = nullptr;
    CommControl* cntlComm = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuAboutKestrel = nullptr;
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

    Controls ui;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmMain> m_form;
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
