#include "cli/ToolArguments.h"

#include <QRegularExpression>
#include <algorithm>

#include "bands/BandTable.h"
#include "core/NumberText.h"
#include "settings/PortSetting.h"

namespace {

std::optional<int> countUpTo(const QString& text, int max) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch()) return std::nullopt;
    const int value = text.toInt();
    return value <= max ? std::optional<int>(value) : std::nullopt;
}

// The options that take a number above a least one.
struct NumberOption {
    const char* name;
    double above;
    const char* what;
    double unit;  // what one of the given number is in the unit kept
    std::optional<double> SweepAnalyses::*kept;
};

constexpr NumberOption kNumberOptions[] = {
    {"--dips", 1, "an SWR above 1", 1, &SweepAnalyses::dipsThreshold},
    {"--target", 0, "MHz above 0", 1e6, &SweepAnalyses::targetHz},
    {"--length", 0, "metres above 0", 1, &SweepAnalyses::lengthM},
};

const NumberOption* numberOption(const QString& name) {
    for (const NumberOption& option : kNumberOptions) {
        if (name == QLatin1String(option.name)) return &option;
    }
    return nullptr;
}

}  // namespace

std::optional<int> ToolArguments::BandRow(const QString& text) {
    const QString wanted = text.trimmed();
    if (const auto row = countUpTo(wanted, int(BandTable.size()) - 1)) return row;
    for (std::size_t row = 0; row < BandTable.size(); ++row) {
        if (QString::fromLatin1(BandTable[row].name)
                .trimmed()
                .compare(wanted, Qt::CaseInsensitive) == 0)
            return int(row);
    }
    return std::nullopt;
}

