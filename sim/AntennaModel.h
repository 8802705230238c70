#pragma once

#include <complex>

// A centre-fed thin-wire antenna in free space (or a monopole over perfect
// ground), cut to be resonant at a chosen frequency. The impedance comes from
// the induced-EMF solution for a sinusoidal current distribution, which gives
// the familiar 73 + j42.5 ohms at exactly half a wavelength and crosses zero
// reactance a few percent shorter, where real dipoles are resonant.
class AntennaModel {
public:
    enum class Kind {
        HalfWaveDipole,       // about 70 ohms at resonance
        QuarterWaveVertical,  // half of the dipole's impedance, about 35 ohms
    };

    // Cuts the antenna so that its reactance is zero at `resonanceHz`.
    // `wireRadiusM` is the conductor radius in metres.
    AntennaModel(Kind kind, double resonanceHz, double wireRadiusM = 1.0e-3);

    // Total length of the dipole (or height of the vertical), metres.
    double lengthM() const;

    // Feed-point impedance at `frequencyHz`, ohms (real: resistance, imaginary: reactance).
    std::complex<double> impedanceAt(double frequencyHz) const;

private:
    // Impedance of a full dipole of length `dipoleLengthM` at `frequencyHz`, ohms.
    std::complex<double> dipoleImpedance(double dipoleLengthM, double frequencyHz) const;

    Kind m_kind = Kind::HalfWaveDipole;
    double m_wireRadiusM = 1.0e-3;
    double m_dipoleLengthM = 0;  // the vertical is modelled as half of a dipole twice its height
};
