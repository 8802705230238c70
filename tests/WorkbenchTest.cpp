#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <cmath>
#include <complex>
#include <limits>

#include "core/NumberText.h"
#include "core/analysis/LMatch.h"
#include "core/files/CsvFile.h"
#include "core/files/FigureTable.h"

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = 3.14159265358979323846;
using Figures = std::array<double, 7>;  // the table's columns after x_ohm; kNone: empty

std::optional<Sweep> sharedSweep(const char* name) {
    QFile file(QStringLiteral(VANTREL_SHARED_DIR "/antenna-data/%1.csv").arg(name));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    QString error;
    return CsvFile::Read(std::string_view(bytes.constData(), std::size_t(bytes.size())), &error);
}

// Row i of the table, each figure against `want`: empty where it is kNone,
// else within 1e-12 of it.
void expectRow(const Sweep& sweep, std::size_t i, const Figures& want, const std::string& name) {
    const QStringList rows = QString::fromUtf8(FigureTable::Write(sweep)).split(u'\n');
    ASSERT_GT(rows.size(), qsizetype(i + 1)) << name;
    const QStringList fields = rows[qsizetype(i + 1)].split(u',');
    ASSERT_EQ(fields.size(), 11) << name;
    EXPECT_EQ(fields.mid(0, 4).join(u','), QString::fromStdString(CsvFile::Row(sweep, i))) << name;
    for (std::size_t k = 0; k < want.size(); ++k) {
        const QString& field = fields[qsizetype(k + 4)];
        if (std::isnan(want[k])) {
            EXPECT_EQ(field, QString()) << name << " column " << k + 4;
            continue;
        }
        const auto got = NumberText::Whole(field.toStdString());
        ASSERT_TRUE(got) << name << " column " << k + 4 << ": " << field.toStdString();
        EXPECT_NEAR(*got, want[k], 1e-12 * std::fabs(want[k])) << name << " column " << k + 4;
    }
}

// What a network presents to the line, worked out from its parts' values
// as a circuit: jwL and 1/(jwC) in series, their admittances across.
std::complex<double> inputImpedance(const LMatch::Network& network, std::complex<double> load,
                                    double hz) {
    const std::complex<double> jw(0, 2 * kPi * hz);
    const auto impedanceOf = [&](const std::optional<LumpedPart>& part) {
        if (!part) return std::complex<double>(0);
        return part->kind == LumpedPart::Kind::L ? jw * part->value : 1.0 / (jw * part->value);
    };
    const auto withSeries = [&](std::complex<double> z) { return z + impedanceOf(network.series); };
    const auto withShunt = [&](std::complex<double> z) {
        return network.shunt ? 1.0 / (1.0 / z + 1.0 / impedanceOf(network.shunt)) : z;
    };
    return network.nextToLoad == LMatch::Place::Series ? withShunt(withSeries(load))
                                                       : withSeries(withShunt(load));
}

void expectNetworksMatch(const std::vector<LMatch::Network>& networks, std::complex<double> load,
                         double hz, const std::string& name) {
    for (std::size_t n = 0; n < networks.size(); ++n) {
        const LMatch::Network& network = networks[n];
        const std::complex<double> zin = inputImpedance(network, load, hz);
        EXPECT_LE(std::abs(zin - 50.0) / 50, 1e-9) << name << " network " << n << ": " << zin;
        for (const auto& part : {network.series, network.shunt})
            EXPECT_TRUE(!part || (part->value > 0 && std::isfinite(part->value))) << name;
        if (!network.series || !network.shunt) {
            EXPECT_EQ(network.nextToLoad,
                      network.shunt ? LMatch::Place::Shunt : LMatch::Place::Series)
                << name << " network " << n << " is named by its one part";
        }
        for (std::size_t other = 0; other < n; ++other)
            EXPECT_FALSE(networks[other] == network) << name << " network " << n << " twice";
    }
}

}  // namespace

