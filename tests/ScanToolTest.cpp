#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <climits>
#include <clocale>
#include <cmath>
#include <functional>

#include "FormFixture.h"
#include "PtyAnalyzer.h"
#include "SimProcess.h"
#include "TestSweeps.h"
#include "cli/ExitStatus.h"
#include "cli/SweepImage.h"
#include "core/files/CsvFile.h"
#include "graph/GraphGeometry.h"
#include "platform/serial/CommControl.h"

namespace {

const QString kTool = QStringLiteral(VANTREL_SCAN_BINARY);
const QString kData = QStringLiteral(VANTREL_SHARED_DIR "/antenna-data/");

struct ToolRun {
    int status = -1;  // -1: crashed or killed
    QByteArray out;
    QByteArray err;
};

// Runs the tool to its end while this test's event loop serves any
// pseudo-terminal analyzer; `during` runs once the tool has started.
ToolRun runTool(const QStringList& arguments, const QString& folder = QString(),
                const std::function<void(QProcess&)>& during = {}, const QString& program = kTool) {
    QProcess tool;
    if (!folder.isEmpty()) tool.setWorkingDirectory(folder);
    QEventLoop loop;
    QObject::connect(&tool, &QProcess::finished, &loop, &QEventLoop::quit);
    tool.start(program, arguments);
    if (!tool.waitForStarted()) return {};
    if (during) during(tool);
    if (tool.state() != QProcess::NotRunning) loop.exec();
    ToolRun run;
    run.status = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = tool.readAllStandardOutput();
    run.err = tool.readAllStandardError();
    return run;
}

// A run that must do all it was asked; a failure shows the arguments and what the tool said.
ToolRun runDone(const QStringList& arguments, const QString& folder = QString()) {
    ToolRun run = runTool(arguments, folder);
    EXPECT_EQ(run.status, ExitStatus::kDone)
        << arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
    return run;
}

QJsonObject json(const QByteArray& line) { return QJsonDocument::fromJson(line).object(); }

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Round to the wire's precision the way the emulator's answer writer does.
double fixed(double value, int decimals) {
    const double rounded = QByteArray::number(value, 'f', decimals).toDouble();
    return rounded == 0 ? 0.0 : rounded;
}

bool haveDataSets() { return QFile::exists(kData + "magloop-20m.csv"); }

// The keys of a JSON line after the summary's nine, in their order.
QStringList keysAfterTheNine(const QByteArray& line) {
    QStringList keys;
    int depth = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            const qsizetype end = line.indexOf('"', i + 1);  // no key or band holds a quote
            if (depth == 1 && line.mid(end + 1, 1) == ":") keys << line.mid(i + 1, end - i - 1);
            i = end;
        }
        depth += line[i] == '{' || line[i] == '[' ? 1 : line[i] == '}' || line[i] == ']' ? -1 : 0;
    }
    return keys.mid(9);
}

QRect plotOf(const QImage& image);

// Where pixels of `colour` lie in `area` (by default the plot), and how many there are.
struct Trace {
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1, pixels = 0;
};
Trace traceOf(const QImage& image, QRgb colour, QRect area = {}) {
    area = area.isNull() ? plotOf(image) : area & image.rect();
    Trace t;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != (colour | 0xFF000000)) continue;
            t = {std::min(t.left, x), std::max(t.right, x), std::min(t.top, y),
                 std::max(t.bottom, y), t.pixels + 1};
        }
    }
    return t;
}

// The plot of a page image: the rectangle its vertical grid lines span,
// from the first frequency's to the last's.
QRect plotOf(const QImage& image) {
    QRect plot;
    for (int x = 0; x < image.width(); ++x) {
        const Trace line =
            traceOf(image, GraphGeometry::kGridColour.rgb(), QRect(x, 0, 1, image.height()));
        if (line.pixels > image.height() / 3)
            plot |= QRect(x, line.top, 1, line.bottom - line.top + 1);
    }
    return plot;
}

}  // namespace

