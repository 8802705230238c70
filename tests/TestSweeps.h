#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <limits>
#include <optional>

#include "core/Sweep.h"
#include "core/analysis/SweepSummary.h"
#include "core/files/CsvFile.h"

// A figure the table of a point may leave empty.
inline constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// A frequency to the millihertz, or "null", as tests/data/trim_figures.py prints it.
inline QString HzText(const std::optional<double>& hz) {
    return hz ? QString::asprintf("%.3f", *hz) : QStringLiteral("null");
}

// A summary as tests/data/trim_figures.py prints it: the lowest SWR and its
// frequency, the resonance, the 2:1 and the 1.5:1 run.
inline QString SummaryLine(const SweepSummary& s) {
    const auto run = [](const std::optional<SweepSummary::Edges>& edges) {
        return edges ? HzText(edges->lowHz) + u'-' + HzText(edges->highHz) : QStringLiteral("null");
    };
    return QString::asprintf("%.4f@", s.minSwr.value_or(kNone)) + HzText(s.minSwrHz) + " res " +
           HzText(s.resonanceHz) + " 2:1 " + run(s.swr2) + " 1.5:1 " + run(s.swr1_5);
}

// A file's sweep written out in a test: "swr/x swr/x ...", the points 1 MHz
// apart from 1 MHz up, each with R = 50.
inline Sweep SmallSweep(const char* points) {
    Sweep sweep;
    for (const QString& point : QString::fromLatin1(points).split(u' ')) {
        sweep.pointHz.push_back(1e6 * double(sweep.points.size() + 1));
        sweep.points.push_back(
            {{point.section(u'/', 0, 0).toDouble(), 50, point.section(u'/', 1, 1).toDouble()}});
    }
    return sweep;
}

// The sweep of a CSV file; none where the file is missing (or, failing the
// test, where it does not parse).
inline std::optional<Sweep> CsvSweep(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    QString error;
    auto sweep =
        CsvFile::Read(std::string_view(bytes.constData(), std::size_t(bytes.size())), &error);
    if (!sweep) ADD_FAILURE() << path.toStdString() << ": " << error.toStdString();
    return sweep;
}

// One of the shared measured sweeps (NAME.csv); none where the data sets are missing.
inline std::optional<Sweep> SharedSweep(const char* name) {
    return CsvSweep(QStringLiteral(VANTREL_SHARED_DIR "/antenna-data/%1.csv").arg(name));
}
