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
#include <QTimer>
#include <climits>
#include <clocale>
#include <cmath>
#include <functional>

#include "FormFixture.h"
#include "PtyAnalyzer.h"
#include "SimProcess.h"
#include "cli/ComparisonImage.h"
#include "cli/ExitStatus.h"
#include "cli/SweepImage.h"
#include "core/files/CsvFile.h"
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

QJsonObject json(const QByteArray& line) { return QJsonDocument::fromJson(line).object(); }

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

std::optional<Sweep> readCsv(const QString& path) {
    const QByteArray bytes = readFile(path);
    QString error;
    return CsvFile::Read(std::string_view(bytes.constData(), std::size_t(bytes.size())), &error);
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

// The plot of a page image: the rectangle its vertical grid lines span,
// from the first frequency's to the last's.
QRect plotOf(const QImage& image) {
    QRect plot;
    for (int x = 0; x < image.width(); ++x) {
        int top = -1, bottom = -1, grey = 0;
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != QColor(150, 150, 150)) continue;
            top = top < 0 ? y : top;
            bottom = y;
            ++grey;
        }
        if (grey > image.height() / 3) plot |= QRect(x, top, 1, bottom - top + 1);
    }
    return plot;
}

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

}  // namespace

TEST(ScanTool, MagneticLoopFromTheEmulatorKeptInEveryFile) {
    if (!haveDataSets()) GTEST_SKIP() << "no data sets in " << kData.toStdString();
    QTemporaryDir dir;
    SimProcess sim({"--fast", "--csv", kData + "magloop-20m.csv"});
    const ToolRun scan = runTool({"--port", sim.device, "--band", " 20 Mtrs", "--csv", "x.csv",
                                  "--s1p", "x.s1p", "--png", "x.png", "--json"},
                                 dir.path());
    ASSERT_EQ(scan.status, ExitStatus::kDone) << scan.err.toStdString();
    EXPECT_EQ(scan.err, QByteArray()) << "no progress on a pipe";
    const QJsonObject summary = json(scan.out);
    EXPECT_EQ(summary["band"].toString(), "20 Mtrs");
    EXPECT_EQ(summary["points"].toInt(), 500);
    EXPECT_EQ(summary["start_hz"].toDouble(), 13650000);
    EXPECT_EQ(summary["end_hz"].toDouble(), 14350000);

    // Value for value the recording at the wire's precision, evenly spaced.
    const auto original = readCsv(kData + "magloop-20m.csv");
    const auto kept = readCsv(dir.filePath("x.csv"));
    ASSERT_TRUE(original && kept);
    ASSERT_EQ(kept->points.size(), original->points.size());
    for (std::size_t i = 0; i < kept->points.size(); ++i) {
        const auto& o = original->points[i];
        const auto& k = kept->points[i];
        ASSERT_EQ(k.swr(), fixed(o.swr(), 2)) << i;
        ASSERT_EQ(k.rOhm(), fixed(o.rOhm(), 1)) << i;
        ASSERT_EQ(k.xOhm(), fixed(o.xOhm(), 1)) << i;
        ASSERT_EQ(kept->pointHz[i], 100 * (136500 + double(i) * 7000 / 499)) << i;
    }
    EXPECT_TRUE(readFile(dir.filePath("x.s1p")).startsWith("# MHz S RI R 50\n13.65 "));
    const QImage image(dir.filePath("x.png"));
    EXPECT_GE(image.width(), 700);
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) red += image.pixelColor(x, y) == QColor(255, 0, 0);
    }
    EXPECT_GT(red, image.width()) << "the SWR trace";

    // The same summary from the saved table.
    const ToolRun report = runTool({"report", dir.filePath("x.csv"), "--json"});
    ASSERT_EQ(report.status, ExitStatus::kDone) << report.err.toStdString();
    QJsonObject fromFile = json(report.out);
    EXPECT_TRUE(fromFile["band"].isNull());
    fromFile["band"] = summary["band"];
    EXPECT_EQ(fromFile, summary);
}

