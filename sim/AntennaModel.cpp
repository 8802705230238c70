#include "sim/AntennaModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/Angles.h"

namespace {

using Angles::kPi;
constexpr double kEuler = 0.57721566490153286061;
constexpr double kSpeedOfLight = 299792458.0;  // m/s
// Free-space wave impedance 120 pi ohms; the textbook formulas use 60 and 30.
constexpr double kEtaOver2Pi = 60.0;
constexpr double kEtaOver4Pi = 30.0;

// Sine and cosine integrals Si(x), Ci(x) for x > 0: power series for small
// arguments, a continued fraction for the exponential integral of i x above
// that, where the series would lose digits to cancellation.
std::pair<double, double> sineCosineIntegrals(double x) {
    constexpr double kEps = std::numeric_limits<double>::epsilon();
    constexpr double kTiny = 1.0e-300;
    constexpr int kMaxTerms = 200;
    if (x <= 0) return {0.0, -std::numeric_limits<double>::infinity()};
    if (x > 2.0) {
        std::complex<double> b(1.0, x);
        std::complex<double> c(1.0 / kTiny, 0.0);
        std::complex<double> d = 1.0 / b;
        std::complex<double> h = d;
        for (int i = 2; i <= kMaxTerms; ++i) {
            const double a = -double(i - 1) * double(i - 1);
            b += 2.0;
            d = 1.0 / (a * d + b);
            c = b + a / c;
            const std::complex<double> del = c * d;
            h *= del;
            if (std::abs(del.real() - 1.0) + std::abs(del.imag()) < kEps) break;
        }
        h *= std::complex<double>(std::cos(x), -std::sin(x));
        return {kPi / 2 + h.imag(), -h.real()};
    }
    // Si sums the odd powers, Ci the even ones; each term is x^k / (k k!).
    double si = 0;
    double ciSum = 0;
    double factor = 1;
    for (int k = 1; k <= kMaxTerms; ++k) {
        factor *= x / k;
        const double term = factor / k;
        const bool odd = (k % 2) == 1;
        // Signs alternate within each series: +x, -x^3, +x^5 and -x^2, +x^4, ...
        const double sign = (((k - 1) / 2) % 2 == 0) ? 1.0 : -1.0;
        if (odd) {
            si += sign * term;
        } else {
            ciSum += sign * term;
        }
        if (term < kEps * std::abs(odd ? si : (ciSum == 0 ? 1 : ciSum))) break;
    }
    return {si, kEuler + std::log(x) - ciSum};
}

double si(double x) { return sineCosineIntegrals(x).first; }
double ci(double x) { return sineCosineIntegrals(x).second; }

}  // namespace

AntennaModel::AntennaModel(Kind kind, double resonanceHz, double wireRadiusM)
    : m_kind(kind), m_wireRadiusM(wireRadiusM) {
    // Reactance rises through zero between 0.40 and 0.50 wavelengths for any
    // wire thin enough to be called a wire; bisection on that bracket.
    const double wavelength = kSpeedOfLight / resonanceHz;
    double shortM = 0.40 * wavelength;
    double longM = 0.50 * wavelength;
    for (int i = 0; i < 100; ++i) {
        const double mid = 0.5 * (shortM + longM);
        if (dipoleImpedance(mid, resonanceHz).imag() < 0) {
            shortM = mid;
        } else {
            longM = mid;
        }
    }
    m_dipoleLengthM = 0.5 * (shortM + longM);
}

double AntennaModel::lengthM() const {
    return m_kind == Kind::HalfWaveDipole ? m_dipoleLengthM : m_dipoleLengthM / 2;
}

std::complex<double> AntennaModel::impedanceAt(double frequencyHz) const {
    const std::complex<double> z = dipoleImpedance(m_dipoleLengthM, frequencyHz);
    // Image theory: a vertical over perfect ground sees half the dipole's voltage
    // for the same current.
    return m_kind == Kind::HalfWaveDipole ? z : z / 2.0;
}

std::complex<double> AntennaModel::dipoleImpedance(double dipoleLengthM, double frequencyHz) const {
    const double k = 2 * kPi * frequencyHz / kSpeedOfLight;
    const double kl = k * dipoleLengthM;
    const double thin = 2 * k * m_wireRadiusM * m_wireRadiusM / dipoleLengthM;
    const double sinKl = std::sin(kl);
    const double cosKl = std::cos(kl);
    const auto [siKl, ciKl] = sineCosineIntegrals(kl);
    const double si2Kl = si(2 * kl);
    const double ci2Kl = ci(2 * kl);

    // Resistance and reactance referred to the current maximum.
    const double rMax =
        kEtaOver2Pi * (kEuler + std::log(kl) - ciKl + 0.5 * sinKl * (si2Kl - 2 * siKl) +
                       0.5 * cosKl * (kEuler + std::log(kl / 2) + ci2Kl - 2 * ciKl));
    const double xMax = kEtaOver4Pi * (2 * siKl + cosKl * (2 * siKl - si2Kl) -
                                       sinKl * (2 * ciKl - ci2Kl - ci(thin)));

    // Referring them to the feed divides by the squared current ratio, which
    // vanishes at every whole wavelength. A real wire's feed current never
    // quite does, and measured full-wave dipoles stay at a few kilo-ohms, so
    // past half a wavelength the ratio is not allowed below 0.05. (Short of
    // half a wavelength it is small only because the antenna is short, and
    // the quotient is the correct short-dipole resistance.)
    const double s = std::sin(kl / 2);
    const double currentRatioSquared = kl > kPi ? std::max(s * s, 0.05) : s * s;
    return {rMax / currentRatioSquared, xMax / currentRatioSquared};
}
