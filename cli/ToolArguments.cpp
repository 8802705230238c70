#include "cli/ToolArguments.h"

#include <QRegularExpression>

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
    if (!arguments.isEmpty() && arguments[0] == u"report") {
        parsed.command = Command::Report;
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
            if (parsed.command != Command::Report || !parsed.reportFile.isEmpty())
                return fail(QStringLiteral("unexpected argument \"%1\"").arg(name));
            parsed.reportFile = name;
            continue;
        }
        static const QStringList scanOnly{QStringLiteral("--port"),    QStringLiteral("--band"),
                                          QStringLiteral("--csv"),     QStringLiteral("--s1p"),
                                          QStringLiteral("--timeout"), QStringLiteral("--repeat")};
        static const QStringList both{QStringLiteral("--png"),   QStringLiteral("--json"),
                                      QStringLiteral("--table"), QStringLiteral("--match"),
                                      QStringLiteral("--smith"), QStringLiteral("--target")};
        if (!scanOnly.contains(name) && !both.contains(name))
            return fail(QStringLiteral("unknown option %1").arg(name));
        if (parsed.command == Command::Report && scanOnly.contains(name))
            return fail(QStringLiteral("%1 is no option of report").arg(name));
        if (seen.contains(name)) return fail(QStringLiteral("%1 given twice").arg(name));
        seen << name;
        if (name == u"--json" || name == u"--match") {
            if (value) return fail(QStringLiteral("%1 takes no value").arg(name));
            (name == u"--json" ? parsed.json : parsed.match) = true;
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
            const auto row = BandRow(*value);
            if (!row) {
                return fail(QStringLiteral("--band is a row 0 to 15 or a band such as \"20 Mtrs\", "
                                           "not \"%1\"")
                                .arg(*value));
            }
            parsed.bandRow = *row;
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
        } else if (name == u"--target") {
            const auto mhz = NumberText::Whole(value->toStdString());
            if (!mhz || !(*mhz > 0))
                return fail(QStringLiteral("--target needs MHz above 0, not \"%1\"").arg(*value));
            parsed.targetHz = *mhz * 1e6;
        } else if (value->isEmpty()) {
            return fail(QStringLiteral("%1 needs a file name").arg(name));
        } else {
            (name == u"--csv"     ? parsed.csvFile
             : name == u"--s1p"   ? parsed.s1pFile
             : name == u"--table" ? parsed.tableFile
             : name == u"--smith" ? parsed.smithFile
                                  : parsed.pngFile) = *value;
        }
    }
    if (parsed.command == Command::Report && parsed.reportFile.isEmpty())
        return fail(QStringLiteral("report needs a file (.csv, .s1p or .zm340)"));
    return parsed;
}

QString ToolArguments::Usage() {
    return QStringLiteral(
        "usage: vantrel-scan [--port COMn|DEVICE] [--band BAND] [--csv FILE] [--s1p FILE]\n"
        "                    [--png FILE] [--json] [--timeout SECONDS] [--repeat N]\n"
        "                    [--table FILE] [--match] [--smith FILE] [--target MHZ]\n"
        "       vantrel-scan report FILE [--json] [--png FILE] [--table FILE] [--match]\n"
        "                    [--smith FILE] [--target MHZ]\n"
        "\n"
        "Runs a sweep on the ZM-340 as the Vantrel window does, prints its\n"
        "summary (lowest SWR, resonance, 2:1 and 1.5:1 bandwidth) and keeps it in files.\n"
        "\n"
        "  --port COMn|DEVICE  Com1 to Com16 as the window maps them, or a device path;\n"
        "                      default: the port the window remembers (Vantrel.ini)\n"
        "  --band BAND         row 0 to 15 or a band list text (\"20 Mtrs\", \"VHF\");\n"
        "                      default: row 0 (1-10MHz)\n"
        "  --csv FILE          freq_hz,swr,r_ohm,x_ohm rows (zm340-sim --csv replays them)\n"
        "  --s1p FILE          Touchstone 1.1 S11, # MHz S RI R 50\n"
        "  --png FILE          the graph as the window draws it\n"
        "  --json              one JSON object per sweep on stdout\n"
        "  --timeout SECONDS   give up when nothing arrives for this long (default 30;\n"
        "                      0 waits for ever)\n"
        "  --repeat N          N sweeps back to back (0: until Ctrl-C); files get the\n"
        "                      sweep's number: x-001.csv, x-002.csv, ...\n"
        "  --table FILE        every point with return loss, rho, |Z|, phase, Q and the\n"
        "                      series L or C, for spreadsheets\n"
        "  --match             the L-networks that match the lowest SWR point (or the\n"
        "                      point nearest --target) to 50 ohms\n"
        "  --smith FILE        the impedance on a Smith chart (PNG)\n"
        "  --target MHZ        the frequency of interest (--match: the point nearest it)\n"
        "  report FILE         the summary of a saved .csv, .s1p or .zm340 file\n"
        "\n"
        "Exit status: 0 done, 1 a file could not be written, 2 bad arguments or an\n"
        "unreadable file, 3 the port cannot be opened, 4 no answer within the timeout,\n"
        "5 the answer broke off, 130 Ctrl-C.\n");
}
