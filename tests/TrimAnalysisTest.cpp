#include <gtest/gtest.h>

#include <algorithm>

#include "TestSweeps.h"
#include "core/analysis/BandCoverage.h"
#include "core/analysis/Dip.h"
#include "core/analysis/TrimAdvice.h"

// from and the figures for an element of 2 m, worked out by hand from the
// points (1 MHz apart from 1 MHz).
TEST(TrimAnalysis, WhereTheAdviceMovesFrom) {
    const struct {
        const char* name;
        const char* points;
        double targetHz, fromHz, percent, changeM;
    } cases[] = {
        {"a dip's lowest point nearer than another dip's crossing",
         "3/-20 1/-10 1.5/10 4/30 1.8/5 3/5", 4e6, 5e6, 25, 0.5},
        {"a crossing outside every dip is no band", "1.2/5 1.5/5 3/-5", 2.6e6, 1e6,
         -61.53846153846154, -1.2307692307692308},
        {"two as near: the lower", "1.5/1 3/1 1.5/1", 2e6, 1e6, -50, -1},
        {"no dip: the nearest crossing", "3/5 2.5/-5 4/-5", 1e6, 1.5e6, 50, 1},
        {"no dip, no crossing: the lowest point", "3/5 2.5/5", 1e6, 2e6, 100, 2},
    };
    for (const auto& c : cases) {
        const auto advice = TrimAdvice::For(SmallSweep(c.points), c.targetHz, 2.0);
        ASSERT_TRUE(advice) << c.name;
        EXPECT_EQ(advice->fromHz, c.fromHz) << c.name;
        EXPECT_DOUBLE_EQ(advice->percent, c.percent) << c.name;
        EXPECT_DOUBLE_EQ(*advice->changeM, c.changeM) << c.name;
    }
    EXPECT_FALSE(TrimAdvice::For(Sweep{}, 14e6, 2.0));
    EXPECT_FALSE(TrimAdvice::For(SmallSweep("3/5 2.5/5"), 1e6, std::nullopt)->changeM);
}