TEST(ScanTool, TableRecordedByTheToolReplaysIntoTheSameTable) {
    if (!haveDataSets()) GTEST_SKIP() << "no data sets in " << kData.toStdString();
    QTemporaryDir dir;
    {
        SimProcess sim({"--fast", "--csv", kData + "efhw-8band-hf.csv"});
        ASSERT_EQ(runTool({"--port", sim.device, "--csv", "first.csv"}, dir.path()).status, 0);
    }
    SimProcess again({"--fast", "--csv", dir.filePath("first.csv")});
    ASSERT_EQ(runTool({"--port", again.device, "--csv", "second.csv"}, dir.path()).status, 0);
    EXPECT_EQ(readFile(dir.filePath("second.csv")), readFile(dir.filePath("first.csv")));
}

namespace {

// The window's own scan and then the tool on the analyzer at `device`, which
// answers both with the same bytes: both keep the same points, NumPoints and
// range.
void expectToolKeepsWhatTheWindowGot(const QString& device, const char* name) {
    LoadedForm form;
    MessageBoxCatcher messages;
    form.ui.cntlComm->SetDeviceOverride(device);
    form.ui.btnCollectDisplayData->click();
    ASSERT_TRUE(messages.texts.isEmpty()) << name;

    QTemporaryDir dir;
    const ToolRun run = runTool({"--port", device, "--csv", "s.csv", "--json"}, dir.path());
    ASSERT_EQ(run.status, ExitStatus::kDone) << name << ": " << run.err.toStdString();
    const QJsonObject summary = json(run.out);
    const auto kept = readCsv(dir.filePath("s.csv"));
    ASSERT_TRUE(kept) << name;
    const double start = form->Scan_Start.Number();
    const double end = form->Scan_End.Number();
    EXPECT_EQ(summary["start_hz"].toDouble(), 100 * start) << name;
    EXPECT_EQ(summary["end_hz"].toDouble(), 100 * end) << name;
    ASSERT_EQ(int(kept->points.size()), form->NumPoints + 1) << name;
    EXPECT_EQ(summary["points"].toInt(), form->NumPoints + 1) << name;
    const ScanData& data = form->ScanPoints();
    for (int i = 0; i <= form->NumPoints; ++i) {
        const auto& p = kept->points[std::size_t(i)];
        ASSERT_EQ(p.swr(), data(i, 0)) << name << " point " << i;
        ASSERT_EQ(p.rOhm(), data(i, 1)) << name << " point " << i;
        ASSERT_EQ(p.xOhm(), data(i, 2)) << name << " point " << i;
        const double f = form->NumPoints == 0 ? start : start + i * (end - start) / form->NumPoints;
        ASSERT_EQ(kept->pointHz[std::size_t(i)], 100 * f) << name << " point " << i;
    }
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
    };
    for (const auto& [name, stream] : streams) {
        if (stream.isEmpty()) continue;  // a data set that is not there
        PtyPair pty;
        PtyAnalyzer analyzer(pty);
        analyzer.onCommand = [&, stream = stream](const QByteArray&) { analyzer.Queue(stream); };
        expectToolKeepsWhatTheWindowGot(pty.slavePath(), name);
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

TEST(ScanTool, RecordedAnswerReportsAsTheLiveScan) {
    if (!haveDataSets()) GTEST_SKIP() << "no data sets in " << kData.toStdString();
    for (const char* name : {"magloop-20m", "slimjim-2m", "lwa-dipole-ns"}) {
        const QByteArray answer = readFile(kData + name + ".zm340");
        PtyPair pty;
        PtyAnalyzer analyzer(pty);
        analyzer.onCommand = [&](const QByteArray&) { analyzer.Queue(answer); };
        const ToolRun live = runTool({"--port", pty.slavePath(), "--json"});
        const ToolRun saved = runTool({"report", kData + name + ".zm340", "--json"});
        ASSERT_EQ(live.status, 0) << name << live.err.toStdString();
        ASSERT_EQ(saved.status, 0) << name << saved.err.toStdString();
        QJsonObject fromFile = json(saved.out);
        EXPECT_TRUE(fromFile["band"].isNull());
        fromFile["band"] = QStringLiteral("1-10MHz");
        EXPECT_EQ(fromFile, json(live.out)) << name;
    }
}

TEST(ScanTool, RepeatNumbersEverySweepsFiles) {
    QTemporaryDir dir;
    SimProcess sim({"--fast", "--points", "51"});
    const ToolRun run = runTool({"--port", sim.device, "--band", "VHF", "--repeat", "3", "--csv",
                                 "dipole.csv", "--png", "dipole", "--smith", "z.png"},
                                dir.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files,
              (QStringList{"dipole-001", "dipole-001.csv", "dipole-002", "dipole-002.csv",
                           "dipole-003", "dipole-003.csv", "z-001.png", "z-002.png", "z-003.png"}));
    EXPECT_EQ(run.out.count("Sweep "), 3) << run.out.toStdString();
    EXPECT_TRUE(run.out.startsWith("Sweep 1 of 3, VHF: 30.000 - 60.000 MHz, 51 points\n"));
    // The emulator's antenna does not change between sweeps.
    EXPECT_EQ(run.out.count("  change      lowest SWR 0.00, moved 0.0 kHz; resonance 0.0 kHz\n"), 2)
        << run.out.toStdString();
}

TEST(ScanTool, EveryExitStatus) {
    QTemporaryDir dir;
    // Its fourth line stops in the middle of a point.
    ASSERT_TRUE(writeFile(dir.filePath("cut.zm340"), "S\r\n140000,143500,35\r\n1.5,50,0\r\n1.6,"));
    ASSERT_TRUE(writeFile(dir.filePath("bad.csv"), "freq_hz,swr,r_ohm,x_ohm\n1,2,3,4\n1,2,x,4\n"));
    ASSERT_TRUE(writeFile(dir.filePath("one.csv"), "freq_hz,swr,r_ohm,x_ohm\n1e6,1.5,40,10\n"));
    ASSERT_TRUE(writeFile(dir.filePath("empty.csv"), "freq_hz,swr,r_ohm,x_ohm\n"));
    const QString nowhere = dir.filePath("no/such/folder/x");

    const struct {
        const char* name;
        QStringList arguments;
        int status;
        const char* err;
    } cases[] = {
        {"unknown option", {"--frobnicate"}, ExitStatus::kUsage, "usage: vantrel-scan"},
        {"report of a missing file",
         {"report", dir.filePath("none.csv")},
         ExitStatus::kUsage,
         "cannot read"},
        {"report of a bad line",
         {"report", dir.filePath("bad.csv")},
         ExitStatus::kUsage,
         "bad.csv, line 3: field 3"},
        {"report of a recorded answer cut short",
         {"report", dir.filePath("cut.zm340")},
         ExitStatus::kUsage,
         "cut.zm340, line 4: the recorded answer ends before"},
        {"table that cannot be written",
         {"report", dir.filePath("one.csv"), "--table", nowhere},
         ExitStatus::kFileNotWritten,
         "cannot write"},
        {"Smith chart that cannot be written",
         {"report", dir.filePath("one.csv"), "--match", "--smith", nowhere},
         ExitStatus::kFileNotWritten,
         "cannot write"},
        {"no points: no match, no Smith chart, yet done",
         {"report", "empty.csv", "--match", "--smith", "none.png"},
         ExitStatus::kDone,
         "no points, so no Smith chart in none.png\nvantrel-scan: no points, so no match\n"},
        {"port that does not exist",
         {"--port", "/dev/no-such-analyzer"},
         ExitStatus::kPortFailed,
         "Cannot open Com1 (/dev/no-such-analyzer)"},
        {"reference that cannot be read, before the port is opened",
         {"--port", "/dev/no-such-analyzer", "--reference", dir.filePath("none.csv")},
         ExitStatus::kUsage,
         "cannot read"},
        {"compare of a file with a bad line",
         {"compare", dir.filePath("cut.zm340"), dir.filePath("bad.csv"), "--png", "c.png"},
         ExitStatus::kUsage,
         "cut.zm340, line 4"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.arguments, dir.path());
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_TRUE(run.err.contains(c.err)) << c.name << ": " << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("c.png")));
    EXPECT_FALSE(QFile::exists(dir.filePath("none.png")));

    // No answer at all, and answers that stop half-way: all time out, and no
    // file is written for an incomplete sweep.
    {
        PtyPair silent;
        const ToolRun run = runTool(
            {"--port", silent.slavePath(), "--timeout", "0.5", "--csv", "t.csv"}, dir.path());
        EXPECT_EQ(run.status, ExitStatus::kNoAnswer);
        EXPECT_TRUE(run.err.contains("nothing came from the analyzer for 0.5 s"));
    }
    for (const char* fault : {"cut", "no-end"}) {
        SimProcess sim({"--fast", "--fault", fault});
        const ToolRun run =
            runTool({"--port", sim.device, "--timeout", "0.5", "--csv", "t.csv"}, dir.path());
        EXPECT_EQ(run.status, ExitStatus::kNoAnswer) << fault;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("t.csv")));

