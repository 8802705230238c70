#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace {

// The Motif hint bits a window manager reads for buttons and functions.
constexpr unsigned kFuncMinimize = 0x08, kFuncMaximize = 0x10, kFuncClose = 0x20;
constexpr unsigned kDecorTitle = 0x08, kDecorMenu = 0x10, kDecorMinimize = 0x20,
                   kDecorMaximize = 0x40;

// The first match of `pattern` in `text`, its groups read as numbers.
QList<unsigned> numbersIn(const QString& text, const char* pattern) {
    const QRegularExpressionMatch match = QRegularExpression(QLatin1String(pattern)).match(text);
    QList<unsigned> numbers;
    for (int i = 1; i <= match.lastCapturedIndex(); ++i)
        numbers << match.captured(i).toUInt(nullptr, 0);
    return numbers;
}

}  // namespace

// The program itself on a virtual X server: what its main window asks the
// window manager for, not the flags that should make it ask.
TEST(WindowFrame, TheRealWindowHasNoMinimizeOrMaximizeAndAFixedSize) {
    for (const char* tool : {"Xvfb", "xprop"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    }
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
                 {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QByteArray number;
    // Xvfb prints the display's number once it accepts clients, or ends.
    while (!number.contains('\n') && server.state() != QProcess::NotRunning) {
        server.waitForReadyRead(1000);
        number += server.readAllStandardOutput();
    }
    if (number.trimmed().isEmpty()) GTEST_SKIP() << "Xvfb did not start";
    const QString display = u':' + QString::fromLatin1(number.trimmed());
    // A copy in a folder of its own, so its settings file lands there.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("Vantrel"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTREL_WINDOW), program));
    QProcess window;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    window.setProcessEnvironment(env);
    window.start(program, {});
    ASSERT_TRUE(window.waitForStarted());

    // Until the window is mapped or the program has ended; the suite's
    // time-out catches a program that does neither.
    QString props;
    while (props.isEmpty() && window.state() == QProcess::Running) {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"),
                    {"-display", display, "-name", "ZM-340 Antenna Surveyor Control Panel",
                     "_MOTIF_WM_HINTS", "WM_NORMAL_HINTS"});
        xprop.waitForFinished(-1);
        if (xprop.exitCode() == 0) props = QString::fromLocal8Bit(xprop.readAllStandardOutput());
        if (props.isEmpty()) QThread::msleep(100);
    }
    window.kill();
    window.waitForFinished();
    server.kill();
    server.waitForFinished();
    if (props.isEmpty())
        GTEST_SKIP() << "the window did not appear on the virtual display: "
                     << window.readAllStandardError().toStdString();

    const QList<unsigned> motif =
        numbersIn(props, "_MOTIF_WM_HINTS\\(_MOTIF_WM_HINTS\\) = (\\w+), (\\w+), (\\w+)");
    ASSERT_EQ(motif.size(), 3) << props.toStdString();
    EXPECT_EQ(motif[1] & (kFuncMinimize | kFuncMaximize), 0u) << std::hex << motif[1];
    EXPECT_EQ(motif[1] & kFuncClose, kFuncClose) << std::hex << motif[1];
    EXPECT_EQ(motif[2] & (kDecorMinimize | kDecorMaximize), 0u) << std::hex << motif[2];
    EXPECT_EQ(motif[2] & (kDecorTitle | kDecorMenu), kDecorTitle | kDecorMenu)
        << std::hex << motif[2];
    // Qt always offers the resize function; equal minimum and maximum sizes
    // are what keep the frame fixed.
    const QList<unsigned> minimum = numbersIn(props, "minimum size: (\\d+) by (\\d+)");
    ASSERT_EQ(minimum.size(), 2) << props.toStdString();
    EXPECT_EQ(numbersIn(props, "maximum size: (\\d+) by (\\d+)"), minimum);
}
