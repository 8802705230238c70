#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "sim/AnswerWriter.h"
#include "sim/MeasuredSweep.h"

namespace {

std::string antennaData(const std::string& name) {
    return VANTREL_SHARED_DIR "/antenna-data/" + name;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

}  // namespace

TEST(SimMeasuredSweep, ReadsTheMagneticLoopRecording) {
    std::string error;
    const auto sweep = MeasuredSweep::load(antennaData("magloop-20m.csv"), &error);
    ASSERT_TRUE(sweep) << error;
    ASSERT_EQ(sweep->rows().size(), 500u);
    const auto& first = sweep->rows().front();
    EXPECT_EQ(first.frequencyHz, 13650000.0);
    EXPECT_EQ(first.point.swr, 11.0467);
    EXPECT_EQ(first.point.rOhm, 5.410);
    EXPECT_EQ(first.point.xOhm, 21.986);
    EXPECT_EQ(sweep->rows().back().frequencyHz, 14350000.0);
    const Sweep answer = sweep->toSweep();
    EXPECT_EQ(answer.startUnits, 136500);
    EXPECT_EQ(answer.endUnits, 143500);
    EXPECT_EQ(answer.stepUnits, 14);  // 700 kHz over 499 gaps, rounded
}

TEST(SimMeasuredSweep, ReplayReproducesTheInstrumentsAnswerByteForByte) {
    for (const char* name : {"magloop-20m", "efhw-8band-hf", "efhw-untuned-hf", "vertical-hf-choke",
                             "lwa-dipole-ns", "slimjim-2m"}) {
        SCOPED_TRACE(name);
        std::string error;
        const auto sweep = MeasuredSweep::load(antennaData(std::string(name) + ".csv"), &error);
        ASSERT_TRUE(sweep) << error;
        const std::string expected = readFile(antennaData(std::string(name) + ".zm340"));
        ASSERT_FALSE(expected.empty());
        const std::string composed = AnswerWriter::compose(sweep->toSweep(), {});
        EXPECT_EQ(composed.size(), expected.size());
        EXPECT_TRUE(composed == expected);
        // On a mismatch, name the first differing line rather than dumping kilobytes.
        std::istringstream got(composed), want(expected);
        std::string gotLine, wantLine;
        for (int line = 1; std::getline(want, wantLine); ++line) {
            std::getline(got, gotLine);
            if (gotLine != wantLine) {
                ADD_FAILURE() << "line " << line << ": " << gotLine << " != " << wantLine;
                break;
            }
        }
    }
}

TEST(SimMeasuredSweep, AcceptsHarmlessVariations) {
    const struct {
        const char* text;
        std::size_t rows;
    } cases[] = {
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,1.5,50,0\n", 1},
        {"freq_hz,swr,r_ohm,x_ohm\r\n1000000,1.5,50,0\r\n2000000,2,25,-3.5\r\n", 2},
        {"\xEF\xBB\xBF"
         "freq_hz,swr,r_ohm,x_ohm\n1000000,1.5,50,0",
         1},
        {"\n\nfreq_hz,swr,r_ohm,x_ohm\n\n1000000, 1.5 ,50,+0\n\n", 1},
        {"freq_hz,swr,r_ohm,x_ohm\n1e6,1.5e0,5E1,-0\n", 1},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto sweep = MeasuredSweep::parse(c.text, &error);
        ASSERT_TRUE(sweep) << c.text << error;
        EXPECT_EQ(sweep->rows().size(), c.rows) << c.text;
        EXPECT_EQ(sweep->rows().front().frequencyHz, 1e6);
        EXPECT_EQ(sweep->rows().front().point.rOhm, 50.0);
    }
}

TEST(SimMeasuredSweep, RejectsMalformedTablesNamingTheLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "line 0: empty file"},
        {"freq_hz,swr,r_ohm,x_ohm\n", "line 1: no measurement rows"},
        {"1000000,1.5,50,0\n", "line 1: expected the header"},
        {"freq,swr,r,x\n1000000,1.5,50,0\n", "line 1: expected the header"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,1.5,50\n", "line 2: expected four"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,1.5,50,0,7\n", "line 2: expected four"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,1.5,50,0,\n", "line 2: expected four"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,1.5,50,0\n2000000,1.5,,0\n", "line 3: a field is not"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,1,5,50,0\n", "line 2: expected four"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,1.5x,50,0\n", "line 2: a field is not"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,inf,50,0\n", "line 2: a field is not"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,nan,50,0\n", "line 2: a field is not"},
        {"freq_hz,swr,r_ohm,x_ohm\n1000000,1e999,50,0\n", "line 2: a field is not"},
        {"freq_hz,swr,r_ohm,x_ohm\n0,1.5,50,0\n", "line 2: frequency must be positive"},
        {"freq_hz,swr,r_ohm,x_ohm\n-5,1.5,50,0\n", "line 2: frequency must be positive"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(MeasuredSweep::parse(c.text, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
    }
}

TEST(SimMeasuredSweep, MissingFileIsReported) {
    std::string error;
    EXPECT_FALSE(MeasuredSweep::load(antennaData("no-such-recording.csv"), &error));
    EXPECT_NE(error.find("no-such-recording.csv"), std::string::npos);
}
