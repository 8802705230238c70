#include "cli/ScanTool.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

#include "app/frmMain.h"
#include "cli/CsvFile.h"
#include "cli/ExitStatus.h"
#include "cli/NumberedName.h"
#include "cli/ProgressLine.h"
#include "cli/ReplayLine.h"
#include "cli/SummaryText.h"
#include "cli/SweepSummary.h"
#include "cli/ToolArguments.h"
#include "cli/TouchstoneFile.h"
#include "cli/WindowSession.h"
#include "graph/GraphGeometry.h"
#include "link/WireFormat.h"
#include "platform/NumberRules.h"

namespace {

void print(FILE* stream, const QByteArray& text) {
    std::fputs(text.constData(), stream);
    std::fflush(stream);
}

// Written whole or not at all: a failed write leaves an earlier file as it was.
bool save(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

bool saveImage(const QString& path, const QImage& image, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit()) return true;
    *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

QString rangeText(const SweepRecord& record) {
    const auto mhz = [](double hz) { return NumberRules::formatPattern(hz / 1e6, u"#0.000"); };
    return QStringLiteral("%1 - %2 MHz")
        .arg(mhz(record.startHz.value_or(0)), mhz(record.endHz.value_or(0)));
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
        case ToolArguments::Command::Scan:
            break;
    }
    return scan(*parsed);
}

int ScanTool::fail(int status, const QString& message) {
    print(stderr, ("vantrel-scan: " + message + u'\n').toUtf8());
    return status;
}

std::unique_ptr<WindowSession> ScanTool::openSession(QString* error) {
    std::unique_ptr<WindowSession> session = WindowSession::Open(m_windowFolder, error);
    if (!session) return nullptr;
    // Every scan the window runs for us, live or replayed, stops on Ctrl-C,
    // also on one that came while the window was loading.
    QObject::connect(&m_signals, &StopSignals::Arrived, session.get(), &WindowSession::Stop);
    if (StopSignals::Caught()) session->Stop();
    return session;
}

int ScanTool::scan(const ToolArguments& arguments) {
    QString error;
    const std::unique_ptr<WindowSession> session = openSession(&error);
    if (!session) return fail(ExitStatus::kFileNotWritten, error);
    session->SelectBand(arguments.bandRow);
    if (arguments.port) {
        session->UsePort(arguments.port->comNumber > 0 ? arguments.port->comNumber : 1,
                         arguments.port->device);
    } else {
        session->UsePort(WindowSession::RememberedPort(m_windowFolder), QString());
    }

    ProgressLine progress(session->Form(), m_progressTerminal);
    std::optional<SweepSummary> previous;
    const std::optional<int>& repeat = arguments.repeat;
    const int sweeps = repeat.value_or(1);  // 0: until stopped
    for (int sweep = 1; sweeps == 0 || sweep <= sweeps; ++sweep) {
        progress.Begin();
        const WindowSession::Outcome outcome = session->Scan(arguments.timeoutSeconds);
        progress.End();
        switch (outcome.end) {
            case WindowSession::End::Complete:
                break;
            case WindowSession::End::PortFailed:
                return fail(ExitStatus::kPortFailed, outcome.description);
            case WindowSession::End::TimedOut:
                return fail(ExitStatus::kNoAnswer,
                            QStringLiteral("nothing came from the analyzer for %1 s; the scan "
                                           "was stopped")
                                .arg(arguments.timeoutSeconds));
            case WindowSession::End::Stopped:
                return ExitStatus::kSignalBase + StopSignals::Caught();
            case WindowSession::End::AnswerBroke:
            case WindowSession::End::RanOut:
                return fail(ExitStatus::kAnswerBroke,
                            QStringLiteral("the answer broke off: ") + outcome.description);
        }

        SweepRecord record = session->Record();
        record.band = session->BandText();
        const std::optional<int> number = repeat ? std::optional<int>(sweep) : std::nullopt;
        if (const int status =
                writeFiles(arguments, record, *session, session->Form().PrintTitle(), number))
            return status;
        const SweepSummary summary = SweepSummary::Of(record.points);
        QString title = *record.band;
        if (repeat) {
            title = (*repeat > 0 ? QStringLiteral("Sweep %1 of %2, ").arg(sweep).arg(*repeat)
                                 : QStringLiteral("Sweep %1, ").arg(sweep)) +
                    title;
        }
        print(stdout,
              arguments.json
                  ? QByteArray::fromStdString(SummaryText::Json(record, summary) + '\n')
                  : SummaryText::Readable(title, record, summary, previous ? &*previous : nullptr)
                        .toUtf8());
        previous = summary;
    }
    return ExitStatus::kDone;
}

int ScanTool::report(const ToolArguments& arguments) {
    const QString& path = arguments.reportFile;
    const QString kind = QFileInfo(path).suffix().toLower();
    if (kind != u"csv" && kind != u"s1p" && kind != u"zm340")
        return fail(ExitStatus::kUsage, path + QStringLiteral(": not a .csv, .s1p or .zm340 file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(ExitStatus::kUsage,
                    QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();

    QString error;
    std::unique_ptr<WindowSession> session;
    SweepRecord record;
    if (kind == u"zm340") {
        session = openSession(&error);
        if (!session) return fail(ExitStatus::kFileNotWritten, error);
        ReplayLine line(bytes);
        if (line.DevicePath().isEmpty()) return fail(ExitStatus::kPortFailed, line.Error());
        session->UsePort(1, line.DevicePath());
        const WindowSession::Outcome outcome = session->Scan(0, &line);
        if (outcome.end == WindowSession::End::RanOut) {
            const qsizetype lines = bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1);
            return fail(ExitStatus::kUsage,
                        QStringLiteral("%1, line %2: the recorded answer ends before its end "
                                       "marker \"%3\"")
                            .arg(path)
                            .arg(lines)
                            .arg(QLatin1String(WireFormat::kEndMarker.data(),
                                               qsizetype(WireFormat::kEndMarker.size()))));
        }
        if (outcome.end == WindowSession::End::Stopped)
            return ExitStatus::kSignalBase + StopSignals::Caught();
        if (outcome.end != WindowSession::End::Complete)
            return fail(ExitStatus::kAnswerBroke, outcome.description);
        record = session->Record();
    } else {
        const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
        const auto read =
            kind == u"csv" ? CsvFile::Read(text, &error) : TouchstoneFile::Read(text, &error);
        if (!read) return fail(ExitStatus::kUsage, path + QStringLiteral(", ") + error);
        record = *read;
    }

    if (!arguments.pngFile.isEmpty() && !session) {
        session = openSession(&error);
        if (!session) return fail(ExitStatus::kFileNotWritten, error);
        if (const int status = drawReplayed(*session, record)) return status;
    }
    if (session) {
        const QString title =
            QFileInfo(path).fileName() + QStringLiteral("   ") + rangeText(record);
        if (const int status = writeFiles(arguments, record, *session, title, std::nullopt))
            return status;
    }
    const SweepSummary summary = SweepSummary::Of(record.points);
    print(stdout, arguments.json
                      ? QByteArray::fromStdString(SummaryText::Json(record, summary) + '\n')
                      : SummaryText::Readable(path, record, summary).toUtf8());
    return ExitStatus::kDone;
}

int ScanTool::drawReplayed(WindowSession& session, const SweepRecord& record) {
    ReplayLine line(ReplayLine::AnswerFor(record));
    if (line.DevicePath().isEmpty()) return fail(ExitStatus::kPortFailed, line.Error());
    session.UsePort(1, line.DevicePath());
    const WindowSession::Outcome outcome = session.Scan(0, &line);
    if (outcome.end == WindowSession::End::Stopped)
        return ExitStatus::kSignalBase + StopSignals::Caught();
    if (outcome.end != WindowSession::End::Complete)
        return fail(ExitStatus::kAnswerBroke, outcome.description);
    return ExitStatus::kDone;
}

int ScanTool::writeFiles(const ToolArguments& arguments, const SweepRecord& record,
                         const WindowSession& session, const QString& imageTitle,
                         std::optional<int> number) {
    const auto named = [number](const QString& path) {
        return number ? NumberedName(path, *number) : path;
    };
    QString error;
    const bool written =
        (arguments.csvFile.isEmpty() ||
         save(named(arguments.csvFile), CsvFile::Write(record), &error)) &&
        (arguments.s1pFile.isEmpty() ||
         save(named(arguments.s1pFile), TouchstoneFile::Write(record), &error)) &&
        (arguments.pngFile.isEmpty() ||
         saveImage(named(arguments.pngFile), session.GraphImage(imageTitle), &error));
    return written ? ExitStatus::kDone : fail(ExitStatus::kFileNotWritten, error);
}
