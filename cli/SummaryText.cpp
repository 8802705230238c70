#include "cli/SummaryText.h"

#include "cli/JsonText.h"
#include "core/analysis/SweepChange.h"
#include "platform/runtime/NumberRules.h"

namespace SummaryText {
namespace {

std::string jsonEdges(const std::optional<SweepSummary::Edges>& edges) {
    if (!edges) return "null";
    return JsonText::Object(
        {{"low_hz", JsonText::Number(edges->lowHz)}, {"high_hz", JsonText::Number(edges->highHz)}});
}

QString signedText(double value, QStringView pattern) {
    const QString text = NumberRules::formatPattern(value, pattern);
    return text.startsWith(u'-') || NumberRules::leadingNumber(text) == 0 ? text : u'+' + text;
}

QString bandLine(const char* label, const std::optional<SweepSummary::Edges>& edges,
                 const char* threshold) {
    QString line = QStringLiteral("  %1").arg(QLatin1String(label), -12);
    if (!edges) {
        return line +
               QStringLiteral("none (the lowest SWR is above %1)\n").arg(QLatin1String(threshold));
    }
    return line +
           QStringLiteral("%1 - %2 MHz, %3 kHz wide\n")
               .arg(Mhz(edges->lowHz), Mhz(edges->highHz),
                    NumberRules::formatPattern((edges->highHz - edges->lowHz) / 1e3, u"0.0"));
}

}  // namespace

QString Mhz(double hz) { return NumberRules::formatPattern(hz / 1e6, u"#0.000"); }

std::string Json(const Sweep& sweep, const SweepSummary& summary, const JsonText::Members& more) {
    JsonText::Members members{
        {"band", JsonText::String(sweep.band)},
        {"start_hz", JsonText::Number(sweep.StartHz())},
        {"end_hz", JsonText::Number(sweep.EndHz())},
        {"points", std::to_string(sweep.points.size())},
        {"min_swr", JsonText::Number(summary.minSwr)},
        {"min_swr_hz", JsonText::Number(summary.minSwrHz)},
        {"resonance_hz", JsonText::Number(summary.resonanceHz)},
        {"swr2", jsonEdges(summary.swr2)},
        {"swr1_5", jsonEdges(summary.swr1_5)},
    };
    members.insert(members.end(), more.begin(), more.end());
    return JsonText::Object(members);
}

QString Readable(const QString& title, const Sweep& sweep, const SweepSummary& summary,
                 const SweepSummary* previous) {
    QString text = title + u':';
    const std::optional<double> start = sweep.StartHz();
    const std::optional<double> end = sweep.EndHz();
    if (start && end) text += QStringLiteral(" %1 - %2 MHz,").arg(Mhz(*start), Mhz(*end));
    text += QStringLiteral(" %1 points\n").arg(sweep.points.size());
    if (!summary.minSwr) return text;

    text += QStringLiteral("  %1%2 at %3 MHz\n")
                .arg(QStringLiteral("lowest SWR"), -12)
                .arg(NumberRules::formatPattern(*summary.minSwr, u"0.00"), Mhz(*summary.minSwrHz));
    text += QStringLiteral("  %1%2\n")
                .arg(QStringLiteral("resonance"), -12)
                .arg(summary.resonanceHz ? Mhz(*summary.resonanceHz) + QStringLiteral(" MHz")
                                         : QStringLiteral("none (the reactance does not cross 0)"));
    text += bandLine("SWR 2:1", summary.swr2, "2");
    text += bandLine("SWR 1.5:1", summary.swr1_5, "1.5");
    if (!previous || !previous->minSwr) return text;

    const SweepChange since = SweepChange::Between(summary, *previous);
    QString change =
        QStringLiteral("lowest SWR %1, moved %2 kHz")
            .arg(signedText(*since.minSwr, u"0.00"), signedText(*since.minSwrHz / 1e3, u"0.0"));
    if (since.resonanceHz)
        change +=
            QStringLiteral("; resonance %1 kHz").arg(signedText(*since.resonanceHz / 1e3, u"0.0"));
    return text + QStringLiteral("  %1%2\n").arg(QStringLiteral("change"), -12).arg(change);
}

}  // namespace SummaryText