// The loop's recording, swept through the emulator into every file the tool
// writes; the table of figures, replayed, gives the same table again.
TEST(ScanTool, MagneticLoopFromTheEmulatorKeptInEveryFileAndReplayed) {
    if (!haveDataSets()) GTEST_SKIP() << "no data sets in " << kData.toStdString();
    QTemporaryDir dir;
    SimProcess sim({"--fast", "--csv", kData + "magloop-20m.csv"});
    const ToolRun scan =
        runDone({"--port", sim.device, "--band", " 20 Mtrs", "--csv", "x.csv", "--s1p", "x.s1p",
                 "--png", "x.png", "--table", "t.csv", "--smith", "s.png", "--match", "--json"},
                dir.path());
    EXPECT_EQ(scan.err, QByteArray()) << "no progress on a pipe";
    const QJsonObject summary = json(scan.out);
    EXPECT_EQ(keysAfterTheNine(scan.out), QStringList{"match"});
    EXPECT_EQ(summary["match"]["freq_hz"], summary["min_swr_hz"]);
    EXPECT_EQ(summary["match"]["networks"].toArray().size(), 2);

    // Value for value the recording at the wire's precision, evenly spaced.
    const auto original = CsvSweep(kData + "magloop-20m.csv");
    const auto kept = CsvSweep(dir.filePath("x.csv"));
    ASSERT_TRUE(original && kept);
    ASSERT_EQ(kept->points.size(), original->points.size());
    for (std::size_t i = 0; i < kept->points.size(); ++i) {
        const Sweep::Point& o = original->points[i];
        ASSERT_EQ(kept->points[i].values,
                  (std::array{fixed(o.swr(), 2), fixed(o.rOhm(), 1), fixed(o.xOhm(), 1)}))
            << i;
        ASSERT_EQ(kept->pointHz[i], 100 * (136500 + double(i) * 7000 / 499)) << i;
    }
    EXPECT_TRUE(readFile(dir.filePath("x.s1p")).startsWith("# MHz S RI R 50\n13.65 "));
    const QImage image(dir.filePath("x.png"));
    EXPECT_GE(image.width(), 700);
    EXPECT_GT(traceOf(image, 0xFF0000, image.rect()).pixels, image.width()) << "the SWR trace";
    EXPECT_EQ(QImage(dir.filePath("s.png")).size(), QSize(800, 800));

    // The same summary from the saved table.
    QJsonObject fromFile =
        json(runDone({"report", dir.filePath("x.csv"), "--json", "--match"}).out);
    EXPECT_TRUE(fromFile["band"].isNull());
    fromFile["band"] = summary["band"];
    EXPECT_EQ(fromFile, summary);

    const QByteArray table = readFile(dir.filePath("x.csv"));
    EXPECT_EQ(CsvFile::Write(CsvSweep(dir.filePath("t.csv")).value_or(Sweep())), table);
    SimProcess replay({"--fast", "--csv", dir.filePath("t.csv")});
    runDone({"--port", replay.device, "--csv", "again.csv"}, dir.path());
    EXPECT_EQ(readFile(dir.filePath("again.csv")), table);
}