    // The device goes away in the middle of the answer.
    {
        PtyPair pty;
        const ToolRun run =
            runTool({"--port", pty.slavePath(), "--csv", "gone.csv"}, dir.path(), [&](QProcess&) {
                pty.read(3, std::chrono::seconds(60));
                pty.write("S\r\n140000,143500,35\r\n1.5,50,0\r\n1.6,");
                pty.closeMaster();
            });
        EXPECT_EQ(run.status, ExitStatus::kAnswerBroke);
        EXPECT_TRUE(run.err.contains("the answer broke off: Cannot read from Com1"))
            << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("gone.csv")));
    }

    // Ctrl-C while waiting for the answer.
    {
        PtyPair pty;
        PtyAnalyzer analyzer(pty);
        const ToolRun run =
            runTool({"--port", pty.slavePath(), "--timeout", "0"}, dir.path(), [&](QProcess& tool) {
                analyzer.onCommand = [&](const QByteArray&) {
                    ::kill(pid_t(tool.processId()), SIGINT);
                };
            });
        EXPECT_EQ(run.status, 130);
        EXPECT_EQ(run.err, QByteArray());
    }

    // A sweep that cannot be kept.
    SimProcess sim({"--fast", "--points", "5"});
    const ToolRun run =
        runTool({"--port", sim.device, "--csv", dir.filePath("no/such/folder/x.csv")});
    EXPECT_EQ(run.status, ExitStatus::kFileNotWritten);
    EXPECT_TRUE(run.err.contains("cannot write")) << run.err.toStdString();
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
    ASSERT_TRUE(QFile::copy(kTool, tool));
    const QByteArray ini =
        "[Configuration]\r\nCommPort=3\r\n[Ports]\r\nCom3=" + pty.slavePath().toLocal8Bit() +
        "\r\n";
    ASSERT_TRUE(writeFile(dir.filePath("Vantrel.ini"), ini));
    const QDateTime written = QFileInfo(dir.filePath("Vantrel.ini")).lastModified();

    const ToolRun run = runTool({"--band", "3"}, dir.path(), {}, tool);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(analyzer.received, "3\r\n");
    EXPECT_EQ(readFile(dir.filePath("Vantrel.ini")), ini);
    EXPECT_EQ(QFileInfo(dir.filePath("Vantrel.ini")).lastModified(), written);

    ASSERT_TRUE(QFile::remove(dir.filePath("Vantrel.ini")));
    runTool({"--port", pty.slavePath()}, dir.path(), {}, tool);
    EXPECT_FALSE(QFile::exists(dir.filePath("Vantrel.ini")));
}