// The expected figures are the output of tests/data/workbench.py (run with the
// shared folder), which works them out in Python from the CSV apart from this
// code: the first, last and lowest-SWR point and the first point of each sign
// of reactance.
TEST(Workbench, TableOfTheSharedSweepsAsWorkedOutApart) {
    const struct {
        const char* name;
        std::size_t point;
        Figures want;
    } cases[] = {
        {"magloop-20m", 0, 1.5768932204669732, 0.8339794300513833, 22.641826251431223,
         76.17611217765686, 4.063955637707949, 2.563502255544624e-07, kNone},
        {"magloop-20m", 237, 17.523091749238326, 0.1329980925958037, 65.33811766495879,
         -0.10873715341640296, 0.0018978236248431235, kNone, 9.179713957801469e-08},
        {"magloop-20m", 245, 21.292494129695335, 0.08617380974138723, 54.87047020939405,
         -8.305389611077901, 0.145980292844645, kNone, 1.4349084531766576e-09},
        {"magloop-20m", 499, 1.6088187595050236, 0.8309197122253502, 34.60999082634955,
         78.71636533144262, 5.011961015948021, 3.764374859569352e-07, kNone},
        {"vertical-hf-choke", 0, 4.491147653116919, 0.5962695304614639, 14.152320657757864,
         -24.888244660208535, 0.46393519239756975, kNone, 7.634795312860757e-09},
        {"vertical-hf-choke", 4, 4.984915440812781, 0.5633187772925764, 13.984161111772131,
         2.668235699866809, 0.046603192784021766, 2.754116638831044e-08, kNone},
        {"vertical-hf-choke", 130, 27.63842622057406, 0.04150292341608359, 47.50006957889641,
         3.7383311741051695, 0.06533893120108018, 4.102395828178109e-08, kNone},
        {"vertical-hf-choke", 400, 5.6412732746946626, 0.5223196159449712, 125.48185712683727,
         33.82582545692004, 0.6700945875942519, 3.743195651466355e-07, kNone},
    };
    for (const auto& c : cases) {
        const auto sweep = sharedSweep(c.name);
        if (!sweep) GTEST_SKIP() << "no data set " << c.name;
        expectRow(*sweep, c.point, c.want,
                  c.name + std::string(" point ") + std::to_string(c.point));
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
        {"SWR below 1: neither", 0.5, 50, 0, 1e6, kNone, kNone, 50, 0, 0, kNone, kNone},
        {"3-4-5 inductive", 3, 30, 40, 1e6, 6.020599913279624, 0.5, 50, 53.13010235415598, 4 / 3.0,
         6.366197723675814e-06, kNone},
        {"no resistance: no Q", 2, 0, -5, 1e6, 9.54242509439325, 1 / 3.0, 5, -90, kNone, kNone,
         3.183098861837907e-08},
        {"negative resistance", 99.9, -3, 0, 1e6, 0.17389749279462208, 0.9801783944499505, 3, 180,
         kNone, kNone, kNone},
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
// drops out, which can make two networks one circuit.
TEST(Workbench, EveryMatchingNetworkPresents50Ohms) {
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
        {"R above 50, capacitive", 200, -150, 2},
        {"high R and X", 1000, 500, 2},
        {"no resistance", 0, 10, 0},
        {"negative resistance", -5, 10, 0},
    };
    constexpr double kHz = 7.1e6;
    for (const auto& c : cases) {
        const auto networks = LMatch::Networks({c.r, c.x}, kHz);
        EXPECT_EQ(networks.size(), c.networks) << c.name;
        expectNetworksMatch(networks, {c.r, c.x}, kHz, c.name);
    }
    // Worked out by hand: 25 + j25 at 7.1 MHz takes a shunt capacitor of 0.02 S.
    const auto networks = LMatch::Networks({25, 25}, kHz);
    ASSERT_EQ(networks.size(), 2u);
    EXPECT_FALSE(networks[0].series);
    EXPECT_EQ(networks[0].shunt->kind, LumpedPart::Kind::C);
    EXPECT_NEAR(networks[0].shunt->value, 4.4832378335745165e-10, 1e-21);

    // The shared sweeps at their lowest SWR: above 50 ohms the loop takes
    // only a shunt part next to it, the vertical (G above 1/50) only a series one.
    const std::pair<const char*, LMatch::Place> antennas[] = {
        {"magloop-20m", LMatch::Place::Shunt}, {"vertical-hf-choke", LMatch::Place::Series}};
    for (const auto& [name, place] : antennas) {
        const auto sweep = sharedSweep(name);
        if (!sweep) GTEST_SKIP() << "no data set " << name;
        const auto match = LMatch::Of(*sweep, std::nullopt);
        ASSERT_TRUE(match) << name;
        EXPECT_EQ(match->networks.size(), 2u) << name;
        for (const auto& network : match->networks) EXPECT_EQ(network.nextToLoad, place) << name;
        expectNetworksMatch(match->networks, {match->rOhm, match->xOhm}, match->hz, name);
    }
}

TEST(Workbench, MatchAtTheNearestPointOrTheLowestSwr) {
    Sweep sweep;
    sweep.pointHz = {3e6, 2e6, 1e6};  // downwards
    sweep.points = {{{1.5, 40, 3}}, {{1.2, 45, 2}}, {{1.2, 48, 1}}};
    const struct {
        std::optional<double> targetHz;
        double hz;
    } cases[] = {
        {std::nullopt, 2e6},  // the first of the two lowest
        {2.5e6, 2e6},         // as near to 2 as to 3 MHz: the lower
        {1.4e6, 1e6},        {99e6, 3e6}, {0.0, 1e6},
    };
    for (const auto& c : cases) {
        const auto match = LMatch::Of(sweep, c.targetHz);
        ASSERT_TRUE(match);
        EXPECT_EQ(match->hz, c.hz) << c.targetHz.value_or(-1);
        EXPECT_EQ(match->xOhm, match->hz / 1e6) << "the point's own R and X";
    }
    EXPECT_FALSE(LMatch::Of(Sweep{}, 14e6));
}