// The figures of the shared sweeps as tests/data/trim_figures.py works them
// out, apart from this code, from the same CSVs; this table is its output of
//   python3 tests/data/trim_figures.py ../shared/antenna-data
// Among them: slimjim-2m's 2:1 run reaches the top of its sweep;
// vertical-hf-choke resonates 1.8 MHz below its lowest SWR.
TEST(TrimAnalysis, SharedSweepsAsTheScriptWorksThemOut) {
    const char* const kScript =
        R"(efhw-8band-hf summary: 401 points, 1.1905@6644000.000 res 6728579.006 2:1 6213022.077-7072491.449 1.5:1 6410345.029-6831834.192
efhw-8band-hf dips 3: 1.1905@6644000.000 5917639.369-7644586.878 res 6728579.006
efhw-8band-hf dips 3: 1.4045@13652500.000 12638057.977-14972271.091 res null
efhw-8band-hf dips 3: 2.1143@20530000.000 18832962.885-21764383.675 res 19376784.789
efhw-8band-hf dips 3: 1.6870@27735000.000 24851649.485-29700000.000 res 26638446.041
efhw-8band-hf band 80 Mtrs: 6.5190 7.0208 7.4203 min 6.5190@3500000.000 above
efhw-8band-hf band 60 Mtrs: 5.5706 5.4253 5.2797 min 5.2797@5403500.000 above
efhw-8band-hf band 40 Mtrs: 1.8534 2.1838 2.3938 min 1.8534@7000000.000 above
efhw-8band-hf band 30 Mtrs: 4.5039 4.5042 4.4419 min 4.4419@10150000.000 above
efhw-8band-hf band 20 Mtrs: 1.5744 1.7213 1.9509 min 1.5744@14000000.000 within
efhw-8band-hf band 17 Mtrs: 3.2834 3.2707 3.2614 min 3.2614@18168000.000 above
efhw-8band-hf band 15 Mtrs: 2.2750 2.4586 2.6967 min 2.2750@21000000.000 above
efhw-8band-hf band 12 Mtrs: 2.9844 2.9676 2.9540 min 2.9540@24990000.000 above
efhw-8band-hf band 10 Mtrs: 1.7226 2.1754 2.4771 min 1.7226@28000000.000 above
efhw-8band-hf trim 14175000.000: from 13652500.000 percent -3.686067 change -0.748272
efhw-untuned-hf summary: 101 points, 1.2644@12146000.000 res 12017558.615 2:1 11548284.364-12727423.142 1.5:1 11838712.355-12356242.507
efhw-untuned-hf dips 3: 1.3492@5858000.000 5307499.426-6841943.451 res null
efhw-untuned-hf dips 3: 2.4453@8216000.000 7615068.121-9056514.341 res 8815579.132
efhw-untuned-hf dips 3: 1.2644@12146000.000 10441949.198-29700000.000 res 12017558.615
efhw-untuned-hf band 80 Mtrs: 3.2955 3.3549 3.4116 min 3.2955@3500000.000 above
efhw-untuned-hf band 60 Mtrs: 2.9541 2.8489 2.7403 min 2.7403@5403500.000 above
efhw-untuned-hf band 40 Mtrs: 3.2035 3.3406 3.3370 min 3.2035@7000000.000 above
efhw-untuned-hf band 30 Mtrs: 3.1741 3.1623 3.1505 min 3.1505@10150000.000 above
efhw-untuned-hf band 20 Mtrs: 2.6621 2.6670 2.6951 min 2.6621@14000000.000 above
efhw-untuned-hf band 17 Mtrs: 2.2923 2.3492 2.4060 min 2.2923@18068000.000 above
efhw-untuned-hf band 15 Mtrs: 2.1948 2.1877 2.1974 min 2.1838@21316000.000 above
efhw-untuned-hf band 12 Mtrs: 1.8020 1.8252 1.8499 min 1.8020@24890000.000 within
efhw-untuned-hf band 10 Mtrs: 2.1478 1.9328 1.6355 min 1.6355@29700000.000 above
efhw-untuned-hf trim 14175000.000: from 16076000.000 percent 13.410935 change 2.722420
vertical-hf-choke summary: 401 points, 1.0866@12015000.000 res 10257071.314 2:1 10681565.556-20920480.769 1.5:1 11200954.672-13060016.563
vertical-hf-choke dips 3: 1.0866@12015000.000 4433854.481-28362981.250 res 10257071.314
vertical-hf-choke band 80 Mtrs: 3.9538 3.6023 3.3677 min 3.3677@4000000.000 above
vertical-hf-choke band 60 Mtrs: 1.6598 1.5933 1.5327 min 1.5327@5403500.000 within
vertical-hf-choke band 40 Mtrs: 2.2726 2.3393 2.4200 min 2.2726@7000000.000 above
vertical-hf-choke band 30 Mtrs: 2.5020 2.4887 2.4773 min 2.4773@10150000.000 above
vertical-hf-choke band 20 Mtrs: 1.7260 1.7167 1.7104 min 1.7104@14350000.000 within
vertical-hf-choke band 17 Mtrs: 1.4252 1.4388 1.4456 min 1.4252@18068000.000 within
vertical-hf-choke band 15 Mtrs: 1.9998 2.0157 2.0340 min 1.9998@21000000.000 above
vertical-hf-choke band 12 Mtrs: 2.5396 2.5470 2.5258 min 2.5248@24984000.000 above
vertical-hf-choke band 10 Mtrs: 2.9189 3.0958 3.1869 min 2.9189@28000000.000 above
vertical-hf-choke trim 14175000.000: from 15053153.992 percent 6.195090 change 1.257603
lwa-dipole-ns summary: 1001 points, 1.1972@123560000.000 res 123517273.476 2:1 114628235.294-128008191.011 1.5:1 120126890.244-126008656.716
lwa-dipole-ns dips 3: 1.1972@123560000.000 91500909.091-130745169.972 res 123517273.476
lwa-dipole-ns dips 3: 2.9604@155735000.000 154698250.000-156671666.667 res null
lwa-dipole-ns dips 3: 1.5610@192785000.000 173647663.551-200000000.000 res null
lwa-dipole-ns band 60 Mtrs: 99.9000 99.9000 99.9000 min 99.9000@5330500.000 above
lwa-dipole-ns band 40 Mtrs: 99.9000 99.9000 99.9000 min 99.9000@7000000.000 above
lwa-dipole-ns band 30 Mtrs: 99.9000 99.9000 99.9000 min 99.9000@10100000.000 above
lwa-dipole-ns band 20 Mtrs: 99.9000 99.9000 99.9000 min 99.9000@14000000.000 above
lwa-dipole-ns band 17 Mtrs: 99.9000 99.9000 99.9000 min 99.9000@18068000.000 above
lwa-dipole-ns band 15 Mtrs: 99.9000 99.9000 98.7086 min 98.7086@21450000.000 above
lwa-dipole-ns band 12 Mtrs: 49.2401 49.3241 49.4081 min 49.2401@24890000.000 above
lwa-dipole-ns band 10 Mtrs: 20.9018 16.8379 13.2956 min 13.2956@29700000.000 above
lwa-dipole-ns band 6 Mtrs: 7.3787 7.5831 7.6768 min 7.3750@50045000.000 above
lwa-dipole-ns trim 14175000.000: from 123517273.476 percent 771.374063 change 156.588935
magloop-20m summary: 500 points, 1.1886@13994000.000 res 13981892.919 2:1 13954395.000-14032940.789 1.5:1 13973385.714-14015011.080
magloop-20m dips 3: 1.1886@13994000.000 13926340.909-14061288.889 res 13981892.919
magloop-20m band 20 Mtrs: 1.2268 7.3302 10.8287 min 1.2268@14000000.000 above
magloop-20m trim 14175000.000: from 13981892.919 percent -1.362307 change -0.276548
slimjim-2m summary: 101 points, 1.1253@146200000.000 res 144315819.209 2:1 141320377.358-151000000.000 1.5:1 143266822.430-149216517.857
slimjim-2m dips 3: 1.1253@146200000.000 141000000.000-151000000.000 res 144315819.209
slimjim-2m trim 14175000.000: from 144315819.209 percent 918.101017 change 186.374507
)";
    QString worked;
    for (const char* name : {"efhw-8band-hf", "efhw-untuned-hf", "vertical-hf-choke",
                             "lwa-dipole-ns", "magloop-20m", "slimjim-2m"}) {
        const std::optional<Sweep> sweep = SharedSweep(name);
        if (!sweep) GTEST_SKIP() << "no data set " << name;
        worked += QString::asprintf("%s summary: %d points, ", name, int(sweep->points.size())) +
                  SummaryLine(SweepSummary::Of(*sweep)) + u'\n';
        for (const Dip& d : Dip::AllOf(*sweep, 3)) {
            worked += QString::asprintf("%s dips 3: %.4f@%.3f %.3f-%.3f res ", name, d.minSwr,
                                        d.minSwrHz, d.edges.lowHz, d.edges.highHz) +
                      HzText(d.resonanceHz) + u'\n';
        }
        const auto bands = [name](const Sweep& swept) {
            QString lines;
            for (const BandCoverage& b : BandCoverage::AllOf(swept)) {
                lines += QString::asprintf("%s band %s: %.4f %.4f %.4f min %.4f@%.3f %s\n", name,
                                           qPrintable(b.band), b.swrLow, b.swrCentre, b.swrHigh,
                                           b.minSwr, b.minSwrHz, b.within2 ? "within" : "above");
            }
            return lines;
        };
        worked += bands(*sweep);
        // Swept downwards, an antenna covers the same bands alike.
        Sweep downward = *sweep;
        std::reverse(downward.points.begin(), downward.points.end());
        std::reverse(downward.pointHz.begin(), downward.pointHz.end());
        EXPECT_EQ(bands(downward), bands(*sweep)) << name;
        const auto trim = TrimAdvice::For(*sweep, 14.175e6, 20.3);
        worked += QString::asprintf("%s trim %.3f: from %.3f percent %.6f change %.6f\n", name,
                                    trim->targetHz, trim->fromHz, trim->percent, *trim->changeM);
    }
    EXPECT_EQ(worked.toStdString(), kScript);
}