TEST(ScanTool, ProgressOnlyOnATerminal) {
    SimProcess sim({"--baud", "9600", "--points", "60"});
    PtyPair terminal;
    const int stderrEnd = terminal.slaveFd();
    QProcess tool;
    tool.setChildProcessModifier([stderrEnd] { ::dup2(stderrEnd, STDERR_FILENO); });
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
    QStringList outputs;
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locale);
        tool.setProcessEnvironment(environment);
        for (const QStringList& arguments :
             {QStringList{"report", kData + "vertical-hf-choke.s1p"},
              QStringList{"report", kData + "vertical-hf-choke.s1p", "--json"},
              QStringList{"report", kData + "vertical-hf-choke.s1p", "--match", "--table",
                          dir.filePath(locale)}}) {
            tool.start(kTool, arguments);
            ASSERT_TRUE(tool.waitForFinished(-1));
            outputs << QString::fromUtf8(tool.readAllStandardOutput());
        }
    }
    ASSERT_EQ(outputs.size(), 6);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(outputs[k], outputs[k + 3]);
    EXPECT_TRUE(outputs[2].contains("  match       12.015 MHz")) << outputs[2].toStdString();
    EXPECT_EQ(readFile(dir.filePath("C")), readFile(dir.filePath("de_DE.UTF-8")));
    EXPECT_TRUE(outputs[0].contains("lowest SWR  1.09 at 12.015 MHz")) << outputs[0].toStdString();
}

