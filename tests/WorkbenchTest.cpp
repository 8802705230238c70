#include <gtest/gtest.h>

#include <QStringList>
#include <complex>

#include "TestSweeps.h"
#include "core/NumberText.h"
#include "core/analysis/LMatch.h"
#include "core/files/FigureTable.h"

namespace {

using Figures = std::array<double, 7>;  // the table's columns after x_ohm; kNone: empty
using Complex = std::complex<double>;

// Row i of the table against `want`, each figure within 1e-12 or empty.
void expectRow(const Sweep& sweep, std::size_t i, const Figures& want, const std::string& name) {
    const QStringList fields = QString::fromUtf8(FigureTable::Write(sweep))
                                   .split(u'\n')
                                   .value(qsizetype(i + 1))
                                   .split(u',');
    ASSERT_EQ(fields.size(), 11) << name;
    for (std::size_t k = 0; k < want.size(); ++k) {
        const QString& field = fields[qsizetype(k + 4)];
        if (std::isnan(want[k])) {
            EXPECT_EQ(field, QString()) << name << " column " << k + 4;
        } else {
            EXPECT_NEAR(NumberText::Whole(field.toStdString()).value_or(kNone), want[k],
                        1e-12 * std::fabs(want[k]))
                << name << " column " << k + 4;
        }
    }
}

}  // namespace

// The expected figures are the output of tests/data/workbench.py (run with the
// shared folder), which works them out in Python from the CSV apart from this
// code, for the first and the lowest-SWR point of each sweep.
TEST(Workbench, TableOfTheSharedSweepsAsWorkedOutApart) {
    const struct {
        const char* name;
        std::size_t point;
        Figures want;
    } cases[] = {
        {"magloop-20m", 0, 1.5768932204669732, 0.8339794300513833, 22.641826251431223,
         76.17611217765686, 4.063955637707949, 2.563502255544624e-07, kNone},
        {"magloop-20m", 245, 21.292494129695335, 0.08617380974138723, 54.87047020939405,
         -8.305389611077901, 0.145980292844645, kNone, 1.4349084531766576e-09},
        {"vertical-hf-choke", 0, 4.491147653116919, 0.5962695304614639, 14.152320657757864,
         -24.888244660208535, 0.46393519239756975, kNone, 7.634795312860757e-09},
        {"vertical-hf-choke", 130, 27.63842622057406, 0.04150292341608359, 47.50006957889641,
         3.7383311741051695, 0.06533893120108018, 4.102395828178109e-08, kNone},
    };
    for (const auto& c : cases) {
        const auto sweep = SharedSweep(c.name);
        if (!sweep) GTEST_SKIP() << "no data set " << c.name;
        expectRow(*sweep, c.point, c.want, c.name + std::to_string(c.point));
    }
}

// Worked out apart from the code, by hand and checked with Python's math
// module: rho = (s - 1) / (s + 1), RL = -20 log10 rho, |Z|, atan2(X, R) in
// degrees, |X| / R, X / (2 pi f) or -1 / (2 pi f X).
TEST(Workbench, FiguresLeftEmptyWhereThePointDefinesNone) {
    const struct {
        const char* name;
        double swr, r, x, hz;
        Figures want;
    } cases[] = {
        {"perfect match: no return loss", 1, 50, 0, 1e6, kNone, 0, 50, 0, 0, kNone, kNone},
        {"3-4-5 inductive", 3, 30, 40, 1e6, 6.020599913279624, 0.5, 50, 53.13010235415598, 4 / 3.0,
         6.366197723675814e-06, kNone},
        {"no resistance: no Q", 2, 0, -5, 1e6, 9.54242509439325, 1 / 3.0, 5, -90, kNone, kNone,
         3.183098861837907e-08},
        {"SWR below 1, negative R", 0.5, -3, 0, 1e6, kNone, kNone, 3, 180, kNone, kNone, kNone},
        {"0 Hz: no finite L", 1.5, 10, 10, 0, 13.979400086720375, 0.2, 14.142135623730951, 45, 1,
         kNone, kNone},
    };
    for (const auto& c : cases) {
        Sweep sweep;
        sweep.pointHz = {c.hz};
        sweep.points = {{{c.swr, c.r, c.x}}};
        expectRow(sweep, 0, c.want, c.name);
    }
}

