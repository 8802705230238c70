#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "FormFixture.h"

namespace {

// The Motif hint bits a window manager reads for buttons and functions.
constexpr unsigned kFuncMinimize = 0x08, kFuncMaximize = 0x10, kFuncClose = 0x20;
constexpr unsigned kDecorTitle = 0x08, kDecorMenu = 0x10, kDecorMinimize = 0x20,
                   kDecorMaximize = 0x40;

// A virtual X server on a display it chose itself, ended with the test.
class VirtualDisplay {
public:
    VirtualDisplay() {
        m_server.start(
            QStringLiteral("Xvfb"),
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
             QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
             QStringLiteral("tcp")});
        QByteArray number;
        // Xvfb prints the display's number once it accepts clients, or ends.
        while (!number.contains('\n') && m_server.state() != QProcess::NotRunning) {
            m_server.waitForReadyRead(1000);
            number += m_server.readAllStandardOutput();
        }
        if (!number.trimmed().isEmpty()) m_name = u':' + QString::fromLatin1(number.trimmed());
    }
    ~VirtualDisplay() {
        m_server.kill();
        m_server.waitForFinished();
    }
    const QString& Name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};

// What an X tool prints about the display; empty when it fails.
QString xTool(const QString& display, const QString& tool, const QStringList& arguments) {
    QProcess p;
    p.start(tool, QStringList{QStringLiteral("-display"), display} + arguments);
    p.waitForFinished(-1);
    return p.exitCode() == 0 ? QString::fromLocal8Bit(p.readAllStandardOutput()) : QString();
}

}  // namespace

TEST(WindowFrame, FlagsAskForAFixedDialogFrame) {
    LoadedForm form;
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    for (const Qt::WindowType wanted :
         {Qt::WindowTitleHint, Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint})
        EXPECT_TRUE(flags & wanted) << std::hex << wanted;
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

// The program itself on an X server: what its main window asks the window
// manager for.
TEST(WindowFrame, TheRealWindowHasNoMinimizeOrMaximizeAndAFixedSize) {
    for (const char* tool : {"Xvfb", "xwininfo", "xprop"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    }
    VirtualDisplay display;
    if (display.Name().isEmpty()) GTEST_SKIP() << "Xvfb did not start";
    // A copy in a folder of its own, so its settings file lands there.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("Vantrel"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTREL_WINDOW), program));
    QProcess window;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display.Name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    window.setProcessEnvironment(env);
    window.start(program, {});
    ASSERT_TRUE(window.waitForStarted());

    const QRegularExpression idPattern(QStringLiteral("Window id: (0x[0-9a-f]+)"));
    QString id;
    // Until the window is mapped or the program has ended; the suite's
    // time-out catches a program that does neither.
    while (id.isEmpty() && window.state() == QProcess::Running) {
        const QString info = xTool(
            display.Name(), QStringLiteral("xwininfo"),
            {QStringLiteral("-name"), QStringLiteral("ZM-340 Antenna Surveyor Control Panel")});
        id = idPattern.match(info).captured(1);
        if (id.isEmpty()) QThread::msleep(100);
    }
    if (id.isEmpty()) {
        window.kill();
        window.waitForFinished();
        GTEST_SKIP() << "the window did not appear on the virtual display: "
                     << window.readAllStandardError().toStdString();
    }
    const QString props = xTool(display.Name(), QStringLiteral("xprop"),
                                {QStringLiteral("-id"), id, QStringLiteral("_MOTIF_WM_HINTS"),
                                 QStringLiteral("WM_NORMAL_HINTS")});
    window.kill();
    window.waitForFinished();

    const QRegularExpressionMatch motif =
        QRegularExpression(
            QStringLiteral("_MOTIF_WM_HINTS\\(_MOTIF_WM_HINTS\\) = (\\w+), (\\w+), (\\w+)"))
            .match(props);
    ASSERT_TRUE(motif.hasMatch()) << props.toStdString();
    const unsigned functions = motif.captured(2).toUInt(nullptr, 0);
    const unsigned decorations = motif.captured(3).toUInt(nullptr, 0);
    EXPECT_EQ(functions & (kFuncMinimize | kFuncMaximize), 0u) << std::hex << functions;
    EXPECT_EQ(functions & kFuncClose, kFuncClose) << std::hex << functions;
    EXPECT_EQ(decorations & (kDecorMinimize | kDecorMaximize), 0u) << std::hex << decorations;
    EXPECT_EQ(decorations & (kDecorTitle | kDecorMenu), kDecorTitle | kDecorMenu)
        << std::hex << decorations;
    // Qt always offers the resize function; equal minimum and maximum sizes
    // are what keep the frame fixed.
    const QRegularExpressionMatch minimum =
        QRegularExpression(QStringLiteral("minimum size: (\\d+) by (\\d+)")).match(props);
    const QRegularExpressionMatch maximum =
        QRegularExpression(QStringLiteral("maximum size: (\\d+) by (\\d+)")).match(props);
    ASSERT_TRUE(minimum.hasMatch() && maximum.hasMatch()) << props.toStdString();
    EXPECT_EQ(minimum.captured(1), maximum.captured(1));
    EXPECT_EQ(minimum.captured(2), maximum.captured(2));
}
