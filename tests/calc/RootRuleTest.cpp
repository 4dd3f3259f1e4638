// The temperature routine against the forward equation: Δ computed in double
// precision from a known temperature must come back as that temperature.
#include "calc/Equations.h"
#include "support/TempDatabase.h"

#include "app/AppError.h"
#include <cmath>

#include <gtest/gtest.h>

namespace {

struct Row {
    QString name;
    QString pair; // "mineral A-mineral B"
    float a, b, c;
    std::optional<CalibrationRange> range;
};

std::vector<Row> isotopeRows(TempDatabase &db)
{
    std::vector<Row> rows;
    Recordset rs = db.conn().Execute(QStringLiteral(
        "select IsoType_S, MinA_S, MinB_S, ConstA_N, ConstB_N, ConstC_N, Mark_S, Source_S from Isoplot"));
    for (; !rs.Eof(); rs.MoveNext()) {
        Row r;
        r.name = rs.Fields(0).Text() + QLatin1Char(' ') + rs.Fields(1).Text() + QLatin1Char('-') +
                 rs.Fields(2).Text() + QStringLiteral(" (") + rs.Fields(7).Text().left(40) + QLatin1Char(')');
        r.pair = rs.Fields(1).Text() + QLatin1Char('-') + rs.Fields(2).Text();
        r.a = rs.Fields(3).Single();
        r.b = rs.Fields(4).Single();
        r.c = rs.Fields(5).Single();
        r.range = ReadRange(rs.Fields(6).IsNull() ? QString() : rs.Fields(6).Text());
        rows.push_back(r);
    }
    return rows;
}

double forward(const Row &r, double celsius)
{
    const double t = celsius + 273.15;
    return double(r.a) * 1e6 / (t * t) + double(r.b) * 1e3 / t + double(r.c);
}

// The window's path: A' and B' as single-precision products, Δ in single precision.
double solveCelsius(const Row &r, double delta)
{
    const float aPrime = float(1e6 * double(r.a));
    const float bPrime = float(1e3 * double(r.b));
    return double(IsoEquation::T(float(delta), aPrime, bPrime, r.c, r.range)) - 273.15;
}

// Where the curve turns (dΔ/dT = 0), in °C; none when it is monotonic for T > 0.
std::optional<double> turningPoint(const Row &r)
{
    if (r.a == 0 || r.b == 0) return std::nullopt;
    const double t = -2.0 * 1e6 * double(r.a) / (1e3 * double(r.b));
    if (t <= 0) return std::nullopt;
    return t - 273.15;
}

// A temperature the measurement can tell apart from the curve's mirror root: the
// other root (same Δ) lies outside the range, or the range holds only one branch.
bool unambiguous(const Row &r, double celsius)
{
    const std::optional<double> turn = turningPoint(r);
    if (!turn) return true;
    const double t = celsius + 273.15;
    // Roots multiply to -A'/(Δ - C): the mirror of t.
    const double mirror = -1e6 * double(r.a) / ((forward(r, celsius) - double(r.c)) * t);
    return !(r.range && r.range->containsKelvin(mirror)) || std::fabs(mirror - t) < 0.5;
}

} // namespace

TEST(RootRule, EveryRangedCalibrationOfTheLibraryInvertsAtItsEndsAndMiddle)
{
    TempDatabase db(true);
    int checked = 0;
    QStringList ambiguous;
    for (const Row &r : isotopeRows(db)) {
        if (!r.range) continue;
        const double lo = r.range->low.value_or(0), hi = r.range->high.value_or(lo + 600);
        for (double celsius : {lo, (lo + hi) / 2, hi}) {
            if (!unambiguous(r, celsius)) {
                // Both roots lie in the range: the same Δ belongs to two temperatures
                // and the larger is taken. Check it is a true root of the same Δ.
                const double got = solveCelsius(r, forward(r, celsius));
                EXPECT_NEAR(forward(r, got), forward(r, celsius), 1e-3) << r.name.toStdString();
                EXPECT_GE(got, celsius - 1) << r.name.toStdString();
                ambiguous << r.pair + QLatin1Char('@') + QString::number(celsius);
                continue;
            }
            EXPECT_NEAR(solveCelsius(r, forward(r, celsius)), celsius, 1.0)
                << r.name.toStdString() << " at " << celsius << " °C";
            ++checked;
        }
    }
    EXPECT_GT(checked, 340);
    // DBOXYGEN mineral-water curves that turn inside 200-900 °C; only points whose
    // mirror root also lies in the range are ambiguous. Every other curve of the
    // library is monotonic over its range.
    ambiguous.sort();
    QStringList expected{"铁铝榴石-水@900", "镁铝榴石-水@900", "钙铝榴石-水@900", "角闪石-水@900",
                         "绿泥石-水@900",   "黑云母-水@900",   "镁橄榄石-水@550", "镁橄榄石-水@900",
                         "磁铁矿-水@200",   "赤铁矿-水@200",   "赤铁矿-水@550",   "金红石-水@550",
                         "金红石-水@900",   "磷灰石-水@900",   "锆石-水@900",     "榍石-水@900",
                         "硅灰石-水@900",   "锰铝榴石-水@900", "钙铁榴石-水@900", "韭闪石-水@900",
                         "金云母-水@900",   "铁橄榄石-水@550", "铁橄榄石-水@900", "锡石-水@550",
                         "锡石-水@900",     "黑钨矿-水@900",   "符山石-水@550",   "符山石-水@900"};
    expected.sort();
    EXPECT_EQ(ambiguous, expected);
}

TEST(RootRule, CalibrationsWithoutARangeWhereTheirCurveIsMonotonic)
{
    TempDatabase db(true);
    int checked = 0;
    for (const Row &r : isotopeRows(db)) {
        if (r.range) continue;
        const std::optional<double> turn = turningPoint(r);
        for (double celsius : {100.0, 300.0, 600.0}) {
            if (turn && *turn >= celsius - 50) continue; // not monotonic around here
            EXPECT_NEAR(solveCelsius(r, forward(r, celsius)), celsius, 1.0)
                << r.name.toStdString() << " at " << celsius << " °C";
            ++checked;
        }
    }
    EXPECT_GT(checked, 15);
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
    // d < 0, A' > 0, B' < 0 (magnetite-water): two positive roots, the upper branch.
    EXPECT_NEAR(celsius(1.7764f, -7.3851f, 0, 500), 500, 0.1);
    // ... unless only the lower one lies in the calibration's range.
    EXPECT_NEAR(celsius(1.7764f, -7.3851f, 0, 100, ReadRange(QStringLiteral("50-150"))), 100, 0.1);
    // d > 0, A' < 0, B' > 0: two positive roots again; the lower one when only it is in range.
    EXPECT_NEAR(celsius(-1.0f, 5.0f, 0, 600), 600, 0.1);
    EXPECT_NEAR(celsius(-1.0f, 5.0f, 0, 60, ReadRange(QStringLiteral("0-100"))), 60, 0.1);
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
