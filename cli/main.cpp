#include <unistd.h>

#include <QGuiApplication>
#include <QLocale>
#include <clocale>

#include "cli/ScanTool.h"
#include "platform/runtime/AppInfo.h"

namespace {

// The toolkit's own notes (no runtime folder, fonts substituted) mean
// nothing to someone scripting sweeps; only its fatal errors get through.
void quietToolkit(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    // Images are drawn off any screen: the tool runs where there is no
    // display at all, over ssh or from cron, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
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
    ScanTool tool(folder, ::isatty(STDERR_FILENO) == 1);
    return tool.Run(arguments);
}