namespace {

// The window's own scan and then the tool on the analyzer at `device`, which
// answers both with the same bytes: both keep the same points, NumPoints and
// range. Those bytes saved as a recording report as the tool's live sweep.
void expectToolKeepsWhatTheWindowGot(const QString& device, const char* name,
                                     const QByteArray& recording = {}) {
    LoadedForm form;
    MessageBoxCatcher messages;
    form.ui.cntlComm->SetDeviceOverride(device);
    form.ui.btnCollectDisplayData->click();
    ASSERT_TRUE(messages.texts.isEmpty()) << name;

    QTemporaryDir dir;
    const ToolRun run = runDone({"--port", device, "--csv", "s.csv", "--json"}, dir.path());
    const QJsonObject summary = json(run.out);
    const auto kept = CsvSweep(dir.filePath("s.csv"));
    ASSERT_TRUE(kept) << name;
    const double start = form->Scan_Start.Number();
    const double end = form->Scan_End.Number();
    EXPECT_EQ(summary["start_hz"].toDouble(), 100 * start) << name;
    EXPECT_EQ(summary["end_hz"].toDouble(), 100 * end) << name;
    ASSERT_EQ(int(kept->points.size()), form->NumPoints + 1) << name;
    EXPECT_EQ(summary["points"].toInt(), form->NumPoints + 1) << name;
    const ScanData& data = form->ScanPoints();
    for (int i = 0; i <= form->NumPoints; ++i) {
        ASSERT_EQ(kept->points[std::size_t(i)].values,
                  (std::array{data(i, 0), data(i, 1), data(i, 2)}))
            << name << " point " << i;
        const double f = form->NumPoints == 0 ? start : start + i * (end - start) / form->NumPoints;
        ASSERT_EQ(kept->pointHz[std::size_t(i)], 100 * f) << name << " point " << i;
    }
    if (recording.isEmpty()) return;
    ASSERT_TRUE(writeFile(dir.filePath("s.zm340"), recording));
    QJsonObject fromFile = json(runDone({"report", dir.filePath("s.zm340"), "--json"}).out);
    EXPECT_TRUE(fromFile["band"].isNull()) << name;
    fromFile["band"] = QStringLiteral("1-10MHz");  // row 0, the tool's own choice
    EXPECT_EQ(fromFile, summary) << name;
}

}  // namespace

TEST(ScanTool, SameStreamsGiveWhatTheWindowGets) {
    QByteArray many = "S\r\n140000,143500,35\r\n";
    for (int i = 0; i < 16390; ++i)
        many += "1." + QByteArray::number(i % 97) + ",50,-" + QByteArray::number(i) + "\r\n";
    many += "E\r\n";
    const std::pair<const char*, QByteArray> streams[] = {
        {"echo and near-markers",
         "8\r\ns\r\nS \r\nhello,S\r\n140000,143500,35\r\n1.5,50,0\r\nE\r\n"},
        {"mixed framing", "S\r1\n40000,14\n3500\r35,1.\n5\r5\n0,-2\r2,3,4,E,"},
        {"letters become 0", "S\r\n 12.5abc,xyz,1\r\n 2.5x, abc ,3\r\n1e400,-7,0.25\r\nE\r\n"},
        {"no points", "S\r\n70000,73000,30\r\nE\r\n"},
        {"one point", "S\r\n70000,73000,30\r\n1.25,48.5,-3.5\r\nE\r\n"},
        {"point cut short by E", "S\r\n70000,73000,30\r\n1.1,50,1\r\n1.2,51,E\r\n"},
        {"more than the window holds", many},
        {"recorded loop", readFile(kData + "magloop-20m.zm340")},
        {"recorded slim jim", readFile(kData + "slimjim-2m.zm340")},
        {"recorded long dipole", readFile(kData + "lwa-dipole-ns.zm340")},
    };
    for (const auto& [name, stream] : streams) {
        if (stream.isEmpty()) continue;  // a data set that is not there
        PtyPair pty;
        PtyAnalyzer analyzer(pty);
        analyzer.onCommand = [&, stream = stream](const QByteArray&) { analyzer.Queue(stream); };
        expectToolKeepsWhatTheWindowGot(pty.slavePath(), name, stream);
    }

    // The emulator answers every command alike, its faults included.
    const std::pair<const char*, QStringList> emulators[] = {
        {"emulator: echo and spoilt fields",
         {"--fault", "garbage", "--junk", "8\\r\\nZM-340\\r\\n", "--points", "300"}},
        {"emulator: 16384 points and more", {"--points", "16500"}},
    };
    for (const auto& [name, arguments] : emulators) {
        SimProcess sim(QStringList{"--fast"} + arguments);
        expectToolKeepsWhatTheWindowGot(sim.device, name);
    }
}