// The emulator's dipole is cut for 14.05 MHz: 100 (14.05 / 14.175 - 1) =
// -0.8818 %, of 5.03 m 4.44 cm, worked out by hand.
TEST(ScanTool, TrimAdviceForTheEmulatorsDipole) {
    SimProcess sim({"--fast", "--resonance", "14.05"});
    const QStringList trim{"--port",   sim.device, "--band",   " 20 Mtrs",
                           "--target", "14.175",   "--length", "5.03"};
    const ToolRun readable = runTool(trim);
    EXPECT_TRUE(readable.out.endsWith(
        "  trim        to move 14.050 to 14.175 MHz: shorten by 0.88 % (4.4 cm of 5.030 m)\n"))
        << readable.out.toStdString();
    const ToolRun run = runTool(trim + QStringList{"--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(keysAfterTheNine(run.out), QStringList{"trim"});
    const QJsonObject advice = json(run.out)["trim"].toObject();
    EXPECT_NEAR(advice["from_hz"].toDouble(), 14050000, 500);
    EXPECT_NEAR(advice["percent"].toDouble(), -0.8818, 0.004);
}

TEST(ScanTool, SeveralBandsInTurnEachFileNamedAfterItsBand) {
    QTemporaryDir dir;
    {
        SimProcess sim({"--fast", "--points", "21"});
        const ToolRun run = runTool({"--port", sim.device, "--band", "8,10, 10 Mtrs", "--repeat",
                                     "2", "--csv", "loop.csv", "--json", "--dips", "2", "--bands"},
                                    dir.path());
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QList<QByteArray> lines = run.out.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 6);
        const char* bands[] = {"20 Mtrs", "40 Mtrs", "10 Mtrs"};
        const double starts[] = {14000000, 7000000, 28000000};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(json(lines[i])["band"].toString(), bands[i % 3]) << i;
            EXPECT_EQ(json(lines[i])["start_hz"].toDouble(), starts[i % 3]) << i;
            EXPECT_EQ(keysAfterTheNine(lines[i]), (QStringList{"dips", "bands"})) << i;
        }
        EXPECT_EQ(
            QDir(dir.path()).entryList(QDir::Files, QDir::Name),
            (QStringList{"loop-10Mtrs-001.csv", "loop-10Mtrs-002.csv", "loop-20Mtrs-001.csv",
                         "loop-20Mtrs-002.csv", "loop-40Mtrs-001.csv", "loop-40Mtrs-002.csv"}));
    }
    // The second band is never answered: the run ends as a single sweep
    // would, and the first band's file stays.
    PtyPair pty;
    PtyAnalyzer analyzer(pty);
    analyzer.onCommand = [&](const QByteArray& command) {
        if (command.startsWith('8')) analyzer.Queue("S\r\n140000,143500,35\r\n1.5,50,0\r\nE\r\n");
    };
    const ToolRun run = runTool(
        {"--port", pty.slavePath(), "--band", "8,1-10MHz", "--csv", "x.csv", "--timeout", "0.5"},
        dir.path());
    EXPECT_EQ(run.status, ExitStatus::kNoAnswer);
    EXPECT_TRUE(run.out.startsWith("20 Mtrs: 14.000 - 14.350 MHz, 1 points\n"));
    EXPECT_TRUE(QFile::exists(dir.filePath("x-20Mtrs.csv")));
    EXPECT_FALSE(QFile::exists(dir.filePath("x-1-10MHz.csv")));
}

