#include "core/analysis/TrimAdvice.h"

#include "core/analysis/Dip.h"
#include "core/analysis/SweepSummary.h"

std::optional<double> TrimAdvice::FromHz(const Sweep& sweep, double targetHz) {
    std::vector<double> candidates;
    for (const Dip& dip : Dip::AllOf(sweep, kDipThreshold)) {
        if (dip.crossingsHz.empty()) candidates.push_back(dip.minSwrHz);
        candidates.insert(candidates.end(), dip.crossingsHz.begin(), dip.crossingsHz.end());
    }
    if (candidates.empty()) candidates = SweepSummary::ReactanceCrossings(sweep);
    if (const auto nearest = SweepSummary::Nearest(candidates, targetHz)) return nearest;
    if (const auto lowest = SweepSummary::LowestPoint(sweep)) return sweep.FrequencyHz(*lowest);
    return std::nullopt;
}

std::optional<TrimAdvice> TrimAdvice::For(const Sweep& sweep, double targetHz,
                                          std::optional<double> lengthM) {
    const std::optional<double> from = FromHz(sweep, targetHz);
    if (!from) return std::nullopt;
    const double factor = *from / targetHz - 1;
    TrimAdvice advice{targetHz, *from, 100 * factor, std::nullopt};
    if (lengthM) advice.changeM = *lengthM * factor;
    return advice;
}