TEST(ScanTool, EveryExitStatus) {
    QTemporaryDir dir;
    // Its fourth line stops in the middle of a point.
    ASSERT_TRUE(writeFile(dir.filePath("cut.zm340"), "S\r\n140000,143500,35\r\n1.5,50,0\r\n1.6,"));
    ASSERT_TRUE(writeFile(dir.filePath("bad.csv"), "freq_hz,swr,r_ohm,x_ohm\n1,2,3,4\n1,2,x,4\n"));
    ASSERT_TRUE(writeFile(dir.filePath("one.csv"), "freq_hz,swr,r_ohm,x_ohm\n1e6,1.5,40,10\n"));
    ASSERT_TRUE(writeFile(dir.filePath("empty.csv"), "freq_hz,swr,r_ohm,x_ohm\n"));
    const QString nowhere = "no/such/folder/x";
    // No answer, answers that stop half-way, none to the second band: all
    // time out; a complete sweep's file stays, none is written for an
    // incomplete one.
    PtyPair silent;
    SimProcess cut({"--fast", "--fault", "cut"}), noEnd({"--fast", "--fault", "no-end"});
    PtyPair firstOnly;
    PtyAnalyzer answersBand8(firstOnly);
    answersBand8.onCommand = [&](const QByteArray& command) {
        if (command.startsWith('8'))
            answersBand8.Queue("S\r\n140000,143500,35\r\n1.5,50,0\r\nE\r\n");
    };
    SimProcess sim({"--fast", "--points", "5"});
    PtyPair gone, interrupted;
    PtyAnalyzer waiting(interrupted);
    const QString waited = "nothing came from the analyzer for 0.5 s";
    using namespace ExitStatus;
    const struct {
        QStringList arguments;
        int status;
        QString err;  // what stderr holds; empty: nothing at all
        std::function<void(QProcess&)> during = {};
        QByteArray out = {};  // how stdout starts
    } cases[] = {
        {{"--frobnicate"}, kUsage, "usage: vantrel-scan"},
        {{"report", "none.csv"}, kUsage, "cannot read"},
        {{"report", "bad.csv"}, kUsage, "bad.csv, line 3: field 3"},
        {{"report", "cut.zm340"}, kUsage, "cut.zm340, line 4: the recorded answer ends before"},
        {{"report", "one.csv", "--table", nowhere}, kFileNotWritten, "cannot write"},
        {{"report", "one.csv", "--match", "--smith", nowhere}, kFileNotWritten, "cannot write"},
        // No points: no match and no Smith chart, yet done.
        {{"report", "empty.csv", "--match", "--smith", "none.png"},
         kDone,
         "no points, so no Smith chart in none.png\nvantrel-scan: no points, so no match\n"},
        {{"--port", "/dev/no-such-analyzer"},
         kPortFailed,
         "Cannot open Com1 (/dev/no-such-analyzer)"},
        // A reference that cannot be read ends the run before the port is opened.
        {{"--port", "/dev/no-such-analyzer", "--reference", "none.csv"}, kUsage, "cannot read"},
        {{"compare", "cut.zm340", "bad.csv", "--png", "c.png"}, kUsage, "cut.zm340, line 4"},
        {{"--port", silent.slavePath(), "--timeout", "0.5", "--csv", "t.csv"}, kNoAnswer, waited},
        {{"--port", cut.device, "--timeout", "0.5", "--csv", "t.csv"}, kNoAnswer, waited},
        {{"--port", noEnd.device, "--timeout", "0.5", "--csv", "t.csv"}, kNoAnswer, waited},
        {{"--port", firstOnly.slavePath(), "--band", "8,1-10MHz", "--csv", "t.csv", "--timeout",
          "0.5"},
         kNoAnswer,
         waited,
         {},
         "20 Mtrs: 14.000 - 14.350 MHz, 1 points\n"},
        // A complete sweep that cannot be kept.
        {{"--port", sim.device, "--csv", nowhere}, kFileNotWritten, "cannot write"},
        // The device goes away in the middle of the answer.
        {{"--port", gone.slavePath(), "--csv", "gone.csv"},
         kAnswerBroke,
         "the answer broke off: Cannot read from Com1",
         [&](QProcess&) {
             gone.read(3, kHangGuard);
             gone.write("S\r\n140000,143500,35\r\n1.5,50,0\r\n1.6,");
             gone.closeMaster();
         }},
        // Ctrl-C while waiting for the answer.
        {{"--port", interrupted.slavePath(), "--timeout", "0"},
         130,
         "",
         [&](QProcess& tool) {
             waiting.onCommand = [&](const QByteArray&) {
                 ::kill(pid_t(tool.processId()), SIGINT);
             };
         }},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.arguments, dir.path(), c.during);
        EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.startsWith(c.out)) << run.out.toStdString();
        EXPECT_TRUE(c.err.isEmpty() ? run.err.isEmpty() : run.err.contains(c.err.toUtf8()))
            << c.arguments.join(' ').toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("t-20Mtrs.csv")));
    for (const char* file : {"c.png", "none.png", "t.csv", "t-1-10MHz.csv", "gone.csv"})
        EXPECT_FALSE(QFile::exists(dir.filePath(file))) << file;
}

