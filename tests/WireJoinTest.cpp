#include <gtest/gtest.h>

#include <QLabel>

#include "ScanRig.h"
#include "sim/AnswerWriter.h"
#include "sim/SweepSource.h"

// The emulator's answers through the program's real scan: what the one side
// composes, the other must store, whatever the two make of the wire format.

namespace {

using Fault = AnswerWriter::Fault;

// Values the wire carries exactly (SWR to two decimals, ohms to one), so
// that what the scan stores must equal what was composed.
Sweep sweepOf(int points) {
    Sweep sweep;
    sweep.header = {140000, 143500, SweepSource::MeanStep(140000, 143500, std::size_t(points))};
    for (int i = 0; i < points; ++i) {
        sweep.points.push_back(
            {{(100 + i % 900) / 100.0, (500 + i % 5000) / 10.0, (i % 2000 - 1000) / 10.0}});
    }
    return sweep;
}

}  // namespace

TEST(WireJoin, TheScanStoresWhatTheEmulatorComposed) {
    const struct {
        const char* name;
        int points;
        AnswerWriter::Options options;
        int kept;   // complete points the scan keeps
        bool ends;  // by the end marker or the array's last row; else the user stops it
    } cases[] = {
        {"clean", 25, {}, 25, true},
        {"junk before the start", 25, {"8\r\ns\r\nS \r\nE\r\n", Fault::None, 1}, 25, true},
        {"cut in a point", 40, {"", Fault::Cut, 1}, 20, false},
        {"no end marker", 25, {"", Fault::NoEnd, 1}, 25, false},
        {"garbage fields", 200, {"", Fault::Garbage, 7}, 200, true},
        {"more points than the array holds", 16390, {}, 16384, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Sweep sweep = sweepOf(c.points);
        ScanRig rig(QByteArray::fromStdString(AnswerWriter::compose(sweep, c.options)));
        frmMain& form = *rig.form;
        double start = 0, end = 0;  // as the header left them, before a stop resets them
        const auto noteRange = [&] {
            start = form.Scan_Start.Number();
            end = form.Scan_End.Number();
        };
        // An answer the scan cannot finish is stopped once it has all been read.
        rig.StopWhenAllRead(noteRange);
        rig.Scan();
        if (c.ends) noteRange();

        EXPECT_EQ(start, sweep.header->start);
        EXPECT_EQ(end, sweep.header->end);
        ASSERT_EQ(form.NumPoints, c.kept - 1);
        int spoiled = 0;
        for (int i = 0; i < c.kept; ++i) {
            int wrong = 0;
            for (std::size_t k = 0; k < kQuantities.size(); ++k) {
                const double stored = form.ScanPoints()(i, kQuantities[k].column);
                const double sent = sweep.points[std::size_t(i)].of(Quantity(k));
                // A spoiled field has no digits, so it is stored as 0.
                wrong += stored != sent;
                if (stored != sent && (c.options.fault != Fault::Garbage || stored != 0)) {
                    ADD_FAILURE() << "point " << i << " quantity " << k << ": " << stored
                                  << " stored, " << sent << " sent";
                }
            }
            EXPECT_LE(wrong, 1) << "point " << i;
            spoiled += wrong;
        }
        EXPECT_EQ(spoiled > 0, c.options.fault == Fault::Garbage) << spoiled;
        // The label shows the index of the last point stored, or that the scan was stopped.
        EXPECT_EQ(rig.form.ui.LblPoints->text(),
                  c.ends ? QString::number(c.kept - 1) : QStringLiteral("Aborted"));
        EXPECT_TRUE(rig.Idle());
        EXPECT_EQ(rig.messages.texts, QStringList());
    }
}
