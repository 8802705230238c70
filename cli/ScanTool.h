#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "cli/StopSignals.h"
#include "cli/SweepRecord.h"

struct ToolArguments;
class WindowSession;

// vantrel-scan: sweeps through the Vantrel window's own scan, or reads a
// saved one, prints the summary and writes the files asked for. Run returns
// the exit status (cli/ExitStatus.h).
class ScanTool {
public:
    // `windowFolder` holds the Vantrel executable and its Vantrel.ini.
    // Progress goes to stderr only when `progressTerminal`.
    ScanTool(QString windowFolder, bool progressTerminal);

    int Run(const QStringList& arguments);

private:
    // The window, loaded out of sight; Ctrl-C stops its scans.
    std::unique_ptr<WindowSession> openSession(QString* error);
    int scan(const ToolArguments& arguments);
    int report(const ToolArguments& arguments);
    // The window's graph of `record`, by replaying it through its scan.
    int drawReplayed(WindowSession& session, const SweepRecord& record);
    // 0, or the status of the first file that could not be written.
    int writeFiles(const ToolArguments& arguments, const SweepRecord& record,
                   const WindowSession& session, const QString& imageTitle,
                   std::optional<int> number);
    int fail(int status, const QString& message);

    QString m_windowFolder;
    bool m_progressTerminal = false;
    StopSignals m_signals;
};
