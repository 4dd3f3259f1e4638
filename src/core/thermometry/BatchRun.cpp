// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/BatchRun.h"

#include "core/store/Names.h"

#include "core/thermometry/Equations.h"
#include "core/thermometry/RootRule.h"
#include "core/thermometry/SampleColumns.h"
#include "core/thermometry/Uncertainty.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <thread>

namespace Batch {

namespace {

double isoDelta(double deltaA, double deltaB, bool exact)
{
    if (exact) return 1000.0 * std::log((1000.0 + deltaA) / (1000.0 + deltaB));
    // In double precision: near a curve's turning point a Δ rounded to single
    // precision moves the temperature by a tenth of a degree.
    return deltaA - deltaB;
}

} // namespace

std::optional<double> ValueOf(Kind kind, const Values &v, bool exact, QString *why, int *column)
{
    auto fail = [why, column](const QString &text, int at) {
        if (why) *why = text;
        if (column) *column = at;
        return std::optional<double>();
    };
    if (kind == Kind::Isotope) {
        if (!v.a) return fail(QCoreApplication::translate("Batch", "缺少δA"), ValueA);
        if (!v.b) return fail(QCoreApplication::translate("Batch", "缺少δB"), ValueB);
        if (exact && *v.a <= -1000)
            return fail(QCoreApplication::translate("Batch", "δ值必须大于-1000‰"), ValueA);
        if (exact && *v.b <= -1000)
            return fail(QCoreApplication::translate("Batch", "δ值必须大于-1000‰"), ValueB);
        return isoDelta(*v.a, *v.b, exact);
    }
    if (v.a || v.b) {
        if (!v.a) return fail(QCoreApplication::translate("Batch", "缺少含量A"), ValueA);
        if (!v.b) return fail(QCoreApplication::translate("Batch", "缺少含量B"), ValueB);
        if (*v.b == 0) return fail(QCoreApplication::translate("Batch", "含量B为零"), ValueB);
        return *v.a / *v.b;
    }
    if (!v.k) return fail(QCoreApplication::translate("Batch", "缺少含量或K"), K);
    return *v.k;
}

bool Solved(Status s)
{
    return s == Status::Ok || s == Status::OutOfRange || s == Status::TwoSolutions || s == Status::NoRange;
}

namespace {

// A calibration's equation as the solver takes it, formed once for all the
// draws of a result: the scaled constants, or the trace form.
struct Curve {
    explicit Curve(Kind k, const Calibration &cal, const TraceEquation::Conditions &at = {})
        : Curve(k, cal, k == Kind::Trace ? cal.form() : TraceEquation::Form(), at)
    {
    }
    // With the trace form made already (once for all the rows of a pair).
    Curve(Kind k, const Calibration &cal, const TraceEquation::Form &f, const TraceEquation::Conditions &at)
        : kind(k), aPrime(IsoEquation::APrime(cal.a)), bPrime(IsoEquation::BPrime(cal.b)), c(cal.c), form(f),
          conditions(at), range(cal.range)
    {
    }

    // The temperature (kelvin) of one value on one branch of the equation.
    std::optional<double> kelvinOnBranch(double value, int branch) const
    {
        if (kind == Kind::Trace) return TraceEquation::Kelvin(form, value, conditions);
        return IsoEquation::KelvinOnBranch(value, aPrime, bPrime, c, branch);
    }

    // Every root of the value, chosen by the calculators' root rule.
    RootRule::Choice choose(double value) const
    {
        RootRule::Root roots[2];
        int n = 0;
        for (int branch : {+1, -1}) {
            if (kind == Kind::Trace && branch < 0) break; // log K = A/T + B has one root
            if (const std::optional<double> k = kelvinOnBranch(value, branch)) roots[n++] = {*k, branch};
        }
        return RootRule::Choose(roots, n, range);
    }

