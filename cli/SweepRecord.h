#pragma once

#include <QString>
#include <optional>
#include <vector>

// One sweep as the tool keeps, summarises and writes it: from a scan (the
// window's points, spaced evenly over the header's range) or from a file.
struct SweepRecord {
    struct Point {
        double frequencyHz = 0;
        double swr = 0;   // standing-wave ratio against 50 ohms
        double rOhm = 0;  // resistance
        double xOhm = 0;  // reactance
    };

    std::optional<QString> band;    // the band list text without its leading blank; none for a file
    std::optional<double> startHz;  // a scan's header range; a file's first and last frequency
    std::optional<double> endHz;    // (none for a file without points)
    std::vector<Point> points;      // in sweep order
};
