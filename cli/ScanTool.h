#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "cli/JsonText.h"
#include "cli/StopSignals.h"
#include "core/Sweep.h"
#include "core/analysis/SweepSummary.h"

struct ToolArguments;
struct SweepSummary;

// vantrel-scan: sweeps through the analyzer as the Vantrel window does, or
// reads a saved sweep, prints the summary and writes the files asked for.
// Run returns the exit status (cli/ExitStatus.h).
class ScanTool {
public:
    // `windowFolder` holds the Vantrel window and its Vantrel.ini, which maps
    // the port numbers and remembers the port; it is only read. Progress
    // goes to stderr only when `progressTerminal`.
    ScanTool(QString windowFolder, bool progressTerminal);

    int Run(const QStringList& arguments);

    // The CommPort the window would start on, read from `windowFolder`'s
    // Vantrel.ini as its start-up reads it.
    static std::int16_t RememberedPort(const QString& windowFolder);

private:
    int scan(const ToolArguments& arguments);
    int report(const ToolArguments& arguments);
    int compare(const ToolArguments& arguments);
    // A sweep's summary on stdout, as a JSON line (then what was asked beyond
    // it, the match when asked for, then `more`) or for a person (with the
    // change since `before`).
    void printSummary(const ToolArguments& arguments, const QString& title, const Sweep& sweep,
                      const SweepSummary& summary, const SweepSummary* before,
                      const JsonText::Members& more);
    // 0, or the status of the first file that could not be written. The
    // image is drawn only when one is asked for.
    int writeFiles(const ToolArguments& arguments, const Sweep& sweep,
                   const std::function<QString(const QString&, const QString&)>& imageTitle,
                   std::optional<int> number);
    // The status that a stop signal, if one came, ends the program with.
    static std::optional<int> stopped();
    int fail(int status, const QString& message);

    QString m_windowFolder;
    bool m_progressTerminal = false;
    StopSignals m_signals;
    std::optional<Sweep> m_reference;  // --reference, drawn under each sweep
};
