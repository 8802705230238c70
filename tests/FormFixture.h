#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <ostream>

#include "app/frmMain.h"

// Failed comparisons of texts show the texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Reaches the window's private measurement array, so readout and drawing
// tests can lay out exactly the points they need, and its line reader.
class FormTestAccess {
public:
    static ScanData& Data(frmMain& form) { return form.Scan_Data; }
    static QString GetLine(frmMain& form) { return form.GetLine(); }
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

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmMain> m_form;
};

class PictureBox;
class QColor;
// How many pixels of the box's drawing have exactly this colour.
int CountColour(PictureBox& box, const QColor& colour);

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