    Kind kind;
    double aPrime, bPrime, c;
    TraceEquation::Form form;
    TraceEquation::Conditions conditions;
    const std::optional<CalibrationRange> &range;
};

} // namespace

std::optional<double> SolveCelsius(Kind kind, const Calibration &cal, double value)
{
    const RootRule::Choice c = Curve(kind, cal).choose(value);
    if (!c.first) return std::nullopt;
    return c.first->kelvin - 273.15;
}

double Slope(Kind kind, const Calibration &cal, double kelvin, const TraceEquation::Conditions &conditions)
{
    if (kind == Kind::Isotope) return IsoEquation::Slope(cal.a, cal.b, kelvin);
    const TraceEquation::Form form = cal.form();
    if (!form.hasTerms()) return TraceEquation::Slope(cal.a, kelvin);
    return 1.0 / TraceEquation::Sensitivities(form, kelvin, conditions).logK;
}

std::optional<std::array<double, 3>> CoefficientGradient(Kind kind, const Calibration &cal, double kelvin,
                                                         const TraceEquation::Conditions &conditions)
{
    if (kind == Kind::Isotope) {
        // ∂T/∂θ = -(∂Δ/∂θ)/(∂Δ/∂T), with ∂Δ/∂(A, B, C) = (10^6/T², 10^3/T, 1).
        const double slope = Slope(kind, cal, kelvin);
        if (!(std::fabs(slope) > 0) || !std::isfinite(slope)) return std::nullopt;
        return std::array<double, 3>{-1e6 / (kelvin * kelvin) / slope, -1e3 / kelvin / slope, -1 / slope};
    }
    // T = N/D with N = A + C·P^n + E·X and D = log K - B - ...: ∂T/∂A = 1/D = T/N,
    // ∂T/∂B = N/D² = T²/N.
    const TraceEquation::Form form = cal.form();
    const double n = form.a + (form.c != 0 ? form.c * std::pow(conditions.pressureKbar, form.n) : 0.0) +
                     form.e * conditions.x;
    if (!(std::fabs(n) > 0) || !std::isfinite(n)) return std::nullopt;
    return std::array<double, 3>{kelvin / n, kelvin * kelvin / n, 0.0};
}

namespace {

// The window's and the files' one decimal.
constexpr int kShownDecimals = 1;

Status statusOf(RootRule::Standing standing)
{
    switch (standing) {
    case RootRule::Standing::InRange: return Status::Ok;
    case RootRule::Standing::TwoInRange: return Status::TwoSolutions;
    case RootRule::Standing::NoRangeStated: return Status::NoRange;
    case RootRule::Standing::OutOfRange: return Status::OutOfRange;
    case RootRule::Standing::NoRoot: break;
    }
    return Status::NoSolution;
}

// The lower triangle L of a 3×3 covariance (AA AB AC BB BC CC), Σ = L·Lᵀ, so
// that L·z draws from it. A direction without variance (a coefficient the fit
// held at 0) keeps a zero column.
struct Cholesky3 {
    double l[3][3] = {};

