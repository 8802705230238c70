#include "core/files/TouchstoneFile.h"

#include <QStringList>
#include <cmath>

#include "core/Angles.h"
#include "core/Impedance.h"
#include "core/NumberText.h"

namespace TouchstoneFile {
namespace {

constexpr double kCappedReflection = 0.98;  // from here on the analyzer shows its cap

enum class Format { RealImaginary, MagnitudeAngle, DecibelAngle };

struct Options {
    double hzPerUnit = 1e9;
    Format format = Format::MagnitudeAngle;
};

std::complex<double> fromPair(double a, double b, Format format) {
    constexpr double kRadiansPerDegree = 1 / Angles::kDegreesPerRadian;
    switch (format) {
        case Format::RealImaginary:
            return {a, b};
        case Format::MagnitudeAngle:
            return std::polar(a, b * kRadiansPerDegree);
        case Format::DecibelAngle:
            return std::polar(std::pow(10.0, a / 20), b * kRadiansPerDegree);
    }
    return {};
}

// The option line's words after "#"; empty with the reason in `error`.
std::optional<Options> parseOptions(const QStringList& words, QString* error) {
    Options options;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString word = words[i].toUpper();
        if (word == u"HZ" || word == u"KHZ" || word == u"MHZ" || word == u"GHZ") {
            options.hzPerUnit = word == u"HZ"    ? 1
                                : word == u"KHZ" ? 1e3
                                : word == u"MHZ" ? 1e6
                                                 : 1e9;
        } else if (word == u"RI" || word == u"MA" || word == u"DB") {
            options.format = word == u"RI"   ? Format::RealImaginary
                             : word == u"MA" ? Format::MagnitudeAngle
                                             : Format::DecibelAngle;
        } else if (word == u"Y" || word == u"Z" || word == u"H" || word == u"G") {
            *error = QStringLiteral("only S parameters can be read, not %1").arg(words[i]);
            return std::nullopt;
        } else if (word == u"R" && i + 1 < words.size()) {
            const auto ohms = NumberText::Whole(words[++i].toStdString());
            if (!ohms || *ohms != Impedance::kReferenceOhm) {
                *error = QStringLiteral("the reference must be 50 ohms, not %1").arg(words[i]);
                return std::nullopt;
            }
        } else if (word != u"S") {
            *error = QStringLiteral("\"%1\" is no Touchstone option").arg(words[i]);
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace

QByteArray Write(const Sweep& sweep) {
    std::string text = "# MHz S RI R " + NumberText::Shortest(Impedance::kReferenceOhm) + '\n';
    for (std::size_t i = 0; i < sweep.points.size(); ++i) {
        const Sweep::Point& p = sweep.points[i];
        const std::complex<double> s = Impedance::Reflection({p.rOhm(), p.xOhm()});
        text += NumberText::Shortest(sweep.FrequencyHz(i) / 1e6) + ' ' +
                NumberText::Shortest(s.real()) + ' ' + NumberText::Shortest(s.imag()) + '\n';
    }
    return QByteArray::fromStdString(text);
}

std::optional<std::vector<Sample>> ReadSamples(std::string_view text, QString* error) {
    QString reason;
    int lineNumber = 0;
    const auto fail = [&](const QString& what) {
        if (error) *error = QStringLiteral("line %1: %2").arg(lineNumber).arg(what);
        return std::nullopt;
    };
    Options options;
    bool sawOptions = false;
    std::vector<Sample> samples;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        line = NumberText::Trimmed(line.substr(0, line.find('!')));
        if (line.empty()) continue;
        const QString content = QString::fromUtf8(line.data(), qsizetype(line.size())).simplified();
        if (content.startsWith(u'#')) {
            // Only the first option line counts.
            if (sawOptions) continue;
            sawOptions = true;
            const auto parsed =
                parseOptions(content.mid(1).split(u' ', Qt::SkipEmptyParts), &reason);
            if (!parsed) return fail(reason);
            options = *parsed;
            continue;
        }
        const QStringList numbers = content.split(u' ', Qt::SkipEmptyParts);
        if (numbers.size() != 3) {
            return fail(QStringLiteral("expected a frequency and one S11 pair (3 numbers), found "
                                       "%1 fields")
                            .arg(numbers.size()));
        }
        double values[3] = {};
        for (int i = 0; i < 3; ++i) {
            const auto value = NumberText::Whole(numbers[i].toStdString());
            if (!value) return fail(QStringLiteral("\"%1\" is not a number").arg(numbers[i]));
            values[i] = *value;
        }
        samples.push_back({lineNumber, values[0] * options.hzPerUnit,
                           fromPair(values[1], values[2], options.format)});
    }
    if (samples.empty()) return fail(QStringLiteral("no data lines"));
    return samples;
}

std::optional<Sweep> Read(std::string_view text, QString* error) {
    const auto samples = ReadSamples(text, error);
    if (!samples) return std::nullopt;
    Sweep sweep;
    for (const Sample& sample : *samples) {
        const std::complex<double> s = sample.s11;
        if (s == 1.0) {
            if (error) {
                *error = QStringLiteral("line %1: S11 = 1 (an open end) has no finite impedance")
                             .arg(sample.line);
            }
            return std::nullopt;
        }
        const double magnitude = std::abs(s);
        const double swr = magnitude >= kCappedReflection ? Impedance::kSwrCap
                                                          : Impedance::SwrOfReflection(magnitude);
        const std::complex<double> z = Impedance::OfReflection(s);
        sweep.pointHz.push_back(sample.frequencyHz);
        sweep.points.push_back({{swr, z.real(), z.imag()}});
    }
    return sweep;
}

}  // namespace TouchstoneFile
