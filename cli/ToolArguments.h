#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The command line of vantrel-scan, parsed without touching anything:
//   vantrel-scan [--port COMn|DEVICE] [--band BAND] [--csv FILE] [--s1p FILE]
//                [--png FILE] [--json] [--timeout SECONDS] [--repeat N]
//                [--table FILE] [--match] [--smith FILE] [--target MHZ]
//   vantrel-scan report FILE [--json] [--png FILE] [--table FILE] [--match]
//                [--smith FILE] [--target MHZ]
// An option's value follows it as the next argument or after "=".
struct ToolArguments {
    enum class Command { Scan, Report, Help };

    // Com1 to Com16 as the window numbers them, or a device path.
    struct Port {
        int comNumber = 0;  // 0 for a device path
        QString device;
    };

    static constexpr double kDefaultTimeoutSeconds = 30;
    // Timers count milliseconds in an int.
    static constexpr double kMaxTimeoutSeconds = 2000000;
    static constexpr int kMaxRepeat = 1000000;

    Command command = Command::Scan;
    std::optional<Port> port;  // none: the port the window remembers
    int bandRow = 0;
    QString csvFile;  // empty: none
    QString s1pFile;
    QString pngFile;
    bool json = false;
    double timeoutSeconds = kDefaultTimeoutSeconds;  // 0 waits for ever
    std::optional<int> repeat;  // given: that many sweeps (0 until stopped), files numbered
    QString reportFile;
    QString tableFile;  // every point with its derived figures
    bool match = false;
    QString smithFile;
    std::optional<double> targetHz;  // the point of interest, given in MHz

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
