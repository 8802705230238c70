#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sim/AnswerWriter.h"
#include "sim/MeasuredSweep.h"
#include "sim/SweepSource.h"

namespace {

std::string antennaData(const std::string& name) {
    return VANTREL_SHARED_DIR "/antenna-data/" + name;
}

}  // namespace

TEST(SimMeasuredSweep, ReplayReproducesTheInstrumentsAnswerByteForByte) {
    if (!std::filesystem::is_directory(antennaData("")))
        GTEST_SKIP() << "no recordings in " << antennaData("") << " (VANTREL_SHARED_DIR)";
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(antennaData(""))) {
        if (entry.path().extension() != ".csv") continue;
        std::string error;
        const auto measured = MeasuredSweep::load(entry.path(), &error);
        ASSERT_TRUE(measured) << error;
        std::ifstream file(std::filesystem::path(entry.path()).replace_extension(".zm340"),
                           std::ios::binary);
        const std::string expected{std::istreambuf_iterator<char>(file), {}};
        // Whatever band is asked for, the recording answers with its own range.
        const auto sweep = SweepSource(*measured).sweepFor(replayed++ % 16);
        const std::string composed = AnswerWriter::compose(*sweep, {});
        EXPECT_EQ(composed.size(), expected.size()) << entry.path();
        EXPECT_TRUE(composed == expected) << entry.path();  // EXPECT_EQ would print kilobytes
    }
    EXPECT_GE(replayed, 6);
}

TEST(SimMeasuredSweep, ParsesTolerantlyAndNamesTheFaultyLine) {
    const std::string header = "freq_hz,swr,r_ohm,x_ohm\n";
    const struct {
        std::string text;
        std::size_t rows;   // 0: rejected
        const char* error;  // how the message starts
    } cases[] = {
        {"\xEF\xBB\xBF" + header + "1000000,1.5,50,0", 1, ""},
        {"freq_hz,swr,r_ohm,x_ohm\r\n1000000,1.5,50,0\r\n2000000,2,25,-3.5\r\n", 2, ""},
        {"\n\n" + header + "\n1000000, 1.5 ,50,+0\n\n", 1, ""},
        {header + "1e6,1.5e0,5E1,-0\n", 1, ""},
        {"", 0, "line 0: empty file"},
        {header, 0, "line 1: no measurement rows"},
        {"1000000,1.5,50,0\n", 0, "line 1: expected the header"},
        {header + "1000000,1.5,50\n", 0, "line 2: expected four"},
        {header + "1000000,1.5,50,0\n2000000,1.5,,0\n", 0, "line 3: a field is not"},
        {header + "1000000,1.5x,50,0\n", 0, "line 2: a field is not"},
        {header + "1000000,nan,50,0\n", 0, "line 2: a field is not"},
        {header + "1000000,1e999,50,0\n", 0, "line 2: a field is not"},
        {header + "0,1.5,50,0\n", 0, "line 2: frequency must be positive"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto sweep = MeasuredSweep::parse(c.text, &error);
        EXPECT_EQ(sweep ? sweep->rows().size() : 0u, c.rows) << c.text << error;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
        const auto first = sweep ? sweep->rows()[0] : MeasuredSweep::Row{1e6, {0, 50, 0}};
        EXPECT_TRUE(first.frequencyHz == 1e6 && first.point.rOhm == 50) << c.text;
    }
    std::string error;
    EXPECT_FALSE(MeasuredSweep::load(antennaData("no-such-recording.csv"), &error));
    EXPECT_NE(error.find("no-such-recording.csv"), std::string::npos);
}