// The counts worked out by hand: series next to the load needs 0 < R <= 50,
// shunt next to it G <= 1/50; two solutions each; a part of zero reactance
// drops out, which can make two networks one circuit. What each network
// presents to the line is worked out from its parts as a circuit: jwL and
// 1/(jwC) in series, their admittances added across.
TEST(Workbench, EveryMatchingNetworkPresents50Ohms) {
    const Complex jw(0, 2 * M_PI * 7.1e6);
    const auto impedanceOf = [&](const LumpedPart& part) {
        return part.kind == LumpedPart::Kind::L ? jw * part.value : 1.0 / (jw * part.value);
    };
    const struct {
        const char* name;
        double r, x;
        std::size_t networks;
    } cases[] = {
        {"R and G both small: all four", 10, -40, 4},
        {"small R, large X", 3, 200, 4},
        {"G exactly 1/50, inductive", 25, 25, 2},
        {"G exactly 1/50, capacitive", 10, -20, 2},
        {"R exactly 50: one series part", 50, 30, 3},
        {"50 ohms already: nothing to add", 50, 0, 1},
        {"R below 50, X 0", 25, 0, 2},
        {"R above 50, X 0", 100, 0, 2},
        {"high R and X", 1000, 500, 2},
        {"magloop-20m's lowest SWR: R above 50", 54.295, -7.926, 2},
        {"vertical-hf-choke's lowest SWR: G above 1/50", 47.399, 3.097, 2},
        {"no resistance", 0, 10, 0},
        {"negative resistance", -5, 10, 0},
    };
    for (const auto& c : cases) {
        const auto networks = LMatch::Networks({c.r, c.x}, 7.1e6);
        EXPECT_EQ(networks.size(), c.networks) << c.name;
        for (const LMatch::Network& network : networks) {
            const auto series = [&](Complex z) {
                return network.series ? z + impedanceOf(*network.series) : z;
            };
            const auto shunt = [&](Complex z) {
                return network.shunt ? 1.0 / (1.0 / z + 1.0 / impedanceOf(*network.shunt)) : z;
            };
            const bool seriesFirst = network.nextToLoad == LMatch::Place::Series;
            const Complex load(c.r, c.x);
            const Complex zin = seriesFirst ? shunt(series(load)) : series(shunt(load));
            EXPECT_LE(std::abs(zin - 50.0) / 50, 1e-9) << c.name << ": " << zin;
            for (const auto& part : {network.series, network.shunt})
                EXPECT_TRUE(!part || (part->value > 0 && std::isfinite(part->value))) << c.name;
            // A network of one part is named by where that part sits.
            if (bool(network.series) != bool(network.shunt)) {
                EXPECT_EQ(seriesFirst, bool(network.series)) << c.name;
            }
        }
    }
}

TEST(Workbench, MatchAtTheNearestPointOrTheLowestSwr) {
    Sweep sweep;
    sweep.pointHz = {3e6, 2e6, 1e6};  // downwards
    sweep.points = {{{1.5, 40, 3}}, {{1.2, 45, 2}}, {{1.2, 48, 1}}};
    const std::pair<std::optional<double>, double> cases[] = {
        {std::nullopt, 2e6},  // the first of the two lowest
        {2.5e6, 2e6},         // as near to 2 as to 3 MHz: the lower
        {1.4e6, 1e6},
        {99e6, 3e6},
    };
    for (const auto& [target, hz] : cases) {
        const auto match = LMatch::Of(sweep, target);
        ASSERT_TRUE(match);
        EXPECT_EQ(match->hz, hz) << target.value_or(-1);
        EXPECT_EQ(match->xOhm, hz / 1e6) << "the point's own R and X";
    }
}