// Without --port the tool takes the port the window remembers, mapped by the
// Vantrel.ini beside it, and leaves that file exactly as it was; where there
// is none, it makes none.
TEST(ScanTool, RemembersTheWindowsPortAndNeverWritesItsFile) {
    PtyPair pty;
    PtyAnalyzer analyzer(pty);
    analyzer.onCommand = [&](const QByteArray&) { analyzer.Queue("S\r\n1,2,3\r\nE\r\n"); };
    QTemporaryDir dir;
    const QString tool = dir.filePath("vantrel-scan");
    const QString settings = dir.filePath("Vantrel.ini");
    ASSERT_TRUE(QFile::copy(kTool, tool));
    const QByteArray ini =
        "[Configuration]\r\nCommPort=3\r\n[Ports]\r\nCom3=" + pty.slavePath().toLocal8Bit() +
        "\r\n";
    ASSERT_TRUE(writeFile(settings, ini));
    const QDateTime written = QFileInfo(settings).lastModified();

    EXPECT_EQ(runTool({"--band", "3"}, dir.path(), {}, tool).status, 0);
    EXPECT_EQ(analyzer.received, "3\r\n");
    EXPECT_EQ(readFile(settings), ini);
    EXPECT_EQ(QFileInfo(settings).lastModified(), written);

    ASSERT_TRUE(QFile::remove(settings));
    runTool({"--port", pty.slavePath()}, dir.path(), {}, tool);
    EXPECT_FALSE(QFile::exists(settings));
}

TEST(ScanTool, ProgressOnlyOnATerminal) {
    SimProcess sim({"--baud", "9600", "--points", "60"});
    PtyPair terminal;
    QProcess tool;
    tool.setChildProcessModifier([fd = terminal.slaveFd()] { ::dup2(fd, STDERR_FILENO); });
    tool.start(kTool, {"--port", sim.device});
    ASSERT_TRUE(tool.waitForFinished(-1));
    EXPECT_EQ(tool.exitCode(), 0);
    const QByteArray shown = terminal.read(1 << 20, std::chrono::milliseconds(500));
    EXPECT_TRUE(shown.contains(" of 60 points")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("\r\x1b[K")) << "the line is erased at the end";
}

TEST(ScanTool, ReadsAndWritesTheSameWhateverTheLocale) {
    if (!haveDataSets()) GTEST_SKIP() << "no data sets in " << kData.toStdString();
    // Without the locale the tool would quietly run in "C" twice.
    const std::string own = std::setlocale(LC_ALL, nullptr);
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    std::setlocale(LC_ALL, own.c_str());
    if (!german)
        GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine (scripts/install-deps makes it)";
    QTemporaryDir dir;
    const QString choke = kData + "vertical-hf-choke.s1p";
    QList<QByteArray> outputs;
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locale);
        tool.setProcessEnvironment(environment);
        for (const QStringList& arguments :
             {QStringList{"report", choke, "--json"},
              QStringList{"report", choke, "--dips", "3", "--bands", "--target", "14.175",
                          "--length", "20.3", "--match", "--table", dir.filePath(locale)}}) {
            tool.start(kTool, arguments);
            ASSERT_TRUE(tool.waitForFinished(-1));
            outputs << tool.readAllStandardOutput();
        }
    }
    EXPECT_EQ(outputs[2], outputs[0]);
    EXPECT_EQ(outputs[3], outputs[1]);
    // As tests/data/trim_figures.py works out the trim; the match at the point
    // nearest the target, 3.5 + 163 * 0.0655 MHz.
    for (const char* line : {"  lowest SWR  1.09 at 12.015 MHz\n",
                             "  trim        to move 15.053 to 14.175 MHz: lengthen by 6.20 % "
                             "(1.258 m of 20.300 m)\n",
                             "  match       14.177 MHz, "})
        EXPECT_TRUE(outputs[1].contains(line)) << line << " in\n" << outputs[1].toStdString();
    EXPECT_EQ(readFile(dir.filePath("C")), readFile(dir.filePath("de_DE.UTF-8")));
}

