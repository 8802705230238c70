#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <array>
#include <cmath>
#include <complex>
#include <limits>
#include <optional>

#include "TestSweeps.h"
#include "core/NumberText.h"
#include "core/files/CsvFile.h"
#include "core/files/RecordedAnswer.h"
#include "core/files/TouchstoneFile.h"

namespace {

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

}  // namespace

TEST(NumberText, ShortestTextsAndStrictFields) {
    const std::pair<double, const char*> texts[] = {{14e6, "14000000"},
                                                    {13651402.805611223, "13651402.805611223"},
                                                    {1e21, "1e+21"},
                                                    {0.1 * 3, "0.30000000000000004"},
                                                    {1e20, "100000000000000000000"},
                                                    {1e-7, "0.0000001"},
                                                    {5e-8, "5e-08"},
                                                    {-0.0, "-0"},
                                                    {0, "0"}};
    for (const auto& [value, text] : texts) EXPECT_EQ(NumberText::Shortest(value), text) << text;

    const std::pair<const char*, std::optional<double>> fields[] = {
        {" +1.5\t", 1.5}, {"-2e3", -2000}, {".5", 0.5},   {"7", 7},    {"1,5", {}}, {"0x10", {}},
        {"inf", {}},      {"nan", {}},     {"1e400", {}}, {"+-1", {}}, {"", {}},    {"1 2", {}}};
    for (const auto& [text, value] : fields) EXPECT_EQ(NumberText::Whole(text), value) << text;
}

TEST(CsvFile, EveryValueReadsBackExactly) {
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double huge = std::numeric_limits<double>::max();
    Sweep sweep;
    sweep.pointHz = {13651402.805611223, 1e20, 7000000.000000001};
    sweep.points = {{{0.1, 1.0 / 3, -2.0 / 3}}, {{99.9, tiny, -huge}}, {{1.25, -0.0, 5e-324 * 3}}};
    QString error;
    const auto back = CsvFile::Read(view(CsvFile::Write(sweep)), &error);
    ASSERT_TRUE(back) << error.toStdString();
    ASSERT_EQ(back->points.size(), sweep.points.size());
    EXPECT_EQ(back->pointHz, sweep.pointHz);
    for (std::size_t i = 0; i < sweep.points.size(); ++i) {
        const auto& a = sweep.points[i];
        const auto& b = back->points[i];
        EXPECT_EQ(a.values, b.values) << i;
        EXPECT_EQ(std::signbit(a.rOhm()), std::signbit(b.rOhm())) << i;
    }
    EXPECT_TRUE(CsvFile::Write(sweep).startsWith("freq_hz,swr,r_ohm,x_ohm\n13651402.805611223,"));
}

// A wider table (more figures per point, in any column order) reads by the
// names of its columns; a header without one of the four, or with one twice,
// is one of the faults below.
TEST(CsvFile, ColumnsAreFoundByName) {
    for (const char* text : {"freq_hz,swr,r_ohm,x_ohm,rho,q\n7e6,1.5,50,-5,0.2,\n",
                             " x_ohm , freq_hz,r_ohm,swr\n-5,7e6,50,1.5\n"}) {
        QString error;
        const auto sweep = CsvFile::Read(text, &error);
        ASSERT_TRUE(sweep && sweep->points.size() == 1) << text << error.toStdString();
        const Sweep::Point& p = sweep->points[0];
        EXPECT_EQ((std::array{sweep->pointHz[0], p.swr(), p.rOhm(), p.xOhm()}),
                  (std::array{7e6, 1.5, 50.0, -5.0}))
            << text;
    }
}

TEST(CsvFile, HeaderOnlyIsASweepWithoutPoints) {
    QString error;
    const auto record = CsvFile::Read("\357\273\277freq_hz,swr,r_ohm,x_ohm\r\n\r\n", &error);
    ASSERT_TRUE(record) << error.toStdString();
    EXPECT_TRUE(record->points.empty() && !record->StartHz() && !record->EndHz());
}

