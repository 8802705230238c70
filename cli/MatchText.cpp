#include "cli/MatchText.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "cli/JsonText.h"
#include "cli/SummaryText.h"
#include "core/NumberText.h"
#include "platform/runtime/NumberRules.h"

namespace MatchText {
namespace {

const QString kIndent = QString(14, u' ');

const char* placeName(LMatch::Place place) {
    return place == LMatch::Place::Series ? "series" : "shunt";
}

std::string jsonPart(const std::optional<LumpedPart>& part) {
    if (!part) return "null";
    return JsonText::Object(
        {{"part", JsonText::String(part->kind == LumpedPart::Kind::L ? QStringLiteral("L")
                                                                     : QStringLiteral("C"))},
         {"value", JsonText::Number(part->value)}});
}

QString partText(const char* place, const LumpedPart& part) {
    return QStringLiteral("%1 %2").arg(
        QLatin1String(place),
        Engineering(part.value, part.kind == LumpedPart::Kind::L ? "H" : "F"));
}

QString networkLine(const LMatch::Network& network) {
    QStringList parts{QStringLiteral("load")};
    const auto add = [&](LMatch::Place place) {
        const auto& part = place == LMatch::Place::Series ? network.series : network.shunt;
        if (part) parts << partText(placeName(place), *part);
    };
    const bool seriesFirst = network.nextToLoad == LMatch::Place::Series;
    add(seriesFirst ? LMatch::Place::Series : LMatch::Place::Shunt);
    add(seriesFirst ? LMatch::Place::Shunt : LMatch::Place::Series);
    if (parts.size() == 1) return QStringLiteral("load - 50 ohm (nothing to add)");
    return parts.join(QStringLiteral(" - ")) + QStringLiteral(" - 50 ohm");
}

}  // namespace

std::string Json(const std::optional<LMatch>& match) {
    if (!match) return "null";
    std::vector<std::string> networks;
    for (const LMatch::Network& network : match->networks) {
        networks.push_back(JsonText::Object(
            {{"next_to_load", JsonText::String(QLatin1String(placeName(network.nextToLoad)))},
             {"series", jsonPart(network.series)},
             {"shunt", jsonPart(network.shunt)}}));
    }
    return JsonText::Object({{"freq_hz", JsonText::Number(match->hz)},
                             {"r_ohm", JsonText::Number(match->rOhm)},
                             {"x_ohm", JsonText::Number(match->xOhm)},
                             {"networks", JsonText::List(networks)}});
}

QString Readable(const LMatch& match) {
    QString text =
        QStringLiteral("  %1%2 MHz, %3 %4 j%5 ohm\n")
            .arg(QStringLiteral("match"), -12)
            .arg(SummaryText::Mhz(match.hz), NumberRules::formatPattern(match.rOhm, u"0.0"),
                 match.xOhm < 0 ? QStringLiteral("-") : QStringLiteral("+"),
                 NumberRules::formatPattern(std::fabs(match.xOhm), u"0.0"));
    if (match.networks.empty())
        return text + kIndent + QStringLiteral("none (the resistance is not above 0 ohm)\n");
    for (const LMatch::Network& network : match.networks)
        text += kIndent + networkLine(network) + u'\n';
    return text;
}

QString Engineering(double value, const char* unit) {
    static constexpr const char* kPrefixes[] = {"f", "p", "n", "u", "m", "", "k", "M", "G"};
    constexpr int kFirst = -5;  // the group of kPrefixes[0]: 10^-15
    constexpr int kLast = 3;
    if (!std::isfinite(value) || value == 0)
        return QString::fromStdString(NumberText::Shortest(value)) + u' ' + QLatin1String(unit);
    int group = std::clamp(int(std::floor(std::log10(std::fabs(value)) / 3)), kFirst, kLast);
    double mantissa = value / std::pow(1000.0, group);
    // The logarithm may land a hair beside a power of ten; and 999.5 rounds
    // up into the next prefix, as 1.00 of it.
    if (std::fabs(mantissa) < 1 && group > kFirst) mantissa *= 1000, --group;
    if (std::fabs(mantissa) >= 999.5 && group < kLast) mantissa /= 1000, ++group;
    const double size = std::fabs(mantissa);
    const QStringView pattern = size < 9.995 ? u"0.00" : size < 99.95 ? u"0.0" : u"0";
    return NumberRules::formatPattern(mantissa, pattern) + u' ' +
           QLatin1String(kPrefixes[group - kFirst]) + QLatin1String(unit);
}

}  // namespace MatchText
