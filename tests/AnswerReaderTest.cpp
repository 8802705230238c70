#include <gtest/gtest.h>

#include <QByteArray>
#include <QRandomGenerator>
#include <array>
#include <optional>
#include <vector>

#include "core/AnswerReader.h"
#include "core/ReceivedSweep.h"

namespace {

// What a stream leaves: whether it ended, the header, and the complete points.
struct Read {
    bool complete;
    std::array<double, 3> header;
    std::vector<std::array<double, 3>> points;
};

Read readStream(const QByteArray& stream, int limit) {
    ReceivedSweep received(limit);
    received.Take(QString::fromLatin1(stream));
    const Sweep& sweep = received.sweep();
    Read read{received.Complete(), {}, {}};
    if (sweep.header) read.header = {sweep.header->start, sweep.header->end, sweep.header->step};
    for (const Sweep::Point& p : sweep.points) read.points.push_back(p.values);
    return read;
}

}  // namespace

// Whatever comes down the line, byte by byte: where fields begin and end,
// which fields are markers, and what each field's number is.
TEST(AnswerReader, FramingMarkersAndNumbers) {
    const struct {
        const char* name;
        QByteArray stream;
        Read want;
        int limit = WireFormat::kMaxPoints;
    } cases[] = {
        {"echo and near-markers before S",
         "8\r\ns\r\nS \r\nE\r\nhello,S\r\n140000,143500,35\r\n1.5,50,0\r\nE\r\n",
         {true, {140000, 143500, 35}, {{1.5, 50, 0}}}},
        {"commas, CRs and line feeds in any mix; line feeds inside numbers",
         "S\r1\n40000,14\n3500\r35,1.\n5\r5\n0,-2\rE,",
         {true, {140000, 143500, 35}, {{1.5, 50, -2}}}},
        {"blanks, tabs and semicolons do not end a field",
         "S\r\n 12.5abc,xyz,1\r\n 2.5x;\t9, abc ,3\r\nE\r\n",
         {true, {12.5, 0, 1}, {{2.5, 0, 3}}}},
        {"exponents, signs, too large a number",
         "S\r\n1e5,+1.435E5,-0\r\n1e400,-7,.25\r\nE\r\n",
         {true, {100000, 143500, 0}, {{1.7976931348623157e308, -7, 0.25}}}},
        {"E inside a point drops the point",
         "S\r\n1,2,3\r\n1.1,50,1\r\n1.2,51,E\r\n",
         {true, {1, 2, 3}, {{1.1, 50, 1}}}},
        {"E right after the header: no points",
         "S\r\n70000,73000,30\r\nE\r\n",
         {true, {70000, 73000, 30}, {}}},
        {"E inside the header is a number", "S\r\nE,2,3\r\nE\r\n", {true, {0, 2, 3}, {}}},
        {"no end marker yet", "S\r\n1,2,3\r\n1.5,50,0\r\n1.6,", {false, {1, 2, 3}, {{1.5, 50, 0}}}},
        {"nothing but noise", "\x01\xff,s,e,E\r\n", {false, {}, {}}},
        {"nothing after E is read",
         "S\r\n1,2,3\r\n1.5,50,0\r\nE\r\nS\r\n4,5,6\r\n7,8,9\r\nE\r\n",
         {true, {1, 2, 3}, {{1.5, 50, 0}}}},
        {"ends at the point limit, E or not",
         "S\r\n1,2,3\r\n0,0,0\r\n1,0,0\r\n2,0,0\r\n3,0,0\r\n4,0,0\r\nE\r\n",
         {true, {1, 2, 3}, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}},
         4},
    };
    for (const auto& c : cases) {
        const Read read = readStream(c.stream, c.limit);
        EXPECT_EQ(read.complete, c.want.complete) << c.name;
        EXPECT_EQ(read.header, c.want.header) << c.name;
        EXPECT_EQ(read.points, c.want.points) << c.name;
    }
}

// What the window's scan asks between fields: whether the start marker has
// come ("-" not yet), and whether the reader is inside the header ("h"),
// which the window reads whole even when stopped.
TEST(AnswerReader, StartAndHeaderAsTheWindowAsks) {
    AnswerReader reader;
    QString seen;
    for (const char16_t* field : {u"s", u"S", u"1", u"2", u"3x", u"4", u"E", u"S"}) {
        reader.Take(field);
        seen += !reader.StartCame() ? u'-' : reader.InHeader() ? u'h' : u's';
    }
    EXPECT_EQ(seen, "-hhhssss");
}

// Whatever bytes come, the answer never holds more points than the limit,
// keeps every point it counts, and ends only at the limit or a marker.
TEST(AnswerReader, RandomStreamsKeepTheInvariants) {
    QRandomGenerator random(20261207);
    const QByteArray alphabet = "SE,\r\n0123456789.-+e \tabc";
    for (int run = 0; run < 3000; ++run) {
        QByteArray stream;
        const int length = int(random.bounded(400));
        for (int i = 0; i < length; ++i) {
            stream += run % 3 == 0 ? char(random.bounded(256))
                                   : alphabet[int(random.bounded(alphabet.size()))];
        }
        ReceivedSweep received(5);
        received.Take(QString::fromLatin1(stream));
        const int points = received.reader().CompletePoints();
        ASSERT_LE(points, 5) << run;
        ASSERT_EQ(int(received.sweep().points.size()), points) << run;
        // Short of the limit, only an end marker ends it.
        if (received.Complete() && points < 5) ASSERT_TRUE(stream.contains('E')) << run;
    }
}