std::optional<ToolArguments::Port> ToolArguments::PortNamed(const QString& text) {
    static const QRegularExpression comName(QStringLiteral("^com([0-9]+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (text.isEmpty()) return std::nullopt;
    const QRegularExpressionMatch match = comName.match(text);
    if (!match.hasMatch()) return Port{0, text};
    const auto number = countUpTo(match.captured(1), PortSetting::kPortCount);
    if (!number || *number < 1) return std::nullopt;
    return Port{*number, QString()};
}

std::optional<ToolArguments> ToolArguments::Parse(const QStringList& arguments, QString* error) {
    const auto fail = [error](const QString& what) {
        *error = what;
        return std::nullopt;
    };
    ToolArguments parsed;
    qsizetype i = 0;
    if (!arguments.isEmpty() && (arguments[0] == u"report" || arguments[0] == u"compare")) {
        parsed.command = arguments[0] == u"report" ? Command::Report : Command::Compare;
        ++i;
    }
    QStringList seen;
    for (; i < arguments.size(); ++i) {
        QString name = arguments[i];
        std::optional<QString> value;
        if (const qsizetype equals = name.indexOf(u'='); name.startsWith(u"--") && equals > 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (name == u"--help" || name == u"-h") {
            parsed.command = Command::Help;
            return parsed;
        }
        if (!name.startsWith(u'-') || name == u"-") {
            if (parsed.command == Command::Compare) {
                parsed.compareFiles << name;
                continue;
            }
            if (parsed.command != Command::Report || !parsed.reportFile.isEmpty())
                return fail(QStringLiteral("unexpected argument \"%1\"").arg(name));
            parsed.reportFile = name;
            continue;
        }
        static const QStringList scanOnly{QStringLiteral("--port"),     QStringLiteral("--band"),
                                          QStringLiteral("--csv"),      QStringLiteral("--s1p"),
                                          QStringLiteral("--timeout"),  QStringLiteral("--repeat"),
                                          QStringLiteral("--reference")};
        static const QStringList both{
            QStringLiteral("--png"),   QStringLiteral("--json"),   QStringLiteral("--dips"),
            QStringLiteral("--bands"), QStringLiteral("--target"), QStringLiteral("--length"),
            QStringLiteral("--table"), QStringLiteral("--match"),  QStringLiteral("--smith")};
        if (!scanOnly.contains(name) && !both.contains(name))
            return fail(QStringLiteral("unknown option %1").arg(name));
        if (parsed.command == Command::Report && scanOnly.contains(name))
            return fail(QStringLiteral("%1 is no option of report").arg(name));
        if (parsed.command == Command::Compare && name != u"--png" && name != u"--json")
            return fail(QStringLiteral("%1 is no option of compare").arg(name));
        if (seen.contains(name)) return fail(QStringLiteral("%1 given twice").arg(name));
        seen << name;
        if (name == u"--json" || name == u"--bands" || name == u"--match") {
            if (value) return fail(QStringLiteral("%1 takes no value").arg(name));
            (name == u"--json"    ? parsed.json
             : name == u"--bands" ? parsed.analyses.bands
                                  : parsed.match) = true;
            continue;
        }
        if (!value) {
            if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(u"--"))
                return fail(QStringLiteral("%1 needs a value").arg(name));
            value = arguments[++i];
        }
        if (name == u"--port") {
            parsed.port = PortNamed(*value);
            if (!parsed.port)
                return fail(
                    QStringLiteral("--port is Com1 to Com16 or a device, not \"%1\"").arg(*value));
        } else if (name == u"--band") {
            // No band's text holds a comma.
            parsed.bandRows.clear();
            for (const QString& band : value->split(u',')) {
                const auto row = BandRow(band);
                if (!row) {
                    return fail(
                        QStringLiteral("--band is a row 0 to 15 or a band such as \"20 Mtrs\", "
                                       "not \"%1\"")
                            .arg(band));
                }
                if (std::count(parsed.bandRows.begin(), parsed.bandRows.end(), *row))
                    return fail(QStringLiteral("--band names \"%1\" twice").arg(band.trimmed()));
                parsed.bandRows.push_back(*row);
            }
        } else if (name == u"--timeout") {
            const auto seconds = NumberText::Whole(value->toStdString());
            if (!seconds || *seconds < 0 || *seconds > kMaxTimeoutSeconds) {
                return fail(QStringLiteral("--timeout needs seconds from 0 to %1, not \"%2\"")
                                .arg(kMaxTimeoutSeconds)
                                .arg(*value));
            }
            parsed.timeoutSeconds = *seconds;
        } else if (name == u"--repeat") {
            parsed.repeat = countUpTo(*value, kMaxRepeat);
            if (!parsed.repeat) {
                return fail(QStringLiteral("--repeat needs a whole number from 0 to %1, not \"%2\"")
                                .arg(kMaxRepeat)
                                .arg(*value));
            }
        } else if (const NumberOption* option = numberOption(name)) {
            const auto number = NumberText::Whole(value->toStdString());
            if (!number || !(*number > option->above))
                return fail(QStringLiteral("%1 needs %2, not \"%3\"")
                                .arg(name, QLatin1String(option->what), *value));
            parsed.analyses.*option->kept = *number * option->unit;
        } else if (value->isEmpty()) {
            return fail(QStringLiteral("%1 needs a file name").arg(name));
        } else {
            (name == u"--csv"         ? parsed.csvFile
             : name == u"--s1p"       ? parsed.s1pFile
             : name == u"--reference" ? parsed.referenceFile
             : name == u"--table"     ? parsed.tableFile
             : name == u"--smith"     ? parsed.smithFile
                                      : parsed.pngFile) = *value;
        }
    }
    if (parsed.command == Command::Report && parsed.reportFile.isEmpty())
        return fail(QStringLiteral("report needs a file (.csv, .s1p or .zm340)"));
    const auto compared = parsed.compareFiles.size();
    if (parsed.command == Command::Compare && (compared < 2 || compared > kMaxCompared)) {
        return fail(QStringLiteral("compare needs 2 to %1 files (.csv, .s1p or .zm340), not %2")
                        .arg(kMaxCompared)
                        .arg(compared));
    }
    if (parsed.analyses.lengthM && !parsed.analyses.targetHz)
        return fail(QStringLiteral("--length goes with --target"));
    return parsed;
}

QString ToolArguments::Usage() {
    return QStringLiteral(
        "usage: vantrel-scan [--port COMn|DEVICE] [--band BAND[,BAND...]] [--csv FILE] [--s1p "
        "FILE]\n"
        "                    [--png FILE] [--json] [--timeout SECONDS] [--repeat N]\n"
        "                    [--dips SWR] [--bands] [--target MHZ [--length METRES]]\n"
        "                    [--reference FILE] [--table FILE] [--match] [--smith FILE]\n"
        "       vantrel-scan report FILE [--json] [--png FILE] [--dips SWR] [--bands]\n"
        "                    [--target MHZ [--length METRES]] [--table FILE] [--match]\n"
        "                    [--smith FILE]\n"
        "       vantrel-scan compare FILE FILE [FILE...] [--json] [--png FILE]\n"
        "\n"
        "Runs a sweep on the ZM-340 as the Vantrel window does, prints its\n"
        "summary (lowest SWR, resonance, 2:1 and 1.5:1 bandwidth) and keeps it in files.\n"
        "\n"
        "  --port COMn|DEVICE  Com1 to Com16 as the window maps them, or a device path;\n"
        "                      default: the port the window remembers (Vantrel.ini)\n"
        "  --band BAND         row 0 to 15 or a band list text (\"20 Mtrs\", \"VHF\");\n"
        "                      default: row 0 (1-10MHz); several, comma-separated, are\n"
        "                      swept in turn and their files named after them\n"
        "  --csv FILE          freq_hz,swr,r_ohm,x_ohm rows (zm340-sim --csv replays them)\n"
        "  --s1p FILE          Touchstone 1.1 S11, # MHz S RI R 50\n"
        "  --png FILE          the graph as the window draws it\n"
        "  --json              one JSON object per sweep on stdout\n"
        "  --timeout SECONDS   give up when nothing arrives for this long (default 30;\n"
        "                      0 waits for ever)\n"
        "  --repeat N          N sweeps back to back (0: until Ctrl-C); files get the\n"
        "                      sweep's number: x-001.csv, x-002.csv, ...\n"
        "  --dips SWR          every dip at or below this SWR (above 1; 2 and 3 are usual)\n"
        "  --bands             SWR at the edges and centre of every amateur band covered\n"
        "  --target MHZ        how much to cut to move the resonance to this frequency;\n"
        "                      with --match, the point to match is the one nearest it\n"
        "  --length METRES     the element's length, for the change in metres\n"
        "  --reference FILE    each change against this saved sweep, drawn under it\n"
        "  --table FILE        every point with return loss, rho, |Z|, phase, Q and the\n"
        "                      series L or C, for spreadsheets\n"
        "  --match             the L-networks that match the lowest SWR point (or the\n"
        "                      point nearest --target) to 50 ohms\n"
        "  --smith FILE        the impedance on a Smith chart (PNG)\n"
        "  report FILE         the summary of a saved .csv, .s1p or .zm340 file\n"
        "  compare FILE...     2 to 8 saved sweeps side by side, each against the first\n"
        "\n"
        "Exit status: 0 done, 1 a file could not be written, 2 bad arguments or an\n"
        "unreadable file, 3 the port cannot be opened, 4 no answer within the timeout,\n"
        "5 the answer broke off, 130 Ctrl-C.\n");
}
