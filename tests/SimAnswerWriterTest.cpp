#include <gtest/gtest.h>

#include <QByteArrayList>
#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "core/ReceivedSweep.h"
#include "sim/AnswerWriter.h"
#include "sim/SweepSource.h"

namespace {

using Fault = AnswerWriter::Fault;

// Values the wire carries exactly: SWR to two decimals, ohms to one.
Sweep sampleSweep(int points) {
    Sweep sweep;
    sweep.header = {140000, 143500, SweepSource::MeanStep(140000, 143500, std::size_t(points))};
    for (int i = 0; i < points; ++i)
        sweep.points.push_back({{(100 + i) / 100.0, (500 + i * 10) / 10.0, (i * 5 - 100) / 10.0}});
    return sweep;
}

}  // namespace

TEST(SimAnswerWriter, FormatsLikeTheInstrument) {
    const std::pair<Sweep::Point, const char*> cases[] = {
        {{{1.0, 50.0, 0.0}}, "1.00,50.0,0.0"},
        {{{1.2345, -0.04, -0.049}}, "1.23,0.0,0.0"},  // no "-0.0"
        {{{0.004, -0.0, -0.06}}, "0.00,0.0,-0.1"},
        {{{1.125, 0.25, -0.35}}, "1.12,0.2,-0.3"},  // binary halves round to even, like printf
        {{{12345.678, 1e6, -1e6}}, "12345.68,1000000.0,-1000000.0"},
    };
    for (const auto& [point, text] : cases) EXPECT_EQ(AnswerWriter::formatPoint(point), text);
}

// What the emulator composes, the reader that the window and the tool share
// takes back value for value, after junk too; a cut answer keeps the points
// before the cut, one without its end marker all of them, and neither ends.
TEST(SimAnswerWriter, TheSharedReaderTakesBackWhatWasComposed) {
    const Sweep sweep = sampleSweep(40);
    const struct {
        const char* junk;
        Fault fault;
        std::size_t kept;
        bool complete;
    } cases[] = {{"", Fault::None, 40, true},
                 {"8\r\ns\r\nS \r\nE\r\n", Fault::None, 40, true},
                 {"", Fault::Cut, 20, false},
                 {"", Fault::NoEnd, 40, false}};
    for (const auto& c : cases) {
        const std::string composed = AnswerWriter::compose(sweep, {c.junk, c.fault, 1});
        EXPECT_EQ(composed.rfind(c.junk, 0), 0u) << "the junk comes first";
        ReceivedSweep received;
        received.Take(QString::fromStdString(composed));
        EXPECT_EQ(received.Complete(), c.complete) << int(c.fault);
        ASSERT_TRUE(received.sweep().header) << int(c.fault);
        EXPECT_EQ(received.sweep().header->end, 143500);
        ASSERT_EQ(received.sweep().points.size(), c.kept) << int(c.fault);
        for (std::size_t i = 0; i < c.kept; ++i)
            EXPECT_EQ(received.sweep().points[i].values, sweep.points[i].values) << i;
    }
}

TEST(SimAnswerWriter, GarbageSpoilsOneFieldOfSomePointsAndKeepsTheFraming) {
    const Sweep sweep = sampleSweep(200);
    std::set<std::string> answers;
    for (const std::uint32_t seed : {1u, 2u, 99u}) {
        const std::string bytes = AnswerWriter::compose(sweep, {"", Fault::Garbage, seed});
        EXPECT_EQ(bytes, AnswerWriter::compose(sweep, {"", Fault::Garbage, seed}));  // reproducible
        answers.insert(bytes);
        const auto lines = QByteArray::fromStdString(bytes).split('\n');
        ASSERT_EQ(lines.size(), 2 + 200 + 2) << seed;  // the last CR LF leaves an empty piece
        EXPECT_TRUE(lines[0] == "S\r" && lines[202] == "E\r") << seed;
        int spoiled = 0;
        for (int i = 0; i < 200; ++i) {
            // Clean fields all have digits, a spoiled one none; framing bytes and
            // markers appear nowhere but in the line end.
            const std::string line = lines[2 + i].toStdString();
            ASSERT_EQ(line.find_first_of("\r\nSE"), line.size() - 1) << line;
            const auto fields = lines[2 + i].chopped(1).split(',');
            ASSERT_EQ(fields.size(), 3) << line;
            const int bad = int(std::count_if(fields.begin(), fields.end(), [](auto& field) {
                return field.toStdString().find_first_of("0123456789") == std::string::npos;
            }));
            EXPECT_EQ(bad, line == AnswerWriter::formatPoint(sweep.points[i]) + "\r" ? 0 : 1)
                << line;
            spoiled += bad;
        }
        EXPECT_TRUE(spoiled > 10 && spoiled < 50) << spoiled;  // about one in eight
    }
    EXPECT_EQ(answers.size(), 3u);  // the seed picks the fields
}
