// SPDX-License-Identifier: GPL-3.0-or-later
// The temperature routine against the forward equation: Δ computed in double
// precision from a known temperature must come back as that temperature.
#include "core/thermometry/BatchRun.h"
#include "core/thermometry/Equations.h"
#include "support/core/TempDatabase.h"

#include "core/base/AppError.h"
#include <cmath>

#include <gtest/gtest.h>

namespace {

// Δ (isotope) or log K (trace) of a calibration at a temperature, in double precision.
double forward(Batch::Kind kind, const Batch::Calibration &c, double celsius)
{
    const double t = celsius + 273.15;
    if (kind == Batch::Kind::Isotope) return c.a * 1e6 / (t * t) + c.b * 1e3 / t + c.c;
    // The trace rows' full form at the conditions of the sample rows below:
    // 10 kbar, X = 0.3, unit activities.
    return (c.a + c.terms.c * std::pow(10.0, double(c.terms.n)) + c.terms.e * 0.3) / t + c.b +
           c.terms.f * 0.3;
}

// The other temperature of the same Δ: the roots of (Δ - C)T² - B'T - A' = 0
// multiply to -A'/(Δ - C). None for trace, whose equation has one root.
std::optional<double> mirrorOf(Batch::Kind kind, const Batch::Calibration &c, double celsius)
{
    if (kind == Batch::Kind::Trace || c.a == 0) return std::nullopt;
    const double t = celsius + 273.15;
    const double kelvin = -c.a * 1e6 / ((forward(kind, c, celsius) - c.c) * t);
    if (!(kelvin > 0)) return std::nullopt;
    return kelvin - 273.15;
}

double isoDelta(double a, double b, double c, double celsius)
{
    const double t = celsius + 273.15;
    return a * 1e6 / (t * t) + b * 1e3 / t + c;
}

// Where the curve turns (dΔ/dT = 0), in °C.
std::optional<double> turningPoint(Batch::Kind kind, const Batch::Calibration &c)
{
    if (kind == Batch::Kind::Trace || c.a == 0 || c.b == 0) return std::nullopt;
    const double t = -2.0 * 1e6 * c.a / (1e3 * c.b);
    if (t <= 273.15) return std::nullopt;
    return t - 273.15;
}

// Where the calibration holds: its stated range, else 0-1200 ℃.
std::pair<double, double> heldFrom(const Batch::Calibration &c)
{
    if (!c.range) return {0.0, 1200.0};
    const double lo = c.range->low.value_or(0);
    return {lo, c.range->high.value_or(std::max(lo, 0.0) + 600)};
}

// Every calibration of the library as stored (A-B, not turned round).
std::vector<Batch::Calibration> stored(Batch::Kind kind, Connection &conn)
{
    const Batch::Library lib = Batch::Library::Load(conn, kind);
    std::vector<Batch::Calibration> rows;
    for (int i = 0; i < lib.size(); ++i) rows.push_back(lib.at(i));
    return rows;
}

} // namespace

