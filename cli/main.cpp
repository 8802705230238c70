#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <clocale>
#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "cli/ScanTool.h"
#include "platform/runtime/AppInfo.h"

namespace {

// The toolkit's own notes (no runtime folder, fonts substituted) mean
// nothing to someone scripting sweeps; only its fatal errors get through.
void quietToolkit(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Whether stderr shows the progress line: a terminal. The line clears itself
// with an ANSI sequence, which a Windows console carries out only in its
// virtual-terminal mode; a console without that mode gets no progress line.
bool progressTerminal() {
#ifdef Q_OS_WIN
    if (::_isatty(::_fileno(stderr)) == 0) return false;
    const HANDLE console = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    return ::GetConsoleMode(console, &mode) &&
           ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    // Images are drawn off any screen: the tool runs where there is no
    // display at all, over ssh or from cron, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
    // Off screen, the toolkit reads font files from a folder, which on
    // Windows is the system's own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", QFile::encodeName(qEnvironmentVariable("SystemRoot") + "/Fonts"));
#endif
    qInstallMessageHandler(quietToolkit);
    // The toolkit sees no argument of ours, so none is taken for its own.
    int toolkitArgc = 1;
    QGuiApplication app(toolkitArgc, argv);
    QGuiApplication::setApplicationName(AppInfo::Title());
    // Numbers read and print with "." whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    // The window beside the tool: its Vantrel.ini names the devices of Com1
    // to Com16 and the port it remembers.
    const QString folder = QCoreApplication::applicationDirPath();
    AppInfo::SetLocation(folder, QStringLiteral("Vantrel"));
    ScanTool tool(folder, progressTerminal());
    return tool.Run(arguments);
}