// Before: the emulator's dipole cut for 14.15 MHz, kept as a table. After:
// cut for 14.05 MHz, swept against that table. 100 (14.05 / 14.175 - 1) =
// -0.8818 %, of 5.03 m 4.44 cm, worked out by hand; the match is at the point
// nearest the target, 14.000 + 100 * 0.350 / 200 MHz.
TEST(ScanTool, TrimMatchAndReferenceForTheEmulatorsDipole) {
    QTemporaryDir dir;
    QJsonObject before;
    {
        SimProcess sim({"--fast", "--resonance", "14.15"});
        before =
            json(runDone({"--port", sim.device, "--band", "8", "--csv", "before.csv", "--json"},
                         dir.path())
                     .out);
    }
    SimProcess sim({"--fast", "--resonance", "14.05"});
    const QStringList trim{"--port",   sim.device, "--band",   " 20 Mtrs",
                           "--target", "14.175",   "--length", "5.03"};
    const ToolRun readable = runDone(trim);
    EXPECT_TRUE(readable.out.endsWith(
        "  trim        to move 14.050 to 14.175 MHz: shorten by 0.88 % (4.4 cm of 5.030 m)\n"))
        << readable.out.toStdString();
    const ToolRun run = runDone(
        trim + QStringList{"--json", "--match", "--reference", "before.csv", "--png", "after.png"},
        dir.path());
    EXPECT_EQ(keysAfterTheNine(run.out), (QStringList{"trim", "match", "change"}));
    const QJsonObject after = json(run.out);
    EXPECT_NEAR(after["trim"]["from_hz"].toDouble(), 14050000, 500);
    EXPECT_NEAR(after["trim"]["percent"].toDouble(), -0.8818, 0.004);
    EXPECT_EQ(after["match"]["freq_hz"].toDouble(), 14175000);

    const QJsonObject change = after["change"].toObject();
    for (const char* key : {"min_swr", "min_swr_hz", "resonance_hz"})
        EXPECT_EQ(change[key].toDouble(), after[key].toDouble() - before[key].toDouble()) << key;
    const auto width = [](const QJsonObject& o) {
        return o["swr2"]["high_hz"].toDouble() - o["swr2"]["low_hz"].toDouble();
    };
    EXPECT_EQ(change["swr2_width_hz"].toDouble(), width(after) - width(before));
    EXPECT_NEAR(change["resonance_hz"].toDouble(), -100000, 1000);

    // The reference's SWR lies under the new one.
    const QImage image(dir.filePath("after.png"));
    EXPECT_GT(traceOf(image, SweepImage::kReferenceColour).pixels, image.width() / 4);
    EXPECT_GT(traceOf(image, 0xFF0000).pixels, image.width() / 4);
    // Its legend entry does not fit beside the quantities' and starts a row of its own.
    const QRect legend(0, plotOf(image).bottom() + 1, image.width(), image.height());
    EXPECT_GT(traceOf(image, SweepImage::kReferenceColour, legend).top,
              traceOf(image, 0xFF0000, legend).bottom);
}

