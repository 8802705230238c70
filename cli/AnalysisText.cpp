#include "cli/AnalysisText.h"

#include <cmath>

#include "cli/SummaryText.h"
#include "core/NumberText.h"
#include "core/analysis/BandCoverage.h"
#include "core/analysis/Dip.h"
#include "core/analysis/TrimAdvice.h"
#include "platform/runtime/NumberRules.h"

namespace AnalysisText {
namespace {

using JsonText::Number;
using SummaryText::Mhz;

QString swrText(double swr) { return NumberRules::formatPattern(swr, u"0.00"); }

QString label(const QString& text) { return QStringLiteral("  %1").arg(text, -12); }
QString label(const char* text) { return label(QString::fromLatin1(text)); }

std::string dipsJson(const std::vector<Dip>& dips) {
    std::vector<std::string> list;
    for (const Dip& dip : dips) {
        list.push_back(JsonText::Object({{"min_swr", Number(dip.minSwr)},
                                         {"min_swr_hz", Number(dip.minSwrHz)},
                                         {"low_hz", Number(dip.edges.lowHz)},
                                         {"high_hz", Number(dip.edges.highHz)},
                                         {"resonance_hz", Number(dip.resonanceHz)}}));
    }
    return JsonText::List(list);
}

std::string bandsJson(const std::vector<BandCoverage>& bands) {
    std::vector<std::string> list;
    for (const BandCoverage& band : bands) {
        list.push_back(JsonText::Object({{"band", JsonText::String(band.band)},
                                         {"low_hz", Number(band.lowHz)},
                                         {"high_hz", Number(band.highHz)},
                                         {"swr_low", Number(band.swrLow)},
                                         {"swr_centre", Number(band.swrCentre)},
                                         {"swr_high", Number(band.swrHigh)},
                                         {"min_swr", Number(band.minSwr)},
                                         {"min_swr_hz", Number(band.minSwrHz)},
                                         {"within_2", JsonText::Bool(band.within2)}}));
    }
    return JsonText::List(list);
}

std::string trimJson(const std::optional<TrimAdvice>& trim) {
    if (!trim) return "null";
    return JsonText::Object({{"target_hz", Number(trim->targetHz)},
                             {"from_hz", Number(trim->fromHz)},
                             {"percent", Number(trim->percent)},
                             {"change_m", Number(trim->changeM)}});
}

QString dipsText(const std::vector<Dip>& dips, double threshold) {
    const QString swr = QString::fromStdString(NumberText::Shortest(threshold));
    QString text = label("dips") + (dips.empty() ? QStringLiteral("none ") : QString()) +
                   QStringLiteral("at or below SWR %1\n").arg(swr);
    for (const Dip& dip : dips) {
        const QString resonance =
            dip.resonanceHz ? QStringLiteral("resonance %1 MHz").arg(Mhz(*dip.resonanceHz))
                            : QStringLiteral("no resonance");
        text += QStringLiteral("    %1 at %2 MHz: %3 - %4 MHz, %5\n")
                    .arg(swrText(dip.minSwr), Mhz(dip.minSwrHz), Mhz(dip.edges.lowHz),
                         Mhz(dip.edges.highHz), resonance);
    }
    return text;
}

QString bandsText(const std::vector<BandCoverage>& bands) {
    if (bands.empty()) return label("bands") + QStringLiteral("none covered whole\n");
    const auto column = [](const QString& text) { return text.rightJustified(7); };
    QString text = label("bands (SWR)") + column(QStringLiteral("low")) +
                   column(QStringLiteral("centre")) + column(QStringLiteral("high")) +
                   QStringLiteral("   lowest\n");
    for (const BandCoverage& band : bands) {
        text += label(band.band) + column(swrText(band.swrLow)) + column(swrText(band.swrCentre)) +
                column(swrText(band.swrHigh)) +
                QStringLiteral("   %1 at %2 MHz%3\n")
                    .arg(swrText(band.minSwr), Mhz(band.minSwrHz),
                         band.within2 ? QStringLiteral(", within 2:1") : QString());
    }
    return text;
}

QString trimText(const TrimAdvice& trim, const std::optional<double>& lengthM) {
    QString text =
        label("trim") +
        QStringLiteral("to move %1 to %2 MHz: ").arg(Mhz(trim.fromHz), Mhz(trim.targetHz));
    // Less than the figure shows is nothing to cut.
    if (std::fabs(trim.percent) < 0.005) return text + QStringLiteral("leave it as it is\n");
    text += QStringLiteral("%1 by %2 %")
                .arg(trim.percent > 0 ? QStringLiteral("lengthen") : QStringLiteral("shorten"),
                     NumberRules::formatPattern(std::fabs(trim.percent), u"0.00"));
    if (trim.changeM && lengthM) {
        const double metres = std::fabs(*trim.changeM);
        const QString change =
            metres < 1 ? NumberRules::formatPattern(100 * metres, u"0.0") + QStringLiteral(" cm")
                       : NumberRules::formatPattern(metres, u"0.000") + QStringLiteral(" m");
        text += QStringLiteral(" (%1 of %2 m)")
                    .arg(change, NumberRules::formatPattern(*lengthM, u"0.000"));
    }
    return text + u'\n';
}

}  // namespace

JsonText::Members Json(const Sweep& sweep, const SweepAnalyses& asked) {
    JsonText::Members members;
    if (asked.dipsThreshold)
        members.emplace_back("dips", dipsJson(Dip::AllOf(sweep, *asked.dipsThreshold)));
    if (asked.bands) members.emplace_back("bands", bandsJson(BandCoverage::AllOf(sweep)));
    if (asked.targetHz) {
        members.emplace_back("trim",
                             trimJson(TrimAdvice::For(sweep, *asked.targetHz, asked.lengthM)));
    }
    return members;
}

std::string ChangeJson(const SweepChange& change) {
    return JsonText::Object({{"min_swr", Number(change.minSwr)},
                             {"min_swr_hz", Number(change.minSwrHz)},
                             {"resonance_hz", Number(change.resonanceHz)},
                             {"swr2_width_hz", Number(change.swr2WidthHz)}});
}

QString Readable(const Sweep& sweep, const SweepAnalyses& asked) {
    QString text;
    if (asked.dipsThreshold)
        text += dipsText(Dip::AllOf(sweep, *asked.dipsThreshold), *asked.dipsThreshold);
    if (asked.bands) text += bandsText(BandCoverage::AllOf(sweep));
    if (asked.targetHz) {
        if (const auto trim = TrimAdvice::For(sweep, *asked.targetHz, asked.lengthM))
            text += trimText(*trim, asked.lengthM);
    }
    return text;
}

}  // namespace AnalysisText
