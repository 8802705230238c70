#include "core/analysis/BandCoverage.h"

#include <algorithm>
#include <utility>

#include "bands/BandTable.h"
#include "core/NumberText.h"
#include "core/WireFormat.h"

namespace {

// The amateur bands' rows of the band list, " 10 Mtrs" to "6 Mtrs".
constexpr std::size_t kFirstAmateurRow = 4;
constexpr std::size_t kLastAmateurRow = 14;

double tableHz(const char* units) {
    return WireFormat::kHzPerUnit * NumberText::Whole(units).value_or(0);
}

}  // namespace

std::optional<double> BandCoverage::SwrAt(const Sweep& sweep, double hz) {
    const auto& points = sweep.points;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double here = sweep.FrequencyHz(i);
        if (hz == here) return points[i].swr();
        if (i + 1 == points.size()) break;
        const double next = sweep.FrequencyHz(i + 1);
        if (hz > std::min(here, next) && hz < std::max(here, next)) {
            return points[i].swr() +
                   (hz - here) / (next - here) * (points[i + 1].swr() - points[i].swr());
        }
    }
    return std::nullopt;
}

std::vector<BandCoverage> BandCoverage::AllOf(const Sweep& sweep) {
    std::vector<BandCoverage> covered;
    if (sweep.points.empty()) return covered;
    const double first = sweep.FrequencyHz(0);
    const double last = sweep.FrequencyHz(sweep.points.size() - 1);
    for (std::size_t row = kFirstAmateurRow; row <= kLastAmateurRow; ++row) {
        BandCoverage band;
        band.band = QString::fromLatin1(BandTable[row].name).trimmed();
        band.lowHz = tableHz(BandTable[row].start);
        band.highHz = tableHz(BandTable[row].end);
        if (band.lowHz < std::min(first, last) || band.highHz > std::max(first, last)) continue;

        const double centreHz = (band.lowHz + band.highHz) / 2;
        band.swrLow = *SwrAt(sweep, band.lowHz);
        band.swrCentre = *SwrAt(sweep, centreHz);
        band.swrHigh = *SwrAt(sweep, band.highHz);
        std::vector<std::pair<double, double>> values{
            {band.swrLow, band.lowHz}, {band.swrCentre, centreHz}, {band.swrHigh, band.highHz}};
        for (std::size_t i = 0; i < sweep.points.size(); ++i) {
            const double hz = sweep.FrequencyHz(i);
            if (hz >= band.lowHz && hz <= band.highHz)
                values.push_back({sweep.points[i].swr(), hz});
        }
        const auto lowest = std::min_element(values.begin(), values.end());
        band.minSwr = lowest->first;
        band.minSwrHz = lowest->second;
        band.within2 = std::all_of(values.begin(), values.end(),
                                   [](const auto& value) { return value.first <= 2.0; });
        covered.push_back(band);
    }
    std::sort(covered.begin(), covered.end(),
              [](const BandCoverage& a, const BandCoverage& b) { return a.lowHz < b.lowHz; });
    return covered;
}