// Three bands twice over as JSON lines with the analyses asked for; two
// bands twice over, readable, each sweep against the one before of its band,
// every file numbered and named after its band.
TEST(ScanTool, SeveralBandsInTurnEachFileNamedAfterItsBand) {
    QTemporaryDir dir;
    SimProcess sim({"--fast", "--points", "21"});
    const QList<QByteArray> lines = runDone({"--port", sim.device, "--band", "8,10, 10 Mtrs",
                                             "--repeat", "2", "--json", "--dips", "2", "--bands"})
                                        .out.trimmed()
                                        .split('\n');
    ASSERT_EQ(lines.size(), 6);
    const char* bands[] = {"20 Mtrs", "40 Mtrs", "10 Mtrs"};
    const double starts[] = {14000000, 7000000, 28000000};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(json(lines[i])["band"].toString(), bands[i % 3]) << i;
        EXPECT_EQ(json(lines[i])["start_hz"].toDouble(), starts[i % 3]) << i;
        EXPECT_EQ(keysAfterTheNine(lines[i]), (QStringList{"dips", "bands"})) << i;
    }

    const QByteArray out = runDone({"--port", sim.device, "--band", "8,VHF", "--repeat", "2",
                                    "--csv", "loop.csv", "--png", "loop", "--smith", "z.png"},
                                   dir.path())
                               .out;
    EXPECT_TRUE(out.startsWith("Round 1 of 2, 20 Mtrs: 14.000 - 14.350 MHz, 21 points\n"));
    EXPECT_EQ(out.count(" of 2, "), 4) << out.toStdString();
    // The emulator's antenna does not change between sweeps.
    EXPECT_EQ(out.count("  change      "), 2);
    EXPECT_EQ(out.count("  change      lowest SWR 0.00, moved 0.0 kHz; resonance 0.0 kHz\n"), 2)
        << out.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"loop-20Mtrs-001", "loop-20Mtrs-001.csv", "loop-20Mtrs-002",
                           "loop-20Mtrs-002.csv", "loop-VHF-001", "loop-VHF-001.csv",
                           "loop-VHF-002", "loop-VHF-002.csv", "z-20Mtrs-001.png",
                           "z-20Mtrs-002.png", "z-VHF-001.png", "z-VHF-002.png"}));
}

// efhw-8band-hf and vertical-hf-choke span 3.5 - 29.7 MHz, magloop-20m 13.65 -
// 14.35 MHz: over the union its trace lies between 38.7 % and 41.4 % of the
// others' width, also as a recorded answer, placed by its header's range.
TEST(ScanTool, CompareThreeSweepsEachTraceInItsColour) {
    if (!haveDataSets()) GTEST_SKIP() << "no data sets in " << kData.toStdString();
    QTemporaryDir dir;
    const QStringList files{kData + "efhw-8band-hf.csv", kData + "magloop-20m.zm340",
                            kData + "vertical-hf-choke.s1p"};
    const QList<QByteArray> lines =
        runDone(QStringList{"compare"} + files + QStringList{"--json", "--png", "three.png"},
                dir.path())
            .out.trimmed()
            .split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = json(lines[0]);
    EXPECT_TRUE(first["change"].isNull());
    for (int i = 0; i < 3; ++i) {
        const QJsonObject line = json(lines[i]);
        EXPECT_EQ(keysAfterTheNine(lines[i]), (QStringList{"file", "change"})) << i;
        EXPECT_EQ(line["file"].toString(), files[i]);
        if (i > 0)
            EXPECT_EQ(line["change"]["min_swr_hz"].toDouble(),
                      line["min_swr_hz"].toDouble() - first["min_swr_hz"].toDouble());
    }

    const QImage image(dir.filePath("three.png"));
    const Trace efhw = traceOf(image, SweepImage::kColours[0]);
    const Trace loop = traceOf(image, SweepImage::kColours[1]);
    const Trace vertical = traceOf(image, SweepImage::kColours[2]);
    EXPECT_EQ(SweepImage::kColours[0], kQuantities[0].colour) << "the window's SWR red";
    ASSERT_TRUE(efhw.pixels > 0 && loop.pixels > 0 && vertical.pixels > 0);
    EXPECT_NEAR(vertical.left, efhw.left, 2);
    EXPECT_NEAR(vertical.right, efhw.right, 2);
    const double width = efhw.right - efhw.left;
    EXPECT_NEAR((loop.left - efhw.left) / width, (13.65 - 3.5) / 26.2, 0.004);
    EXPECT_NEAR((loop.right - efhw.left) / width, (14.35 - 3.5) / 26.2, 0.004);
}
