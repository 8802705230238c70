#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "cli/SweepAnalyses.h"

// The command line of vantrel-scan, parsed without touching anything:
//   vantrel-scan [--port COMn|DEVICE] [--band BAND[,BAND...]] [--csv FILE] [--s1p FILE]
//                [--png FILE] [--json] [--timeout SECONDS] [--repeat N]
//                [--dips SWR] [--bands] [--target MHZ [--length METRES]] [--reference FILE]
//                [--table FILE] [--match] [--smith FILE]
//   vantrel-scan report FILE [--json] [--png FILE] [--dips SWR] [--bands] [--target MHZ ...]
//                [--table FILE] [--match] [--smith FILE]
//   vantrel-scan compare FILE FILE [FILE...] [--json] [--png FILE]
// An option's value follows it as the next argument or after "=".
struct ToolArguments {
    enum class Command { Scan, Report, Compare, Help };

    // Com1 to Com16 as the window numbers them, or a device path.
    struct Port {
        int comNumber = 0;  // 0 for a device path
        QString device;
    };

    static constexpr double kDefaultTimeoutSeconds = 30;
    // Timers count milliseconds in an int.
    static constexpr double kMaxTimeoutSeconds = 2000000;
    static constexpr int kMaxRepeat = 1000000;
    static constexpr int kMaxCompared = 8;  // traces a comparison tells apart by colour

    Command command = Command::Scan;
    std::optional<Port> port;      // none: the port the window remembers
    std::vector<int> bandRows{0};  // swept in this order, each once a round
    QString csvFile;               // empty: none
    QString s1pFile;
    QString pngFile;
    bool json = false;
    double timeoutSeconds = kDefaultTimeoutSeconds;  // 0 waits for ever
    std::optional<int> repeat;  // given: that many sweeps (0 until stopped), files numbered
    QString reportFile;
    SweepAnalyses analyses;
    QString referenceFile;     // empty: each change is against the sweep before
    QStringList compareFiles;  // two to kMaxCompared
    QString tableFile;         // every point with its derived figures
    bool match = false;
    QString smithFile;

    // The arguments after the program's name. Empty on a usage error, with
    // the reason in `error`.
    static std::optional<ToolArguments> Parse(const QStringList& arguments, QString* error);

    // A row number 0 to 15, or a band list text compared without surrounding
    // blanks and without regard to case ("20 Mtrs", "1-10mhz", "VHF").
    static std::optional<int> BandRow(const QString& text);

    // "Com1" to "Com16" in any case; any other text but "Com<number>" is a device path.
    static std::optional<Port> PortNamed(const QString& text);

    static QString Usage();
};
