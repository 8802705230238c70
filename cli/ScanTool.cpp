#include "cli/ScanTool.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <map>

#include "bands/BandTable.h"
#include "cli/AnalysisText.h"
#include "cli/ExitStatus.h"
#include "cli/LiveScan.h"
#include "cli/MatchText.h"
#include "cli/NumberedName.h"
#include "cli/ProgressLine.h"
#include "cli/SummaryText.h"
#include "cli/SweepImage.h"
#include "cli/ToolArguments.h"
#include "core/analysis/LMatch.h"
#include "core/analysis/SweepChange.h"
#include "core/analysis/SweepSummary.h"
#include "core/files/CsvFile.h"
#include "core/files/FigureTable.h"
#include "core/files/SweepFile.h"
#include "core/files/TouchstoneFile.h"
#include "graph/GraphPage.h"
#include "graph/SmithChart.h"
#include "platform/drawing/PngFile.h"
#include "platform/profile/SettingError.h"
#include "platform/serial/CommControl.h"
#include "settings/CSetting.h"
#include "settings/PortSetting.h"

namespace {

const QString kWindowName = QStringLiteral("Vantrel");

void print(FILE* stream, const QByteArray& text) {
    std::fputs(text.constData(), stream);
    std::fflush(stream);
}

// Written whole or not at all: a failed write leaves an earlier file as it was.
bool saveBytes(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

// A line on stderr about what the tool could not do.
void note(const QString& message) { print(stderr, ("vantrel-scan: " + message + u'\n').toUtf8()); }

QString rangeText(const Sweep& sweep) {
    return QStringLiteral("%1 - %2 MHz")
        .arg(SummaryText::Mhz(sweep.StartHz().value_or(0)),
             SummaryText::Mhz(sweep.EndHz().value_or(0)));
}

QString bandText(int row) {
    return QString::fromLatin1(BandTable[std::size_t(row)].name).trimmed();
}

}  // namespace

ScanTool::ScanTool(QString windowFolder, bool progressTerminal)
    : m_windowFolder(std::move(windowFolder)), m_progressTerminal(progressTerminal) {}

int ScanTool::Run(const QStringList& arguments) {
    QString error;
    const std::optional<ToolArguments> parsed = ToolArguments::Parse(arguments, &error);
    if (!parsed) {
        print(stderr, ("vantrel-scan: " + error + u'\n' + ToolArguments::Usage()).toUtf8());
        return ExitStatus::kUsage;
    }
    switch (parsed->command) {
        case ToolArguments::Command::Help:
            print(stdout, ToolArguments::Usage().toUtf8());
            return ExitStatus::kDone;
        case ToolArguments::Command::Report:
            return report(*parsed);
        case ToolArguments::Command::Compare:
            return compare(*parsed);
        case ToolArguments::Command::Scan:
            break;
    }
    return scan(*parsed);
}

int ScanTool::fail(int status, const QString& message) {
    note(message);
    return status;
}

std::optional<int> ScanTool::stopped() {
    if (const int signal = StopSignals::Caught()) return ExitStatus::kSignalBase + signal;
    return std::nullopt;
}

std::int16_t ScanTool::RememberedPort(const QString& windowFolder) {
    CSetting setting;
    setting.Init(windowFolder, kWindowName, 1);
    try {
        return PortSetting::Usable(setting.GetSettingInt(
            QString::fromLatin1(PortSetting::kSection), QString::fromLatin1(PortSetting::kKey), 1));
    } catch (const SettingError&) {
        return 1;  // beyond 16 bits: as unusable as any value out of range
    }
}

int ScanTool::scan(const ToolArguments& arguments) {
    // A reference that cannot be read ends the run before anything is sent.
    std::optional<SweepSummary> reference;
    if (!arguments.referenceFile.isEmpty()) {
        QString error;
        m_reference = SweepFile::Read(arguments.referenceFile, &error);
        if (!m_reference) return fail(ExitStatus::kUsage, error);
        reference = SweepSummary::Of(*m_reference);
    }
    CommControl port;
    const int comNumber =
        arguments.port ? std::max(arguments.port->comNumber, 1) : RememberedPort(m_windowFolder);
    port.SetCommPort(std::int16_t(comNumber));
    if (arguments.port) port.SetDeviceOverride(arguments.port->device);
    port.SetInputLen(0);

    ProgressLine progress(m_progressTerminal);
    LiveScan live(port, m_signals, progress);
    std::map<int, SweepSummary> previous;  // of each band
    const std::optional<int>& repeat = arguments.repeat;
    const int sweeps = repeat.value_or(1);  // 0: until stopped
    const int bands = int(arguments.bandRows.size());
    for (int n = 0; sweeps == 0 || n < sweeps * bands; ++n) {
        const int round = n / bands + 1;
        const int bandRow = arguments.bandRows[std::size_t(n % bands)];
        const LiveScan::Outcome outcome = live.Run(bandRow, arguments.timeoutSeconds);
        switch (outcome.end) {
            case LiveScan::End::Complete:
                break;
            case LiveScan::End::PortFailed:
                return fail(ExitStatus::kPortFailed, outcome.description);
            case LiveScan::End::TimedOut:
                return fail(ExitStatus::kNoAnswer,
                            QStringLiteral("nothing came from the analyzer for %1 s; the scan "
                                           "was stopped")
                                .arg(arguments.timeoutSeconds));
            case LiveScan::End::Stopped:
                return *stopped();
            case LiveScan::End::AnswerBroke:
                return fail(ExitStatus::kAnswerBroke,
                            QStringLiteral("the answer broke off: ") + outcome.description);
        }

        Sweep sweep = live.sweep();
        sweep.band = bandText(bandRow);
        const std::optional<int> number = repeat ? std::optional<int>(round) : std::nullopt;
        const auto title = [&sweep](const QString& first, const QString& last) {
            return GraphTitle(first, last, int(sweep.points.size()), QDateTime::currentDateTime(),
                              *sweep.band);
        };
        if (const int status = writeFiles(arguments, sweep, title, number)) return status;
        const SweepSummary summary = SweepSummary::Of(sweep);
        QString heading = *sweep.band;
        if (repeat) {
            const QString count = bands > 1 ? QStringLiteral("Round") : QStringLiteral("Sweep");
            heading =
                (*repeat > 0 ? QStringLiteral("%1 %2 of %3, ").arg(count).arg(round).arg(*repeat)
                             : QStringLiteral("%1 %2, ").arg(count).arg(round)) +
                heading;
        }
        const auto before = previous.find(bandRow);
        JsonText::Members change;
        if (reference) {
            change.emplace_back(
                "change", AnalysisText::ChangeJson(SweepChange::Between(summary, *reference)));
        }
        printSummary(arguments, heading, sweep, summary,
                     reference                  ? &*reference
                     : before != previous.end() ? &before->second
                                                : nullptr,
                     change);
        previous[bandRow] = summary;
    }
    return ExitStatus::kDone;
}

int ScanTool::report(const ToolArguments& arguments) {
    const QString& path = arguments.reportFile;
    QString error;
    const std::optional<Sweep> sweep = SweepFile::Read(path, &error);
    if (!sweep) return fail(ExitStatus::kUsage, error);
    const QString name = QFileInfo(path).fileName();
    const auto title = [&](const QString&, const QString&) {
        return name + QStringLiteral("   ") + rangeText(*sweep);
    };
    if (const int status = writeFiles(arguments, *sweep, title, std::nullopt)) return status;
    printSummary(arguments, path, *sweep, SweepSummary::Of(*sweep), nullptr, {});
    return ExitStatus::kDone;
}

int ScanTool::compare(const ToolArguments& arguments) {
    std::vector<Sweep> sweeps;
    QStringList names;
    for (const QString& path : arguments.compareFiles) {
        QString error;
        std::optional<Sweep> sweep = SweepFile::Read(path, &error);
        if (!sweep) return fail(ExitStatus::kUsage, error);
        sweeps.push_back(std::move(*sweep));
        names << QFileInfo(path).fileName();
    }
    if (!arguments.pngFile.isEmpty()) {
        SweepImage image(sweeps, names);
        const QImage page = image.Page(QStringLiteral("%1 - %2 MHz, %3 sweeps compared")
                                           .arg(image.FirstLabel(), image.LastLabel())
                                           .arg(sweeps.size()));
        QString error;
        if (!saveBytes(arguments.pngFile, PngFile::Encode(page), &error))
            return fail(ExitStatus::kFileNotWritten, error);
    }
    std::optional<SweepSummary> first;
    for (std::size_t i = 0; i < sweeps.size(); ++i) {
        const SweepSummary summary = SweepSummary::Of(sweeps[i]);
        const QString& path = arguments.compareFiles[qsizetype(i)];
        const std::string change =
            first ? AnalysisText::ChangeJson(SweepChange::Between(summary, *first)) : "null";
        printSummary(arguments, path, sweeps[i], summary, first ? &*first : nullptr,
                     {{"file", JsonText::String(path)}, {"change", change}});
        if (!first) first = summary;
    }
    return ExitStatus::kDone;
}

void ScanTool::printSummary(const ToolArguments& arguments, const QString& title,
                            const Sweep& sweep, const SweepSummary& summary,
                            const SweepSummary* before, const JsonText::Members& more) {
    std::optional<LMatch> match;
    if (arguments.match) {
        match = LMatch::Of(sweep, arguments.analyses.targetHz);
        if (!match) note(QStringLiteral("no points, so no match"));
    }
    if (arguments.json) {
        JsonText::Members members = AnalysisText::Json(sweep, arguments.analyses);
        if (arguments.match) members.emplace_back("match", MatchText::Json(match));
        members.insert(members.end(), more.begin(), more.end());
        print(stdout, QByteArray::fromStdString(SummaryText::Json(sweep, summary, members) + '\n'));
        return;
    }
    QString text = SummaryText::Readable(title, sweep, summary, before) +
                   AnalysisText::Readable(sweep, arguments.analyses);
    if (match) text += MatchText::Readable(*match);
    print(stdout, text.toUtf8());
}

int ScanTool::writeFiles(const ToolArguments& arguments, const Sweep& sweep,
                         const std::function<QString(const QString&, const QString&)>& imageTitle,
                         std::optional<int> number) {
    // Ctrl-C while a sweep was being kept: nothing more is written.
    if (const auto status = stopped()) return *status;
    // Several bands' files are told apart by the band's text without blanks.
    const bool tagged = arguments.bandRows.size() > 1 && sweep.band;
    const auto named = [&](const QString& path) {
        const QString name = tagged ? TaggedName(path, QString(*sweep.band).remove(u' ')) : path;
        return number ? NumberedName(name, *number) : name;
    };
    QString error;
    const auto writeImage = [&] {
        SweepImage image(sweep, m_reference ? &*m_reference : nullptr,
                         QFileInfo(arguments.referenceFile).fileName());
        const QImage page = image.Page(imageTitle(image.FirstLabel(), image.LastLabel()));
        return saveBytes(named(arguments.pngFile), PngFile::Encode(page), &error);
    };
    const auto writeSmithChart = [&] {
        if (sweep.points.empty()) {
            note(QStringLiteral("no points, so no Smith chart in %1")
                     .arg(named(arguments.smithFile)));
            return true;
        }
        const QString title = imageTitle(SummaryText::Mhz(sweep.StartHz().value_or(0)),
                                         SummaryText::Mhz(sweep.EndHz().value_or(0)));
        return saveBytes(named(arguments.smithFile),
                         PngFile::Encode(SmithChart::Image(sweep, title)), &error);
    };
    const bool written =
        (arguments.csvFile.isEmpty() ||
         saveBytes(named(arguments.csvFile), CsvFile::Write(sweep), &error)) &&
        (arguments.s1pFile.isEmpty() ||
         saveBytes(named(arguments.s1pFile), TouchstoneFile::Write(sweep), &error)) &&
        (arguments.pngFile.isEmpty() || writeImage()) &&
        (arguments.tableFile.isEmpty() ||
         saveBytes(named(arguments.tableFile), FigureTable::Write(sweep), &error)) &&
        (arguments.smithFile.isEmpty() || writeSmithChart());
    return written ? ExitStatus::kDone : fail(ExitStatus::kFileNotWritten, error);
}
