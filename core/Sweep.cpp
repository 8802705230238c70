#include "core/Sweep.h"

#include "core/WireFormat.h"

double Sweep::FrequencyHz(std::size_t i) const {
    if (!pointHz.empty()) return pointHz[i];
    const double start = header ? header->start : 0;
    const double end = header ? header->end : 0;
    const std::size_t last = points.empty() ? 0 : points.size() - 1;
    const double units = last == 0 ? start : start + double(i) * (end - start) / double(last);
    return WireFormat::kHzPerUnit * units;
}

std::optional<double> Sweep::StartHz() const {
    if (header) return WireFormat::kHzPerUnit * header->start;
    if (pointHz.empty()) return std::nullopt;
    return pointHz.front();
}

std::optional<double> Sweep::EndHz() const {
    if (header) return WireFormat::kHzPerUnit * header->end;
    if (pointHz.empty()) return std::nullopt;
    return pointHz.back();
}