// S11 = 0.2 + 0.6j at 14 MHz, written every way the format allows (|S11| =
// sqrt 0.4, 71.565 degrees, -3.9794 dB): Z = 50 (1 + S11) / (1 - S11) = 30 + j60.
TEST(TouchstoneFile, AnyOptionLineGivesTheSameImpedance) {
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"MHz RI", "# MHz S RI R 50\n14 0.2 0.6\n"},
        {"Hz, lower case, tabs", "#\thz s ri r 50\n14000000\t0.2\t0.6\n"},
        {"kHz MA", "# KHZ S MA R 50\n14000 0.6324555320336759 71.56505117707799\n"},
        {"GHz DB", "# GHz S DB R 50\n0.014 -3.979400086720376 71.56505117707799\n"},
        {"defaults GHz MA", "! no option line\n0.014 0.6324555320336759 71.56505117707799\n"},
        {"only the first option line", "# MHz S RI R 50\n# GHz S MA R 50\n14 0.2 0.6\n"},
        {"comments and blanks", "! head\n\n# MHz S RI R 50 ! tail\n  14   +0.2 0.6 ! point\n"},
    };
    for (const auto& c : cases) {
        QString error;
        const auto record = TouchstoneFile::Read(c.text, &error);
        ASSERT_TRUE(record) << c.name << ": " << error.toStdString();
        ASSERT_EQ(record->points.size(), 1u) << c.name;
        const auto& p = record->points[0];
        EXPECT_NEAR(record->pointHz[0], 14e6, 1e-6) << c.name;
        EXPECT_NEAR(p.rOhm(), 30, 1e-9) << c.name;
        EXPECT_NEAR(p.xOhm(), 60, 1e-9) << c.name;
        EXPECT_NEAR(p.swr(), (1 + 0.6324555320336759) / (1 - 0.6324555320336759), 1e-9) << c.name;
    }
}

TEST(TouchstoneFile, SwrStopsAtTheAnalyzersCap) {
    const struct {
        double magnitude, swr;
    } cases[] = {{0, 1}, {0.5, 3}, {0.9799, 1.9799 / 0.0201}, {0.98, 99.9}, {1.2, 99.9}};
    for (const auto& c : cases) {
        const QByteArray text =
            "# MHz S MA R 50\n1 " + QByteArray::number(c.magnitude, 'g', 17) + " 90\n";
        QString error;
        const auto record = TouchstoneFile::Read(view(text), &error);
        ASSERT_TRUE(record) << error.toStdString();
        EXPECT_NEAR(record->points[0].swr(), c.swr, 1e-9) << c.magnitude;
    }
}

// Every reader's faults name their line. A recording that ends with its
// line names the line after it (one cut in the middle of a line is the tool's
// test's).
TEST(SweepFiles, FaultsNameTheirLine) {
    using Reader = std::optional<Sweep> (*)(std::string_view, QString*);
    const Reader csv = CsvFile::Read, s1p = TouchstoneFile::Read;
    const Reader zm340 = [](std::string_view text, QString* error) {
        return RecordedAnswer::Read(QByteArray(text.data(), qsizetype(text.size())), error);
    };
    const struct {
        Reader read;
        const char* text;
        const char* error;  // how the message starts
    } cases[] = {
        {csv, "", "line 1: no header"},
        {csv, "f,swr,r,x\n1,2,3,4\n", "line 1: expected the header"},
        {csv, "freq_hz,swr,r_ohm\n7e6,1.5,50\n", "line 1: expected the header"},
        {csv, "freq_hz,swr,r_ohm,x_ohm,swr\n7e6,1.5,50,-5,2\n", "line 1: expected the header"},
        {csv, "freq_hz,swr,r_ohm,x_ohm\n1,2,3,4\n\n1,2,3\n", "line 4: expected 4"},
        {csv, "freq_hz,swr,r_ohm,x_ohm\n1,2,3,4,5\n", "line 2: expected 4"},
        {csv, "swr,freq_hz,q,r_ohm,x_ohm\n1,2,,3\n", "line 2: expected 5"},
        {csv, "freq_hz,swr,r_ohm,x_ohm\n1,2,3,4\n1,2,abc,4\n", "line 3: field 3 (\"abc\")"},
        {csv, "freq_hz,swr,r_ohm,x_ohm\n1,\"1,5\",3,4\n", "line 2: expected 4"},
        {csv, "freq_hz,swr,r_ohm,x_ohm\n1,2,3,4x\n", "line 2: field 4"},
        {csv, "freq_hz,swr,r_ohm,x_ohm\n1,nan,3,4\n", "line 2: field 2"},
        {csv, "freq_hz,swr,r_ohm,x_ohm\n1,,3,4\n", "line 2: field 2"},
        {s1p, "! x\n# MHz Y RI R 50\n1 0 0\n", "line 2: only S parameters"},
        {s1p, "# MHz S RI R 75\n1 0 0\n", "line 1: the reference must be 50 ohms, not 75"},
        {s1p, "# MHz S XY R 50\n", "line 1: \"XY\" is no Touchstone option"},
        {s1p, "# MHz S RI R 50\n1 0 0 0 0 0 0 0 0\n", "line 2: expected a frequency"},
        {s1p, "# MHz S RI R 50\n1 0 0\n2 0 O.5\n", "line 3: \"O.5\" is not a number"},
        {s1p, "# MHz S RI R 50\n! nothing\n", "line 2: no data lines"},
        {s1p, "# MHz S RI R 50\n1 0.5 0\n2 1 0\n", "line 3: S11 = 1"},
        {s1p, "[Version] 2.0\n", "line 1: expected a frequency"},
        {zm340, "S\r\n1,2,3\r\n", "line 2: "},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(c.read(c.text, &error)) << c.text;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.error)))
            << c.text << ": " << error.toStdString();
    }
}

