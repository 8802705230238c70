#include "core/files/FigureTable.h"

#include <cmath>
#include <optional>

#include "core/NumberText.h"
#include "core/analysis/PointFigures.h"
#include "core/files/CsvFile.h"

namespace FigureTable {
namespace {

// Empty rather than "inf" or "nan", which no spreadsheet reads as a number.
std::string field(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? NumberText::Shortest(*value) : std::string();
}

}  // namespace

std::string Header() {
    return CsvFile::Header() + ",return_loss_db,rho,z_ohm,phase_deg,q,series_l_h,series_c_f";
}

QByteArray Write(const Sweep& sweep) {
    std::string out = Header() + '\n';
    for (std::size_t i = 0; i < sweep.points.size(); ++i) {
        const PointFigures f = PointFigures::Of(sweep.points[i], sweep.FrequencyHz(i));
        out += CsvFile::Row(sweep, i);
        for (const std::optional<double>& value :
             {f.returnLossDb, f.rho, std::optional(f.zOhm), std::optional(f.phaseDeg), f.q,
              f.seriesLH, f.seriesCF})
            (out += ',') += field(value);
        out += '\n';
    }
    return QByteArray::fromStdString(out);
}

}  // namespace FigureTable
