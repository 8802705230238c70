#include "core/analysis/SweepChange.h"

namespace {

std::optional<double> minus(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b) return std::nullopt;
    return *a - *b;
}

std::optional<double> width(const std::optional<SweepSummary::Edges>& edges) {
    if (!edges) return std::nullopt;
    return edges->highHz - edges->lowHz;
}

}  // namespace

SweepChange SweepChange::Between(const SweepSummary& later, const SweepSummary& earlier) {
    return {minus(later.minSwr, earlier.minSwr), minus(later.minSwrHz, earlier.minSwrHz),
            minus(later.resonanceHz, earlier.resonanceHz),
            minus(width(later.swr2), width(earlier.swr2))};
}
