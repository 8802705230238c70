#pragma once

#include <optional>

// An ideal inductor or capacitor: what a reactance or a susceptance is at
// one frequency.
struct LumpedPart {
    enum class Kind { L, C };

    Kind kind = Kind::L;
    double value = 0;  // henry for L, farad for C

    // In series: X > 0 is an inductor of X / (2 pi f), X < 0 a capacitor of
    // -1 / (2 pi f X); none for X = 0, where a wire does.
    static std::optional<LumpedPart> OfReactance(double xOhm, double hz);
    // Across: B > 0 is a capacitor of B / (2 pi f), B < 0 an inductor of
    // -1 / (2 pi f B); none for B = 0, where nothing is fitted.
    static std::optional<LumpedPart> OfSusceptance(double bSiemens, double hz);

    bool operator==(const LumpedPart& other) const {
        return kind == other.kind && value == other.value;
    }
};