// Before: the emulator's dipole cut for 14.0 MHz, kept as a table; after: cut
// for 14.1 MHz, swept against that table.
TEST(ScanTool, ReferenceGivesTheChangeAndLiesUnderTheNewSweep) {
    QTemporaryDir dir;
    QJsonObject before;
    {
        SimProcess sim({"--fast", "--resonance", "14.0"});
        const ToolRun run = runTool(
            {"--port", sim.device, "--band", "8", "--csv", "before.csv", "--json"}, dir.path());
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        before = json(run.out);
    }
    SimProcess sim({"--fast", "--resonance", "14.1"});
    const ToolRun run = runTool({"--port", sim.device, "--band", "8", "--reference", "before.csv",
                                 "--png", "after.png", "--json"},
                                dir.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(keysAfterTheNine(run.out), QStringList{"change"});
    const QJsonObject after = json(run.out);
    const QJsonObject change = after["change"].toObject();
    for (const char* key : {"min_swr", "min_swr_hz", "resonance_hz"})
        EXPECT_EQ(change[key].toDouble(), after[key].toDouble() - before[key].toDouble()) << key;
    const auto width = [](const QJsonObject& o) {
        return o["swr2"]["high_hz"].toDouble() - o["swr2"]["low_hz"].toDouble();
    };
    EXPECT_EQ(change["swr2_width_hz"].toDouble(), width(after) - width(before));
    EXPECT_NEAR(change["resonance_hz"].toDouble(), 100000, 1000);

    const QImage image(dir.filePath("after.png"));
    const Trace reference = traceOf(image, SweepImage::kReferenceColour);
    const Trace swr = traceOf(image, 0xFF0000);
    EXPECT_GT(reference.pixels, image.width() / 4) << "the reference's SWR";
    EXPECT_GT(swr.pixels, image.width() / 4) << "the new SWR, over it";
    // Its legend entry does not fit beside the quantities' and starts a row of its own.
    const QRect legend(0, plotOf(image).bottom() + 1, image.width(), image.height());
    EXPECT_GT(traceOf(image, SweepImage::kReferenceColour, legend).top,
              traceOf(image, 0xFF0000, legend).bottom);
}

// efhw-8band-hf and vertical-hf-choke span 3.5 - 29.7 MHz, magloop-20m 13.65 -
// 14.35 MHz: over the union its trace lies between 38.7 % and 41.4 % of the
// others' width, also as a recorded answer, placed by its header's range.
TEST(ScanTool, CompareThreeSweepsEachTraceInItsColour) {
    if (!haveDataSets()) GTEST_SKIP() << "no data sets in " << kData.toStdString();
    QTemporaryDir dir;
    const QStringList files{kData + "efhw-8band-hf.csv", kData + "magloop-20m.zm340",
                            kData + "vertical-hf-choke.s1p"};
    const ToolRun run = runTool(
        QStringList{"compare"} + files + QStringList{"--json", "--png", "three.png"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = json(lines[0]);
    EXPECT_TRUE(first["change"].isNull());
    for (int i = 0; i < 3; ++i) {
        const QJsonObject line = json(lines[i]);
        EXPECT_EQ(keysAfterTheNine(lines[i]), (QStringList{"file", "change"})) << i;
        EXPECT_EQ(line["file"].toString(), files[i]);
        if (i > 0) {
            EXPECT_EQ(line["change"]["min_swr_hz"].toDouble(),
                      line["min_swr_hz"].toDouble() - first["min_swr_hz"].toDouble());
        }
    }

    const QImage image(dir.filePath("three.png"));
    const Trace efhw = traceOf(image, ComparisonImage::kColours[0]);
    const Trace loop = traceOf(image, ComparisonImage::kColours[1]);
    const Trace vertical = traceOf(image, ComparisonImage::kColours[2]);
    EXPECT_EQ(ComparisonImage::kColours[0], kQuantities[0].colour) << "the window's SWR red";
    ASSERT_GT(efhw.pixels, 0);
    ASSERT_GT(loop.pixels, 0);
    ASSERT_GT(vertical.pixels, 0);
    EXPECT_NEAR(vertical.left, efhw.left, 2);
    EXPECT_NEAR(vertical.right, efhw.right, 2);
    const double width = efhw.right - efhw.left;
    EXPECT_NEAR((loop.left - efhw.left) / width, (13.65 - 3.5) / 26.2, 0.004);
    EXPECT_NEAR((loop.right - efhw.left) / width, (14.35 - 3.5) / 26.2, 0.004);
}

TEST(ScanTool, TableMatchAndSmithChartOfASavedSweep) {
    if (!haveDataSets()) GTEST_SKIP() << "no data sets in " << kData.toStdString();
    QTemporaryDir dir;
    const QString loop = kData + "magloop-20m.csv";
    const ToolRun plain = runTool({"report", loop, "--json"});
    const ToolRun run = runTool(
        {"report", loop, "--json", "--table", "t.csv", "--match", "--smith", "s.png"}, dir.path());
    ASSERT_EQ(run.status, ExitStatus::kDone) << run.err.toStdString();
    EXPECT_EQ(run.err, QByteArray());
    // The nine keys as without the options, then the match.
    EXPECT_TRUE(run.out.startsWith(plain.out.chopped(2) + ", \"match\": {\"freq_hz\": "))
        << run.out.toStdString();
    const QJsonObject match = json(run.out)["match"].toObject();
    EXPECT_EQ(match["freq_hz"], json(run.out)["min_swr_hz"]);
    EXPECT_EQ(match["networks"].toArray().size(), 2);

    // The table reads back as the sweep, through report and the emulator.
    EXPECT_EQ(CsvFile::Write(readCsv(dir.filePath("t.csv")).value_or(Sweep())),
              CsvFile::Write(*readCsv(loop)));
    EXPECT_EQ(runTool({"report", dir.filePath("t.csv"), "--json"}).out, plain.out);
    const std::pair<QString, const char*> replays[] = {{loop, "from-loop.csv"},
                                                       {dir.filePath("t.csv"), "from-table.csv"}};
    for (const auto& [replayed, kept] : replays) {
        SimProcess sim({"--fast", "--csv", replayed});
        ASSERT_EQ(runTool({"--port", sim.device, "--csv", kept}, dir.path()).status, 0);
    }
    EXPECT_EQ(readFile(dir.filePath("from-table.csv")), readFile(dir.filePath("from-loop.csv")));

    const QImage chart(dir.filePath("s.png"));
    EXPECT_EQ(chart.size(), QSize(800, 800));

    // Near a target the match moves there; the readable lines follow the summary.
    const ToolRun near = runTool({"report", loop, "--match", "--target", "14.1"});
    EXPECT_TRUE(near.out.contains("  match       14.100 MHz, ")) << near.out.toStdString();
    EXPECT_EQ(near.out.count("\n              load - "), 2) << near.out.toStdString();
}