    static std::optional<Cholesky3> Of(const std::array<double, 6> &k)
    {
        const double s[3][3] = {{k[0], k[1], k[2]}, {k[1], k[3], k[4]}, {k[2], k[4], k[5]}};
        Cholesky3 c;
        for (int j = 0; j < 3; ++j) {
            double d = s[j][j];
            for (int m = 0; m < j; ++m) d -= c.l[j][m] * c.l[j][m];
            if (!(d > 1e-14 * std::max(1e-300, s[j][j]))) {
                if (d < -1e-9 * std::fabs(s[j][j])) return std::nullopt; // not a covariance
                continue;
            }
            c.l[j][j] = std::sqrt(d);
            for (int i = j + 1; i < 3; ++i) {
                double v = s[i][j];
                for (int m = 0; m < j; ++m) v -= c.l[i][m] * c.l[j][m];
                c.l[i][j] = v / c.l[j][j];
            }
        }
        return c;
    }
    std::array<double, 3> times(const double z[3]) const
    {
        return {l[0][0] * z[0], l[1][0] * z[0] + l[1][1] * z[1],
                l[2][0] * z[0] + l[2][1] * z[1] + l[2][2] * z[2]};
    }
};

struct Scratch {
    std::vector<float> first, second;
    std::vector<double> deviates;
};

// The conditions of a trace sample for one calibration: the pressure and X it
// takes must be given (else the missing column), activities not given are 1.
int traceConditions(const Values &v, const Calibration &cal, const TraceEquation::Form &form,
                    TraceEquation::Conditions *at, uint8_t *flags)
{
    if (form.usesPressure() && !v.pressure) return Pressure;
    if (form.usesComposition() && !v.x) return X;
    at->pressureKbar = v.pressure.value_or(0);
    at->x = v.x.value_or(0);
    at->aTiO2 = v.aTiO2.value_or(1);
    at->aSiO2 = v.aSiO2.value_or(1);
    if (form.usesTiO2() && !v.aTiO2) *flags |= TiO2Defaulted;
    if (form.usesSiO2() && !v.aSiO2) *flags |= SiO2Defaulted;
    if (form.usesPressure() && cal.pressureRange && !cal.pressureRange->contains(at->pressureKbar))
        *flags |= PressureOutside;
    if (form.usesComposition() && cal.compositionRange && !cal.compositionRange->contains(at->x))
        *flags |= CompositionOutside;
    return -1;
}

// The σ of each condition a form uses (0 where none is given or the form does not use it).
struct ConditionSigmas {
    double pressure = 0, x = 0, aSiO2 = 0, aTiO2 = 0;
    bool any() const { return pressure > 0 || x > 0 || aSiO2 > 0 || aTiO2 > 0; }
};

ConditionSigmas conditionSigmas(const Values &v, const TraceEquation::Form &form)
{
    ConditionSigmas s;
    if (form.usesPressure()) s.pressure = v.sigmaPressure.value_or(0);
    if (form.usesComposition()) s.x = v.sigmaX.value_or(0);
    if (form.usesSiO2()) s.aSiO2 = v.sigmaASiO2.value_or(0);
    if (form.usesTiO2()) s.aTiO2 = v.sigmaATiO2.value_or(0);
    return s;
}

void solveOne(Kind kind, int index, const Values &v, double value, const Calibration &cal,
              const TraceEquation::Form &form, int calIndex, const Options &options, Scratch &scratch,
              Result &r)
{
    r.sample = index;
    r.cal = &cal;
    r.value = value;
    TraceEquation::Conditions at;
    if (kind == Kind::Trace) {
        const int missing = traceConditions(v, cal, form, &at, &r.conditions);
        if (missing >= 0) {
            r.status = Status::MissingInput;
            r.column = int16_t(missing);
            r.problem = missing == Pressure
                            ? QCoreApplication::translate("Batch", "缺少压力")
                            : QCoreApplication::translate("Batch", "缺少%1")
                                  .arg(cal.terms.xName.isEmpty() ? QStringLiteral("X") : cal.terms.xName);
            return;
        }
    }
    const Curve curve(kind, cal, form, at);
    const RootRule::Choice choice = curve.choose(value);
    if (!choice.first) {
        r.status = Status::NoSolution;
        return;
    }
    r.status = statusOf(RootRule::Judge(
        choice, cal.range, RootRule::AsShown(choice.first->kelvin - 273.15, kShownDecimals), kShownDecimals));
    const double kelvin = choice.first->kelvin;
    r.celsius = kelvin - 273.15;
    if (choice.second) r.second = SecondRoot{choice.second->kelvin - 273.15, {}, {}, {}, 0};

    // The calibration's own error, where it publishes the covariance of its
    // coefficients: σ² = gᵀ·Σ·g with g = ∂T/∂(A, B, C).
    if (cal.covariance) {
        if (const std::optional<std::array<double, 3>> g = CoefficientGradient(kind, cal, kelvin, at)) {
            const std::array<double, 6> &k = *cal.covariance; // AA AB AC BB BC CC
            const double variance =
                (*g)[0] * (*g)[0] * k[0] + (*g)[1] * (*g)[1] * k[3] + (*g)[2] * (*g)[2] * k[5] +
                2 * ((*g)[0] * (*g)[1] * k[1] + (*g)[0] * (*g)[2] * k[2] + (*g)[1] * (*g)[2] * k[4]);
            if (std::isfinite(variance) && variance >= 0) r.sigmaCalibration = std::sqrt(variance);
        }
    }
    r.sigmaValue = SigmaOfValue(kind, v, options.exact, cal.logType);
    const ConditionSigmas sc = kind == Kind::Trace ? conditionSigmas(v, curve.form) : ConditionSigmas{};
    // ±1σ: the analytical part and the calibration's, added in quadrature.
    auto total = [&r] {
        r.sigmaAnalytical = r.sigma;
        if (r.sigmaCalibration)
            r.sigma = std::sqrt(r.sigma.value_or(0) * r.sigma.value_or(0) +
                                *r.sigmaCalibration * *r.sigmaCalibration);
    };
    if (!r.sigmaValue && !sc.any() && !cal.covariance) return total();
    if (kind == Kind::Trace) {
        // Each input's part, added in quadrature.
        const TraceEquation::Sensitivity d = TraceEquation::Sensitivities(curve.form, kelvin, at);
        const double sv = r.sigmaValue.value_or(0);
        const double parts[][2] = {
            {d.logK, sv}, {d.pressure, sc.pressure}, {d.x, sc.x}, {d.aSiO2, sc.aSiO2}, {d.aTiO2, sc.aTiO2}};
        double variance = 0;
        for (const auto &p : parts)
            if (p[1] > 0) variance += (p[0] * p[1]) * (p[0] * p[1]);
        if (std::isfinite(variance) && (r.sigmaValue || sc.any())) r.sigma = std::sqrt(variance);
    } else if (r.sigmaValue) {
        r.sigma = LinearSigma(*r.sigmaValue, Slope(kind, cal, kelvin));
        if (r.second) r.second->sigma = LinearSigma(*r.sigmaValue, Slope(kind, cal, choice.second->kelvin));
    }
    total();

    // The coefficients are drawn too where the calibration publishes their covariance.
    const std::optional<Cholesky3> coefficients =
        cal.covariance ? Cholesky3::Of(*cal.covariance) : std::nullopt;
    if (options.draws <= 0 || (r.sigmaValue.value_or(0) == 0 && !sc.any() && !coefficients)) return;
    // Each draw is solved on the branch of the result it belongs to; a draw with
    // no temperature there is counted, not moved onto the other branch.
    Normal normal(StreamSeed(options.seed, options.firstRow + index, calIndex));
    scratch.first.clear();
    scratch.second.clear();
    const double sa = v.sigmaA.value_or(0), sb = v.sigmaB.value_or(0);
    const double a0 = v.a.value_or(0), b0 = v.b.value_or(0);
    const int branch1 = choice.first->branch, branch2 = choice.second ? choice.second->branch : 0;
    Curve drawnCurve = curve;
    // The deviates of a draw, in this order: δA (or A), δB (or B), the three
    // coefficients, then the conditions; made a block of draws at a time.
    const int perDraw = int(sa > 0) + int(sb > 0) + (coefficients ? 3 : 0) + int(sc.pressure > 0) +
                        int(sc.aTiO2 > 0) + int(sc.aSiO2 > 0) + int(sc.x > 0);
    constexpr int kBlock = 256;
    scratch.deviates.resize(size_t(perDraw) * kBlock);
    const double *z = scratch.deviates.data();
    for (int d = 0; d < options.draws; ++d) {
        if (d % kBlock == 0) {
            normal.fill(scratch.deviates.data(), perDraw * std::min(kBlock, options.draws - d));
            z = scratch.deviates.data();
        }
        const double a = sa > 0 ? a0 + sa * *z++ : a0;
        const double b = sb > 0 ? b0 + sb * *z++ : b0;
        std::optional<double> drawn;
        if (kind == Kind::Isotope) {
            if (!options.exact || (a > -1000 && b > -1000)) drawn = isoDelta(a, b, options.exact);
        } else if (!v.a && !v.b) {
            drawn = value; // K typed directly: no σ of its own
        } else if (a > 0 && b > 0) {
            drawn = a / b;
        }
        if (coefficients) {
            // After the values, so that a row without a covariance draws as before.
            const std::array<double, 3> shift = coefficients->times(z);
            z += 3;
            if (kind == Kind::Isotope) {
                drawnCurve.aPrime = 1e6 * (cal.a + shift[0]);
                drawnCurve.bPrime = 1e3 * (cal.b + shift[1]);
                drawnCurve.c = cal.c + shift[2];
            } else {
                drawnCurve.form.a = curve.form.a + shift[0];
                drawnCurve.form.b = curve.form.b + shift[1];
            }
        }
        if (sc.any()) {
            // The conditions drawn after the values, so that a sample without
            // their σ draws exactly as before. A pressure below 0 or an
            // activity of 0 or below gives no temperature.
            TraceEquation::Conditions &c = drawnCurve.conditions;
            c.pressureKbar = sc.pressure > 0 ? at.pressureKbar + sc.pressure * *z++ : at.pressureKbar;
            c.aTiO2 = sc.aTiO2 > 0 ? at.aTiO2 + sc.aTiO2 * *z++ : at.aTiO2;
            c.aSiO2 = sc.aSiO2 > 0 ? at.aSiO2 + sc.aSiO2 * *z++ : at.aSiO2;
            c.x = sc.x > 0 ? at.x + sc.x * *z++ : at.x;
            if (c.pressureKbar < 0 || !(c.aTiO2 > 0) || !(c.aSiO2 > 0)) drawn.reset();
        }
        const std::optional<double> t1 = drawn ? drawnCurve.kelvinOnBranch(*drawn, branch1) : std::nullopt;
        if (t1)
            scratch.first.push_back(float(*t1 - 273.15));
        else
            ++r.failedDraws;
        if (!r.second) continue;
        const std::optional<double> t2 = drawn ? drawnCurve.kelvinOnBranch(*drawn, branch2) : std::nullopt;
        if (t2)
            scratch.second.push_back(float(*t2 - 273.15));
        else
            ++r.second->failedDraws;
    }
    r.draws = options.draws;
    Interval95(scratch.first, &r.lo95, &r.hi95);
    if (r.second) Interval95(scratch.second, &r.second->lo95, &r.second->hi95);
}

// What a pair's rows share: its calibrations, and whether it is a one-mineral one.
struct PairInfo {
    std::vector<const Calibration *> calibrations;
    std::vector<TraceEquation::Form> forms; // trace: each calibration's, made once
    bool single = false;                    // mineral B 单矿物
    QString missing;                        // the type or a mineral not given: why
    int missingColumn = -1;
    QString unknown; // no calibration, and a name neither the names table nor the library knows
};

// Why a pair has no calibration when one of its names is known nowhere: the
// name and its nearest known spelling.
QString unknownName(Kind kind, const SampleColumns::PairNames &names, const Library &library)
{
    const Names::Table &table = Names::Table::Shared();
    if (kind == Kind::Isotope && !library.knows(Names::Kind::Type, names.type))
        return Names::UnknownMessage(Names::Kind::Type, names.type,
                                     table.nearest(Names::Kind::Type, names.type));
    for (const QString &mineral : {names.mineralA, names.mineralB})
        if (!library.knows(Names::Kind::Mineral, mineral))
            return Names::UnknownMessage(Names::Kind::Mineral, mineral,
                                         table.nearest(Names::Kind::Mineral, mineral));
    return QString();
}

std::vector<PairInfo> resolvePairs(Kind kind, const SampleColumns &table, const Library &library)
{
    std::vector<PairInfo> pairs(table.pairCount());
    for (uint32_t p = 0; p < table.pairCount(); ++p) {
        const SampleColumns::PairNames names = table.pairNames(p);
        PairInfo &info = pairs[p];
        info.single = Names::Table::Shared().stored(Names::Kind::Mineral, names.mineralB) == kSingleMineral;
        if (names.type.isEmpty()) {
            info.missing = kind == Kind::Isotope ? QCoreApplication::translate("Batch", "缺少同位素")
                                                 : QCoreApplication::translate("Batch", "缺少元素");
            info.missingColumn = Type;
        } else if (names.mineralA.isEmpty()) {
            info.missing = QCoreApplication::translate("Batch", "缺少矿物A");
            info.missingColumn = MineralA;
        } else if (names.mineralB.isEmpty()) {
            info.missing = QCoreApplication::translate("Batch", "缺少矿物B");
            info.missingColumn = MineralB;
        } else {
            info.calibrations = library.forPair(names.type, names.mineralA, names.mineralB);
            if (info.calibrations.empty()) info.unknown = unknownName(kind, names, library);
            for (const Calibration *c : info.calibrations)
                info.forms.push_back(kind == Kind::Trace ? c->form() : TraceEquation::Form());
        }
    }
    return pairs;
}

// A row's values and the value its calibrations are solved for, or why it has none.
struct RowInput {
    Values v;
    double value = 0;
    bool exact = false;
    QString why; // not empty: the row is bad input
    int column = -1;
    int sourceColumn = 0;
};

void readRow(Kind kind, const SampleColumns &table, int64_t index, const PairInfo &pair, bool exact,
             RowInput &in)
{
    in.why.clear();
    in.column = -1;
    in.sourceColumn = 0;
    in.exact = exact;
    const QString problem = table.rowProblem(index);
    if (!problem.isEmpty()) {
        in.why = problem;
        in.sourceColumn = table.rowProblemColumn(index);
        return;
    }
    QList<CellProblem> problems;
    in.v = table.values(index, table.hasCellProblem(index) ? &problems : nullptr);
    if (!problems.isEmpty()) {
        in.why = problems.first().why;
        in.column = problems.first().column;
        return;
    }
    Values &v = in.v;
    // A one-mineral thermometer takes its concentration as K: from 含量A (with
    // its σ) as well as from the K column.
    if (kind == Kind::Trace && pair.single && v.a && !v.b && !v.sigmaB) v.b = 1.0;
    // A one-phase isotope calibration (clumped Δ47) is solved for the phase's own
    // value: δB is 0, and the value is no δ that the exact form could take.
    if (kind == Kind::Isotope && pair.single) {
        if (!v.b && !v.sigmaB) v.b = 0.0;
        in.exact = false;
    }
    if (!pair.missing.isEmpty()) {
        in.why = pair.missing;
        in.column = pair.missingColumn;
        return;
    }
    const std::optional<double> value = ValueOf(kind, v, in.exact, &in.why, &in.column);
    if (!value) return;
    if (kind == Kind::Trace && !(*value > 0)) {
        in.why = QCoreApplication::translate("Batch", "K必须大于零");
        in.column = v.k && !v.a ? K : ValueA;
        return;
    }
    in.value = *value;
}

int resultsOf(const RowInput &in, const PairInfo &pair)
{
    return in.why.isEmpty() ? std::max<int>(1, int(pair.calibrations.size())) : 1;
}

// All results of one row, into out[0 .. resultsOf).
void computeRow(Kind kind, const RowInput &in, int index, const PairInfo &pair, const Options &options,
                Scratch &scratch, Result *out)
{
    if (!in.why.isEmpty()) {
        Result &r = out[0];
        r.sample = index;
        r.status = Status::BadInput;
        r.problem = in.why;
        r.column = int16_t(in.column);
        r.sourceColumn = int16_t(std::min(in.sourceColumn, 32767));
        return;
    }
    const std::vector<const Calibration *> &cals = pair.calibrations;
    if (cals.empty()) {
        Result &r = out[0];
        r.sample = index;
        r.status = Status::NoCalibration;
        r.value = in.value;
        if (!pair.unknown.isEmpty()) r.problem = pair.unknown;
        return;
    }
    Options rowOptions = options;
    rowOptions.exact = in.exact;
    for (size_t i = 0; i < cals.size(); ++i)
        solveOne(kind, index, in.v, in.value, *cals[i], pair.forms[i], int(i), rowOptions, scratch, out[i]);
}

} // namespace

Results Compute(Kind kind, const QList<Row> &rows, const Library &library, const Options &options,
                Progress *progress, int threads)
{
    SampleColumns table(kind);
    table.append(rows);
    return Compute(table, library, options, progress, threads);
}

Results Compute(const SampleColumns &table, const Library &library, const Options &options,
                Progress *progress, int threads)
{
    const Kind kind = table.kind();
    const int n = int(std::min<int64_t>(table.rowCount(), std::numeric_limits<int>::max()));
    if (threads <= 0) threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::max(1, std::min(threads, n / 64 + 1));
    const std::vector<PairInfo> pairs = resolvePairs(kind, table, library);

    // Rows go out in chunks, twice: first to count each row's results, so that
    // the second pass writes every result straight into its place.
    // Small enough that every thread has its share when each row costs thousands of draws.
    const int chunk = std::max(1, std::min(1024, n / (threads * 16)));
    const int chunks = (n + chunk - 1) / chunk;
    std::vector<uint32_t> counts(size_t(n) + 1, 0);
    Results results;
    auto parallel = [&](auto &&body) {
        std::atomic<int> next{0};
        auto work = [&] {
            Scratch scratch;
            RowInput in;
            for (;;) {
                if (progress && progress->cancel.load()) return;
                const int c = next.fetch_add(1);
                if (c >= chunks) return;
                body(c * chunk, std::min(n, (c + 1) * chunk), scratch, in);
            }
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t) pool.emplace_back(work);
        work();
        for (std::thread &t : pool) t.join();
    };
    parallel([&](int from, int to, Scratch &, RowInput &in) {
        for (int i = from; i < to; ++i) {
            const PairInfo &pair = pairs[table.pairOf(i)];
            readRow(kind, table, i, pair, options.exact, in);
            counts[size_t(i) + 1] = uint32_t(resultsOf(in, pair));
        }
    });
    if (progress && progress->cancel.load()) return results;
    for (size_t i = 1; i < counts.size(); ++i) counts[i] += counts[i - 1];
    results.resize(counts.back());
    parallel([&](int from, int to, Scratch &scratch, RowInput &in) {
        if (scratch.first.capacity() < size_t(std::max(options.draws, 0)))
            scratch.first.reserve(size_t(std::max(options.draws, 0)));
        for (int i = from; i < to; ++i) {
            if (progress && progress->cancel.load()) return;
            const PairInfo &pair = pairs[table.pairOf(i)];
            readRow(kind, table, i, pair, options.exact, in);
            computeRow(kind, in, i, pair, options, scratch, results.data() + counts[size_t(i)]);
            if (progress) progress->done.fetch_add(1);
        }
        if (progress && progress->report) progress->report(progress->done.load());
    });
    // A cancelled run gives nothing rather than a part that looks whole.
    if (progress && progress->cancel.load()) return {};
    return results;
}

std::vector<Summary> Summarise(const Results &results, int sampleCount)
{
    std::vector<Summary> out(size_t(std::max(sampleCount, 0)));
    std::vector<double> sums(out.size(), 0.0);
    for (size_t i = 0; i < out.size(); ++i) out[i].sample = int(i);
    for (const Result &r : results) {
        // Neither a temperature outside its range nor one of two can stand for the sample.
        const bool counts = r.status == Status::Ok || r.status == Status::NoRange;
        if (!counts || r.sample < 0 || size_t(r.sample) >= out.size()) continue;
        Summary &s = out[size_t(r.sample)];
        if (s.inRange == 0) s.lowest = s.highest = r.celsius;
        s.lowest = std::min(s.lowest, r.celsius);
        s.highest = std::max(s.highest, r.celsius);
        sums[size_t(r.sample)] += r.celsius;
        ++s.inRange;
    }
    for (size_t i = 0; i < out.size(); ++i)
        if (out[i].inRange) out[i].mean = sums[i] / out[i].inRange;
    return out;
}

} // namespace Batch