// The data sets' CSVs were made from the published Touchstone files, with R
// and X rounded to 3 decimals. Written back as S11, each point must land on
// the published value within what that rounding moves S11 (|dS| <=
// 100 |dZ| / |Z + 50|^2 with |dZ| <= 0.0005 * sqrt 2) plus half a unit of
// the published file's own last digit; 1 % slack for the linearisation.
TEST(TouchstoneFile, MatchesThePublishedFiles) {
    for (const char* name : {"efhw-8band-hf", "efhw-untuned-hf", "lwa-dipole-ns", "magloop-20m",
                             "slimjim-2m", "vertical-hf-choke"}) {
        const auto record = SharedSweep(name);
        QFile file(QStringLiteral(VANTREL_SHARED_DIR "/antenna-data/%1.s1p").arg(name));
        if (!record || !file.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no data set " << name;
        const QByteArray published = file.readAll();
        QString error;
        const auto ours = TouchstoneFile::ReadSamples(view(TouchstoneFile::Write(*record)), &error);
        ASSERT_TRUE(ours) << name << ": " << error.toStdString();
        const auto theirs = TouchstoneFile::ReadSamples(view(published), &error);
        ASSERT_TRUE(theirs) << name << ": " << error.toStdString();
        ASSERT_EQ(ours->size(), theirs->size()) << name;

        // The published pairs as printed, to know each one's last digit.
        const QString option = QString::fromLatin1(published).section(u'#', 1).section(u'\n', 0, 0);
        const bool ri = option.contains(QStringLiteral("RI"), Qt::CaseInsensitive);
        const bool db = option.contains(QStringLiteral("DB"), Qt::CaseInsensitive);
        const QStringList lines = QString::fromLatin1(published).split(u'\n');
        int worse = 0;
        for (std::size_t i = 0; i < ours->size(); ++i) {
            const TouchstoneFile::Sample& t = (*theirs)[i];
            const QStringList words = lines[t.line - 1].simplified().split(u' ');
            const auto halfUnit = [](const QString& number) {
                const qsizetype dot = number.indexOf(u'.');
                return 0.5 * std::pow(10.0, dot < 0 ? 0 : -(number.size() - dot - 1));
            };
            const double a = halfUnit(words[1]);
            const double b = halfUnit(words[2]);
            const double m = std::abs(t.s11);
            const double printed =
                ri ? std::hypot(a, b) : (db ? m * std::log(10.0) / 20 * a : a) + m * b * M_PI / 180;
            const auto& p = record->points[i];
            const double rounding = 100 * 0.0005 * std::sqrt(2.0) /
                                    std::norm(std::complex<double>(p.rOhm() + 50, p.xOhm()));
            worse += std::abs((*ours)[i].s11 - t.s11) > 1.01 * (printed + rounding);
            EXPECT_NEAR((*ours)[i].frequencyHz, t.frequencyHz, 1e-3) << name << " point " << i;
        }
        EXPECT_EQ(worse, 0) << name;
    }
}