// Every shipped calibration, through the batch core: a value computed from a
// known temperature at the range's ends and middle, and on both sides of a
// turning point, must come back as the first or the second result, and the
// status must say which. Nothing inside a range may be flagged out of it.
TEST(RootRule, EveryShippedCalibrationGivesBackTheTemperaturePutIn)
{
    TempDatabase db(true);
    int checked = 0, two = 0;
    for (Batch::Kind kind : {Batch::Kind::Isotope, Batch::Kind::Trace}) {
        for (const Batch::Calibration &c : stored(kind, db.conn())) {
            const auto [lo, hi] = heldFrom(c);
            std::vector<double> points{lo, (lo + hi) / 2, hi};
            if (const std::optional<double> turn = turningPoint(kind, c))
                for (double t : {*turn - 25, *turn + 25})
                    if (t >= lo && t <= hi) points.push_back(t);
            Batch::Library one;
            one.add(c);
            for (double celsius : points) {
                if (celsius + 273.15 < 1) continue;
                const double value = forward(kind, c, celsius);
                Batch::Row row;
                row.cells =
                    kind == Batch::Kind::Isotope
                        ? QStringList{"s", c.type, c.mineralA, c.mineralB, QString::number(value, 'g', 17),
                                      "",  "0",    ""}
                        : QStringList{
                              "s",
                              c.type,
                              c.mineralA,
                              c.mineralB,
                              "",
                              "",
                              "",
                              "",
                              QString::number(std::pow(c.logType == "e" ? M_E : 10.0, value), 'g', 17),
                              "10",
                              "",
                              "",
                              "",
                              "",
                              "",
                              "0.3"};
                Batch::Options options;
                options.draws = 0;
                const Batch::Results r = Batch::Compute(kind, {row}, one, options);
                const std::string where = (c.type + " " + c.mineralA + "-" + c.mineralB + " " +
                                           c.remark.left(30) + " at " + QString::number(celsius))
                                              .toStdString();
                ASSERT_EQ(r.size(), 1u) << where;
                const std::optional<double> mirror = mirrorOf(kind, c, celsius);
                // The mirror counts as a second result when it, too, lies where the
                // calibration holds (half a degree of slack, as a shown end) and is
                // another temperature.
                const bool mirrorFits = mirror && *mirror >= lo - 0.5 && *mirror <= hi + 0.5 &&
                                        std::fabs(*mirror - celsius) > 0.5;
                if (mirrorFits) {
                    ++two;
                    EXPECT_EQ(r[0].status, Batch::Status::TwoSolutions) << where;
                    ASSERT_TRUE(r[0].second) << where;
                    const double nearer =
                        std::fabs(r[0].celsius - celsius) < std::fabs(r[0].second->celsius - celsius)
                            ? r[0].celsius
                            : r[0].second->celsius;
                    const double other = nearer == r[0].celsius ? r[0].second->celsius : r[0].celsius;
                    EXPECT_NEAR(nearer, celsius, 0.05) << where;
                    EXPECT_NEAR(other, *mirror, 0.05) << where;
                } else {
                    EXPECT_EQ(r[0].status, c.range ? Batch::Status::Ok : Batch::Status::NoRange) << where;
                    EXPECT_NEAR(r[0].celsius, celsius, 0.05) << where;
                    EXPECT_FALSE(r[0].second) << where;
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 600);
    EXPECT_GT(two, 20); // the mineral-water curves that turn inside their range
}

TEST(RootRule, EachSignCaseOfTheQuadratic)
{
    auto celsius = [](float a, float b, float c, double t,
                      std::optional<CalibrationRange> range = std::nullopt) {
        const double k = t + 273.15;
        const double delta = double(a) * 1e6 / (k * k) + double(b) * 1e3 / k + double(c);
        return double(IsoEquation::T(float(delta), float(1e6 * a), float(1e3 * b), c, range)) - 273.15;
    };
    // d > 0, A' > 0: the one positive root, as always.
    EXPECT_NEAR(celsius(3.38f, 0, -3.4f, 271), 271, 0.1);
    // d < 0, A' < 0 (albite-calcite): the formula's first root is negative.
    EXPECT_NEAR(celsius(-0.57f, 0, 0, 700), 700, 0.1);
    // Hydrogen kaolinite-water: A' < 0, C < 0.
    EXPECT_NEAR(celsius(-2.2f, 0, -7.7f, 100), 100, 0.1);
    // d < 0, A' > 0, B' < 0 (magnetite-water): two positive roots, 500 °C and about
    // 76 °C; the one in the range is taken...
    EXPECT_NEAR(celsius(1.7764f, -7.3851f, 0, 500, ReadRange(QStringLiteral("200-900"))), 500, 0.1);
    // ... and with no range stated, both lie in 0-1200 ℃: the formula's own root comes first.
    EXPECT_NEAR(celsius(1.7764f, -7.3851f, 0, 500),
                -1.7764e6 / (isoDelta(1.7764, -7.3851, 0, 500) * 773.15) - 273.15, 0.1);
    // ... unless only the lower one lies in the calibration's range.
    EXPECT_NEAR(celsius(1.7764f, -7.3851f, 0, 100, ReadRange(QStringLiteral("50-150"))), 100, 0.1);
    // d > 0, A' < 0, B' > 0: two positive roots again; the lower one when only it is in range.
    EXPECT_NEAR(celsius(-1.0f, 5.0f, 0, 600), 600, 0.1);
    EXPECT_NEAR(celsius(-1.0f, 5.0f, 0, 60, ReadRange(QStringLiteral("0-100"))), 60, 0.1);
    // Neither root fits: the one nearer the range, which the caller flags.
    EXPECT_NEAR(celsius(3.38f, 0, -3.4f, 600, ReadRange(QStringLiteral("200-500"))), 600, 0.1);
    // Both roots negative: no temperature (0 or below).
    EXPECT_LE(IsoEquation::T(-10.0f, 1e6f, 1e4f, 0), 0.0f);
}

TEST(RootRule, TheOnlyPositiveRootIsUnchangedBitForBit)
{
    // The former routine: the first root of the formula, nothing else.
    auto former = [](float delta, float aPrime, float bPrime, float c) {
        const float d = float(double(delta) - double(c));
        const float disc = float(std::pow(double(bPrime), 2) + double(4.0f * aPrime * d));
        return float((double(bPrime) + std::sqrt(double(disc))) / double(2.0f * d));
    };
    for (float delta : {0.5f, 2.0f, 8.0f, 12.25f, 30.0f})
        for (float a : {0.38f, 2.78f, 3.38f, 4.1f})
            for (float b : {0.0f, 0.15249f, 1.2255f}) {
                const float aPrime = float(1e6 * a), bPrime = float(1e3 * b);
                EXPECT_EQ(IsoEquation::T(delta, aPrime, bPrime, -3.4f), former(delta, aPrime, bPrime, -3.4f));
            }
}

// A result is judged as it is shown: Δ at a range's end gives back a hair either
// side of it, which shows as the end; past that it is outside, and 0 is never "-0".
TEST(RootRule, ResultsAreJudgedAsShown)
{
    const std::optional<CalibrationRange> range = ReadRange(QStringLiteral("200-500"));
    const std::optional<CalibrationRange> fine =
        ReadRange(QStringLiteral("2.31-24.53")); // ends finer than shown
    struct Case {
        double celsius;
        std::optional<CalibrationRange> range;
        RootRule::Standing standing;
    } cases[] = {
        {199.96, range, RootRule::Standing::InRange},             // shows 200.0
        {199.94, range, RootRule::Standing::OutOfRange},          // shows 199.9, though it fitted
        {500.04, range, RootRule::Standing::InRange},             // shows 500.0
        {500.6, range, RootRule::Standing::OutOfRange},           // fits nothing
        {-0.04, std::nullopt, RootRule::Standing::NoRangeStated}, // shows 0.0, within 0-1200
        {1200.06, std::nullopt, RootRule::Standing::OutOfRange},
        {2.3099, fine, RootRule::Standing::InRange},  // shows 2.3, as the end 2.31 does
        {2.24, fine, RootRule::Standing::OutOfRange}, // shows 2.2
        {24.549, fine, RootRule::Standing::InRange},  // shows 24.5
    };
    for (const Case &c : cases) {
        const RootRule::Root root{c.celsius + 273.15, +1};
        const RootRule::Choice choice = RootRule::Choose(&root, 1, c.range);
        EXPECT_EQ(RootRule::Judge(choice, c.range, RootRule::AsShown(c.celsius, 1), 1), c.standing)
            << c.celsius;
    }
    EXPECT_EQ(QString::number(RootRule::AsShown(-0.04, 1), 'f', 1), QStringLiteral("0.0"));
    EXPECT_EQ(RootRule::AsShown(726.85, 1), 726.9); // 1000 K, stored a little above the tie
}

// Near a turning point the draws are solved on their result's branch: none fold
// onto the other one, the failures are counted, and each interval holds its result.
TEST(RootRule, DrawsStayOnTheirResultsBranch)
{
    Batch::Library lib;
    Batch::Calibration c;
    c.type = QStringLiteral("氧同位素");
    c.mineralA = QStringLiteral("磁铁矿");
    c.mineralB = QStringLiteral("水");
    c.a = double(1.7764f);
    c.b = double(-7.3851f);
    c.remark = QStringLiteral("200-900");
    lib.add(c);
    const double turn = 2e6 * c.a / (-1e3 * c.b) - 273.15; // about 208 °C
    Batch::Row row;
    const double delta = isoDelta(c.a, c.b, 0, 212);
    row.cells =
        QStringList{"M", "氧同位素", "磁铁矿", "水", QString::number(delta, 'g', 17), "0.05", "0", ""};
    Batch::Options options;
    options.draws = 4000;
    const Batch::Result r = Batch::Compute(Batch::Kind::Isotope, {row}, lib, options)[0];
    ASSERT_EQ(r.status, Batch::Status::TwoSolutions);
    ASSERT_TRUE(r.second && r.lo95 && r.hi95 && r.second->lo95 && r.second->hi95);
    // Δ beyond the curve's extremum has no temperature on either branch: about
    // half the draws here, and the same draws on both.
    EXPECT_GT(r.failedDraws, options.draws / 5);
    EXPECT_EQ(r.failedDraws, r.second->failedDraws);
    const bool firstIsLow = r.celsius < r.second->celsius;
    const double low = firstIsLow ? r.celsius : r.second->celsius;
    const double high = firstIsLow ? r.second->celsius : r.celsius;
    EXPECT_NEAR(high, 212, 0.05);
    EXPECT_NEAR(low, -1e6 * c.a / (delta * (212 + 273.15)) - 273.15, 0.05);
    // The lower branch's draws never cross the turning point, nor the upper's.
    EXPECT_LE(firstIsLow ? *r.hi95 : *r.second->hi95, turn + 1e-6);
    EXPECT_GE(firstIsLow ? *r.second->lo95 : *r.lo95, turn - 1e-6);
}
