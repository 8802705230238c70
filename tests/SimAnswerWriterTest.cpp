#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/NumberRules.h"
#include "sim/AnswerWriter.h"

namespace {

using Fault = AnswerWriter::Fault;

Sweep sampleSweep(std::size_t points) {
    Sweep sweep;
    sweep.startUnits = 140000;
    sweep.endUnits = 143500;
    sweep.stepUnits = Sweep::meanStepUnits(sweep.startUnits, sweep.endUnits, points);
    for (std::size_t i = 0; i < points; ++i) {
        sweep.points.push_back({1.0 + 0.01 * double(i), 50.0 + double(i), -10.0 + 0.5 * double(i)});
    }
    return sweep;
}

// The answer cut at every CR LF; a trailing piece without one stays last.
std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> result;
    std::size_t from = 0;
    for (auto end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", from)) {
        result.push_back(bytes.substr(from, end - from));
        from = end + 2;
    }
    if (from < bytes.size()) result.push_back(bytes.substr(from));
    return result;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> result;
    std::size_t from = 0;
    for (auto comma = line.find(','); comma != std::string::npos; comma = line.find(',', from)) {
        result.push_back(line.substr(from, comma - from));
        from = comma + 1;
    }
    result.push_back(line.substr(from));
    return result;
}

bool numeric(const std::string& field) {
    return NumberRules::isNumeric(QString::fromLatin1(field.data(), int(field.size())));
}

}  // namespace

TEST(SimAnswerWriter, FormatsLikeTheInstrument) {
    const struct {
        Sweep::Point point;
        const char* text;
    } cases[] = {
        {{1.0, 50.0, 0.0}, "1.00,50.0,0.0"},
        {{99.9, 4148.72, -4769.48}, "99.90,4148.7,-4769.5"},
        {{1.2345, -0.04, -0.049}, "1.23,0.0,0.0"},  // no "-0.0"
        {{0.004, -0.0, -0.06}, "0.00,0.0,-0.1"},
        {{1.125, 0.25, -0.35}, "1.12,0.2,-0.3"},  // binary halves round to even, like printf
        {{12345.678, 1e6, -1e6}, "12345.68,1000000.0,-1000000.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(AnswerWriter::formatPoint(c.point), c.text);
}

TEST(SimAnswerWriter, CleanAnswerHasMarkersHeaderAndEveryPoint) {
    for (const std::size_t count : {std::size_t(0), std::size_t(1), std::size_t(57)}) {
        const Sweep sweep = sampleSweep(count);
        AnswerWriter::Options options;
        options.junk = "8\r\n";
        const std::string bytes = AnswerWriter::compose(sweep, options);
        ASSERT_EQ(bytes.rfind("8\r\nS\r\n", 0), 0u);
        const auto all = lines(bytes);
        ASSERT_EQ(all.size(), count + 4);
        EXPECT_EQ(all[2], "140000,143500," + std::to_string(sweep.stepUnits));
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_EQ(all[3 + i], AnswerWriter::formatPoint(sweep.points[i]));
        }
        EXPECT_EQ(all.back(), "E");
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    }
}

TEST(SimAnswerWriter, FaultsBreakTheAnswerAsAdvertised) {
    const Sweep sweep = sampleSweep(40);
    const std::string clean = AnswerWriter::compose(sweep, {});
    const auto cleanLines = lines(clean);

    AnswerWriter::Options cut;
    cut.fault = Fault::Cut;
    const std::string cutBytes = AnswerWriter::compose(sweep, cut);
    // A prefix of the clean answer that stops inside point line 20.
    EXPECT_EQ(clean.rfind(cutBytes, 0), 0u);
    const auto cutLines = lines(cutBytes);
    ASSERT_EQ(cutLines.size(), 2u + 20u + 1u);
    EXPECT_NE(cutBytes.substr(cutBytes.size() - 2), "\r\n");
    EXPECT_LT(cutLines.back().size(), cleanLines[2 + 20].size());
    EXPECT_EQ(cutBytes.find('E'), std::string::npos);

    AnswerWriter::Options noEnd;
    noEnd.fault = Fault::NoEnd;
    EXPECT_EQ(AnswerWriter::compose(sweep, noEnd), clean.substr(0, clean.size() - 3));

    // Without points the cut falls inside the header.
    const std::string cutHeader = AnswerWriter::compose(sampleSweep(0), cut);
    EXPECT_EQ(cutHeader.rfind("S\r\n1400", 0), 0u);
    EXPECT_EQ(lines(cutHeader).size(), 2u);
}

TEST(SimAnswerWriter, GarbageSpoilsFieldsButKeepsTheFraming) {
    const Sweep sweep = sampleSweep(200);
    for (const std::uint32_t seed : {1u, 2u, 99u}) {
        SCOPED_TRACE(seed);
        AnswerWriter::Options options;
        options.fault = Fault::Garbage;
        options.seed = seed;
        const std::string bytes = AnswerWriter::compose(sweep, options);
        EXPECT_EQ(bytes, AnswerWriter::compose(sweep, options));  // reproducible
        const auto all = lines(bytes);
        ASSERT_EQ(all.size(), 200u + 3u);
        EXPECT_EQ(all.front(), "S");
        EXPECT_EQ(all.back(), "E");
        std::size_t spoiledPoints = 0;
        for (std::size_t i = 0; i < 200; ++i) {
            const auto line = all[2 + i];
            ASSERT_EQ(fields(line).size(), 3u) << line;
            ASSERT_EQ(line.find('\n'), std::string::npos);
            if (line == AnswerWriter::formatPoint(sweep.points[i])) continue;
            ++spoiledPoints;
            int bad = 0;
            for (const auto& field : fields(line)) {
                EXPECT_NE(field, "S");
                EXPECT_NE(field, "E");
                bad += numeric(field) ? 0 : 1;
            }
            EXPECT_EQ(bad, 1) << line;
        }
        // About one in eight.
        EXPECT_GT(spoiledPoints, 10u);
        EXPECT_LT(spoiledPoints, 50u);
    }
    AnswerWriter::Options one, other;
    one.fault = other.fault = Fault::Garbage;
    other.seed = 2;
    EXPECT_NE(AnswerWriter::compose(sweep, one), AnswerWriter::compose(sweep, other));

    // Even a sweep too short for chance to pick one gets a spoiled point.
    AnswerWriter::Options options;
    options.fault = Fault::Garbage;
    const Sweep tiny = sampleSweep(1);
    EXPECT_NE(AnswerWriter::compose(tiny, options), AnswerWriter::compose(tiny, {}));
}
