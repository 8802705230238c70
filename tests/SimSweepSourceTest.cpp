#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sim/AnswerWriter.h"
#include "sim/SimBand.h"
#include "sim/SweepSource.h"

namespace {

std::string antennaData(const std::string& name) {
    return VANTREL_SHARED_DIR "/antenna-data/" + name;
}

}  // namespace

TEST(SimSweepSource, ReplayReproducesTheInstrumentsAnswerByteForByte) {
    if (!std::filesystem::is_directory(antennaData("")))
        GTEST_SKIP() << "no recordings in " << antennaData("") << " (VANTREL_SHARED_DIR)";
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(antennaData(""))) {
        if (entry.path().extension() != ".csv") continue;
        std::string error;
        const auto source = SweepSource::FromTable(entry.path(), &error);
        ASSERT_TRUE(source) << error;
        std::ifstream file(std::filesystem::path(entry.path()).replace_extension(".zm340"),
                           std::ios::binary);
        const std::string expected{std::istreambuf_iterator<char>(file), {}};
        // Whatever band is asked for, the recording answers with its own range.
        const auto sweep = source->sweepFor(replayed++ % 16);
        const std::string composed = AnswerWriter::compose(*sweep, {});
        EXPECT_EQ(composed.size(), expected.size()) << entry.path();
        EXPECT_TRUE(composed == expected) << entry.path();  // EXPECT_EQ would print kilobytes
    }
    EXPECT_GE(replayed, 6);
}

// The table is read as vantrel-scan reads it; the emulator refuses what it
// cannot put in a header, naming the file.
TEST(SimSweepSource, ATableWithoutRowsOrWithAFrequencyBelowOneIsRefused) {
    const std::string header = "freq_hz,swr,r_ohm,x_ohm\n";
    const struct {
        std::string text;
        const char* error;  // what the message holds; empty: taken
    } cases[] = {
        {"\xEF\xBB\xBF" + header + "1000000,1.5,50,0\r\n2000000,2,25,-3.5", ""},
        {header, "no measurement rows"},
        {header + "1000000,1.5x,50,0\n", "line 2: field 2"},
        {header + "1000000,1.5,50,0\n0,1.5,50,0\n", "frequency 0 is not positive"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const std::string path = QDir(dir.path()).filePath(QStringLiteral("t.csv")).toStdString();
        std::ofstream(path, std::ios::binary) << c.text;
        std::string error;
        const auto source = SweepSource::FromTable(path, &error);
        EXPECT_EQ(bool(source), *c.error == 0) << c.text << " gave " << error;
        if (*c.error) {
            EXPECT_EQ(error.rfind(path + ", ", 0), 0u) << error;
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
    std::string error;
    EXPECT_FALSE(SweepSource::FromTable(antennaData("no-such-recording.csv"), &error));
    EXPECT_NE(error.find("no-such-recording.csv"), std::string::npos);
}

TEST(SimSweepSource, ModelIsCutForTheBandAskedFor) {
    const SweepSource source(AntennaModel::Kind::HalfWaveDipole, std::nullopt, 101);
    for (int code = -1; code <= SimBand::kCount; ++code) {
        const auto sweep = source.sweepFor(code);
        ASSERT_EQ(bool(sweep), code >= 0 && code < SimBand::kCount) << code;
        if (!sweep) continue;
        ASSERT_EQ(sweep->points.size(), 101u);
        // Resonant in the middle: capacitive below, inductive above.
        EXPECT_LT(sweep->points[50].swr(), 1.5) << code;
        EXPECT_TRUE(sweep->points.front().xOhm() < 0 && sweep->points.back().xOhm() > 0) << code;
    }
    // One 40 m dipole looked at on 20 m: near a full wave, hopelessly matched.
    const auto mismatched = SweepSource(AntennaModel::Kind::HalfWaveDipole, 7.1e6, 11).sweepFor(8);
    for (const auto& point : mismatched->points) EXPECT_GT(point.swr(), 10.0);
}
