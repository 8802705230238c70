#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "core/Sweep.h"
#include "core/files/CsvFile.h"

// A figure that may be missing: kNone where none is wanted.
inline constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
inline void ExpectValue(const std::optional<double>& got, double want, const std::string& what) {
    if (std::isnan(want)) {
        EXPECT_FALSE(got) << what;
    } else {
        ASSERT_TRUE(got) << what;
        EXPECT_DOUBLE_EQ(*got, want) << what;
    }
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
