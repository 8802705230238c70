#include <gtest/gtest.h>

#include <QByteArray>
#include <QRandomGenerator>
#include <array>
#include <optional>
#include <vector>

#include "core/AnswerReader.h"
#include "core/ReceivedSweep.h"
#include "core/files/RecordedAnswer.h"

namespace {

using Kind = AnswerReader::Field::Kind;

// What a stream leaves: whether it ended, the header, and the complete points.
struct Read {
    bool complete;
    std::array<double, 3> header;
    std::vector<std::array<double, 3>> points;
};

Read readStream(const QByteArray& stream) {
    ReceivedSweep received;
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
    };
    for (const auto& c : cases) {
        const Read read = readStream(c.stream);
        EXPECT_EQ(read.complete, c.want.complete) << c.name;
        EXPECT_EQ(read.header, c.want.header) << c.name;
        EXPECT_EQ(read.points, c.want.points) << c.name;
    }
}

// The answer ends with the last row the receiver has, "E" or not; what
// follows is never read.
TEST(AnswerReader, EndsAtThePointLimit) {
    QByteArray stream = "S\r\n1,2,3\r\n";
    for (int i = 0; i < 6; ++i) stream += QByteArray::number(i) + ",0,0\r\n";
    ReceivedSweep received(4);
    received.Take(QString::fromLatin1(stream + "E\r\n"));
    EXPECT_TRUE(received.Complete());
    ASSERT_EQ(received.sweep().points.size(), 4u);
    EXPECT_EQ(received.sweep().points.back().swr(), 3);
    EXPECT_EQ(received.reader().CompletePoints(), 4);
}

// Field by field as the window's scan takes them: each value says which point
// and quantity it is, the header's last field and each point's last field
// say so, and the header alone is read whatever happens.
TEST(AnswerReader, FieldsSayWhatTheyAre) {
    AnswerReader reader;
    EXPECT_FALSE(reader.StartCame());
    EXPECT_EQ(reader.Take(u"s").kind, Kind::Skipped);
    EXPECT_EQ(reader.Take(u"S").kind, Kind::Start);
    EXPECT_TRUE(reader.StartCame());
    EXPECT_TRUE(reader.InHeader());
    EXPECT_FALSE(reader.Take(u"140000").completes);
    EXPECT_FALSE(reader.Take(u"143500").completes);
    const AnswerReader::Field step = reader.Take(u"35x");
    EXPECT_TRUE(step.kind == Kind::Header && step.completes && step.number == 35);
    EXPECT_FALSE(reader.InHeader());
    EXPECT_EQ(reader.header().end, 143500);

    const Quantity order[] = {Quantity::Swr, Quantity::Resistance, Quantity::Reactance};
    for (int point = 0; point < 2; ++point) {
        for (int q = 0; q < 3; ++q) {
            const AnswerReader::Field value = reader.Take(u"7");
            EXPECT_EQ(value.kind, Kind::Value);
            EXPECT_EQ(value.point, point);
            EXPECT_EQ(value.quantity, order[q]);
            EXPECT_EQ(value.completes, q == 2);
        }
    }
    EXPECT_EQ(reader.Take(u"E").kind, Kind::End);
    EXPECT_TRUE(reader.Ended());
    EXPECT_EQ(reader.Take(u"S").kind, Kind::Skipped);
    EXPECT_EQ(reader.CompletePoints(), 2);
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

TEST(RecordedAnswer, ACutRecordingNamesItsLastLine) {
    QString error;
    EXPECT_TRUE(RecordedAnswer::Read("S\r\n1,2,3\r\n1.5,50,0\r\nE\r\n", &error));
    EXPECT_FALSE(RecordedAnswer::Read("S\r\n1,2,3\r\n1.5,50,0\r\n1.6,", &error));
    EXPECT_EQ(error,
              QStringLiteral("line 4: the recorded answer ends before its end marker \"E\""));
    EXPECT_FALSE(RecordedAnswer::Read("S\r\n1,2,3\r\n", &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("line 2: "))) << error.toStdString();
}
