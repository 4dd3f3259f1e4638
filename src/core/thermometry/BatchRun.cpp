#include "core/thermometry/BatchRun.h"

#include "core/database/Connection.h"
#include "core/database/Recordset.h"
#include "core/thermometry/Equations.h"
#include "core/thermometry/RootRule.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

namespace Batch {

namespace {

QString pairKey(const QString &type, const QString &a, const QString &b)
{
    return type.trimmed().toCaseFolded() + QChar(0x1f) + a.trimmed().toCaseFolded() + QChar(0x1f) +
           b.trimmed().toCaseFolded();
}

QString text(const Recordset &rs, int column)
{
    return rs.Fields(column).IsNull() ? QString() : rs.Fields(column).Text();
}

// Constants as the calculators hold them: single precision.
double single(const Recordset &rs, int column)
{
    return rs.Fields(column).IsNull() ? 0.0 : double(rs.Fields(column).Single());
}

// A small, fast generator with a fixed sequence for a seed (splitmix64), and
// normal deviates by the polar method: the same numbers on every machine.
class Normal {
  public:
    explicit Normal(uint64_t seed) : state_(seed) {}
    double next()
    {
        if (spare_) {
            spare_ = false;
            return saved_;
        }
        double u, v, s;
        do {
            u = 2.0 * uniform() - 1.0;
            v = 2.0 * uniform() - 1.0;
            s = u * u + v * v;
        } while (s >= 1.0 || s == 0.0);
        const double f = std::sqrt(-2.0 * std::log(s) / s);
        saved_ = v * f;
        spare_ = true;
        return u * f;
    }

  private:
    uint64_t raw()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(raw() >> 11) * (1.0 / 9007199254740992.0); }

    uint64_t state_;
    bool spare_ = false;
    double saved_ = 0;
};

uint64_t streamSeed(uint64_t seed, int sample, int calibration)
{
    return seed * 0x9E3779B97F4A7C15ull ^ (uint64_t(uint32_t(sample)) << 20) ^
           uint64_t(uint32_t(calibration));
}

// The p-quantile of values (linear between order statistics); reorders them.
double quantile(std::vector<float> &values, double p)
{
    const double h = p * double(values.size() - 1);
    const size_t k = size_t(std::floor(h));
    std::nth_element(values.begin(), values.begin() + qsizetype(k), values.end());
    const double lo = values[k];
    if (k + 1 >= values.size()) return lo;
    const double hi = *std::min_element(values.begin() + qsizetype(k) + 1, values.end());
    return lo + (h - double(k)) * (hi - lo);
}

double isoDelta(double deltaA, double deltaB, bool exact)
{
    if (exact) return 1000.0 * std::log((1000.0 + deltaA) / (1000.0 + deltaB));
    // In double precision: near a curve's turning point a Δ rounded to single
    // precision moves the temperature by a tenth of a degree.
    return deltaA - deltaB;
}

// σ of the value a calibration is solved for.
std::optional<double> sigmaOf(Kind kind, const Values &v, bool exact, const Calibration &cal)
{
    const double sa = v.sigmaA.value_or(0), sb = v.sigmaB.value_or(0);
    if (!v.sigmaA && !v.sigmaB) return std::nullopt;
    if (kind == Kind::Isotope) {
        if (!exact) return std::sqrt(sa * sa + sb * sb);
        const double wa = 1000.0 / (1000.0 + *v.a), wb = 1000.0 / (1000.0 + *v.b);
        return std::sqrt(wa * wa * sa * sa + wb * wb * sb * sb);
    }
    if (!v.a || !v.b) return std::nullopt; // K typed directly carries no σ
    const double rel = std::sqrt((sa / *v.a) * (sa / *v.a) + (sb / *v.b) * (sb / *v.b));
    return cal.logType == QLatin1String("10") ? rel / std::log(10.0) : rel;
}

} // namespace

Library Library::Load(Connection &conn, Kind kind)
{
    Library lib;
    const QString sql =
        kind == Kind::Isotope
            ? QStringLiteral("select IsoType_S, MinA_S, MinB_S, ConstA_N, ConstB_N, ConstC_N, Mark_S, "
                             "Source_S from Isoplot order by ID_N")
            : QStringLiteral("select Element_s, MinA_s, MinB_s, ConstA_sng, ConstB_sng, logType_s, "
                             "Mark_s from TraceElement order by ID_N");
    Recordset rs = conn.Execute(sql);
    for (; !rs.Eof(); rs.MoveNext()) {
        Calibration c;
        c.type = text(rs, 0);
        c.mineralA = text(rs, 1);
        c.mineralB = text(rs, 2);
        c.a = single(rs, 3);
        c.b = single(rs, 4);
        if (kind == Kind::Isotope) {
            c.c = single(rs, 5);
            c.remark = text(rs, 6);
            c.source = text(rs, 7);
        } else {
            c.logType = text(rs, 5);
            c.remark = text(rs, 6);
            c.source = c.remark;
        }
        lib.add(c);
    }
    return lib;
}

void Library::add(const Calibration &stored)
{
    Calibration c = stored;
    c.range = ReadRange(c.remark);
    c.reversed = false;
    direct_[pairKey(c.type, c.mineralA, c.mineralB)].push_back(int(rows_.size()));
    rows_.push_back(c);

    // The same row turned round serves B-A: Δ(B-A) = -Δ(A-B), log K(B/A) = -log K(A/B).
    Calibration r = c;
    std::swap(r.mineralA, r.mineralB);
    r.a = -c.a;
    r.b = -c.b;
    r.c = -c.c;
    r.reversed = true;
    turned_[pairKey(r.type, r.mineralA, r.mineralB)].push_back(int(reversed_.size()));
    reversed_.push_back(r);
}

std::vector<const Calibration *> Library::forPair(const QString &type, const QString &mineralA,
                                                  const QString &mineralB) const
{
    std::vector<const Calibration *> found;
    const QString key = pairKey(type, mineralA, mineralB);
    for (int i : direct_.value(key)) found.push_back(&rows_[size_t(i)]);
    if (key != pairKey(type, mineralB, mineralA))
        for (int i : turned_.value(key)) found.push_back(&reversed_[size_t(i)]);
    return found;
}

std::optional<double> ValueOf(Kind kind, const Values &v, bool exact, QString *why, int *column)
{
    auto fail = [why, column](const QString &text, int at) {
        if (why) *why = text;
        if (column) *column = at;
        return std::optional<double>();
    };
    if (kind == Kind::Isotope) {
        if (!v.a) return fail(QStringLiteral("缺少δA"), ValueA);
        if (!v.b) return fail(QStringLiteral("缺少δB"), ValueB);
        if (exact && *v.a <= -1000) return fail(QStringLiteral("δ值必须大于-1000‰"), ValueA);
        if (exact && *v.b <= -1000) return fail(QStringLiteral("δ值必须大于-1000‰"), ValueB);
        return isoDelta(*v.a, *v.b, exact);
    }
    if (v.a || v.b) {
        if (!v.a) return fail(QStringLiteral("缺少含量A"), ValueA);
        if (!v.b) return fail(QStringLiteral("缺少含量B"), ValueB);
        if (*v.b == 0) return fail(QStringLiteral("含量B为零"), ValueB);
        return *v.a / *v.b;
    }
    if (!v.k) return fail(QStringLiteral("缺少含量或K"), K);
    return *v.k;
}

bool Solved(Status s)
{
    return s == Status::Ok || s == Status::OutOfRange || s == Status::TwoSolutions || s == Status::NoRange;
}

namespace {

// log_b K = A/T + B solved for T, in double precision; empty for no temperature.
std::optional<double> traceKelvin(const Calibration &cal, double k)
{
    if (!(k > 0) || !TraceEquation::IsKnownLogType(cal.logType)) return std::nullopt;
    const double x = cal.logType == QLatin1String("10") ? std::log10(k) : std::log(k);
    const double kelvin = cal.a / (x - cal.b);
    if (!std::isfinite(kelvin) || !(kelvin > 0)) return std::nullopt;
    return kelvin;
}

// The temperature of one value on one branch of the calibration's equation.
std::optional<double> kelvinOnBranch(Kind kind, const Calibration &cal, double value, int branch)
{
    if (kind == Kind::Trace) return traceKelvin(cal, value);
    return IsoEquation::KelvinOnBranch(value, double(IsoEquation::APrime(cal.a)),
                                       double(IsoEquation::BPrime(cal.b)), cal.c, branch);
}

// Every root of the value, chosen by the calculators' root rule.
RootRule::Choice choose(Kind kind, const Calibration &cal, double value)
{
    RootRule::Root roots[2];
    int n = 0;
    for (int branch : {+1, -1}) {
        if (kind == Kind::Trace && branch < 0) break; // log K = A/T + B has one root
        if (const std::optional<double> k = kelvinOnBranch(kind, cal, value, branch))
            roots[n++] = {*k, branch};
    }
    return RootRule::Choose(roots, n, cal.range);
}

} // namespace

std::optional<double> SolveCelsius(Kind kind, const Calibration &cal, double value)
{
    const RootRule::Choice c = choose(kind, cal, value);
    if (!c.first) return std::nullopt;
    return c.first->kelvin - 273.15;
}

double Slope(Kind kind, const Calibration &cal, double kelvin)
{
    if (kind == Kind::Isotope) return IsoEquation::Slope(cal.a, cal.b, kelvin);
    return TraceEquation::Slope(cal.a, kelvin);
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

// Linear ±1σ through the curve at a temperature. For trace the value solved is
// K but the curve is in log K: its σ is already in the log's terms.
std::optional<double> linearSigma(Kind kind, const Calibration &cal, double sigmaValue, double kelvin)
{
    const double slope = std::fabs(Slope(kind, cal, kelvin));
    if (!(slope > 0) || !std::isfinite(slope)) return std::nullopt;
    return sigmaValue / slope;
}

struct Scratch {
    std::vector<float> first, second;
};

void interval(std::vector<float> &draws, std::optional<double> *lo, std::optional<double> *hi)
{
    if (draws.size() < 2) return;
    *lo = quantile(draws, 0.025);
    *hi = quantile(draws, 0.975);
}

void solveOne(Kind kind, int index, const Values &v, double value, const Calibration &cal, int calIndex,
              const Options &options, Scratch &scratch, Result &r)
{
    r.sample = index;
    r.cal = &cal;
    r.value = value;
    const RootRule::Choice choice = choose(kind, cal, value);
    if (!choice.first) {
        r.status = Status::NoSolution;
        return;
    }
    r.status = statusOf(
        RootRule::Judge(choice, cal.range, RootRule::AsShown(choice.first->kelvin - 273.15, kShownDecimals)));
    const double kelvin = choice.first->kelvin;
    r.celsius = kelvin - 273.15;
    if (choice.second) r.second = SecondRoot{choice.second->kelvin - 273.15, {}, {}, {}, 0};

    r.sigmaValue = sigmaOf(kind, v, options.exact, cal);
    if (!r.sigmaValue) return;
    r.sigma = linearSigma(kind, cal, *r.sigmaValue, kelvin);
    if (r.second) r.second->sigma = linearSigma(kind, cal, *r.sigmaValue, choice.second->kelvin);

    if (options.draws <= 0 || *r.sigmaValue == 0) return;
    // Each draw is solved on the branch of the result it belongs to; a draw with
    // no temperature there is counted, not moved onto the other branch.
    Normal normal(streamSeed(options.seed, index, calIndex));
    scratch.first.clear();
    scratch.second.clear();
    const double sa = v.sigmaA.value_or(0), sb = v.sigmaB.value_or(0);
    const double a0 = v.a.value_or(0), b0 = v.b.value_or(0);
    const int branch1 = choice.first->branch, branch2 = choice.second ? choice.second->branch : 0;
    for (int d = 0; d < options.draws; ++d) {
        const double a = sa > 0 ? a0 + sa * normal.next() : a0;
        const double b = sb > 0 ? b0 + sb * normal.next() : b0;
        std::optional<double> drawn;
        if (kind == Kind::Isotope) {
            if (!options.exact || (a > -1000 && b > -1000)) drawn = isoDelta(a, b, options.exact);
        } else if (a > 0 && b > 0) {
            drawn = a / b;
        }
        const std::optional<double> t1 = drawn ? kelvinOnBranch(kind, cal, *drawn, branch1) : std::nullopt;
        if (t1)
            scratch.first.push_back(float(*t1 - 273.15));
        else
            ++r.failedDraws;
        if (!r.second) continue;
        const std::optional<double> t2 = drawn ? kelvinOnBranch(kind, cal, *drawn, branch2) : std::nullopt;
        if (t2)
            scratch.second.push_back(float(*t2 - 273.15));
        else
            ++r.second->failedDraws;
    }
    r.draws = options.draws;
    interval(scratch.first, &r.lo95, &r.hi95);
    if (r.second) interval(scratch.second, &r.second->lo95, &r.second->hi95);
}

// All results of one row.
void computeRow(Kind kind, const Row &row, int index, const Library &library, const Options &options,
                Scratch &scratch, std::vector<Result> &out)
{
    QList<CellProblem> problems;
    const Values v = ReadValues(kind, row, index, &problems);
    auto bad = [&](const QString &why, int column) {
        Result r;
        r.sample = index;
        r.status = Status::BadInput;
        r.problem = why;
        r.column = column;
        out.push_back(r);
    };
    if (!row.problem.isEmpty()) {
        bad(row.problem, -1);
        out.back().sourceColumn = row.problemColumn;
        return;
    }
    if (!problems.isEmpty()) return bad(problems.first().why, problems.first().column);
    const QString type = row.cells.value(Type).trimmed(), a = row.cells.value(MineralA).trimmed(),
                  b = row.cells.value(MineralB).trimmed();
    if (type.isEmpty())
        return bad(kind == Kind::Isotope ? QStringLiteral("缺少同位素") : QStringLiteral("缺少元素"), Type);
    if (a.isEmpty()) return bad(QStringLiteral("缺少矿物A"), MineralA);
    if (b.isEmpty()) return bad(QStringLiteral("缺少矿物B"), MineralB);
    QString why;
    int column = -1;
    const std::optional<double> value = ValueOf(kind, v, options.exact, &why, &column);
    if (!value) return bad(why, column);
    if (kind == Kind::Trace && !(*value > 0))
        return bad(QStringLiteral("K必须大于零"), v.k && !v.a ? K : ValueA);

    const std::vector<const Calibration *> cals = library.forPair(type, a, b);
    if (cals.empty()) {
        Result r;
        r.sample = index;
        r.status = Status::NoCalibration;
        r.value = *value;
        out.push_back(r);
        return;
    }
    for (size_t i = 0; i < cals.size(); ++i) {
        Result r;
        solveOne(kind, index, v, *value, *cals[i], int(i), options, scratch, r);
        out.push_back(r);
    }
}

} // namespace

std::vector<Result> Compute(Kind kind, const QList<Row> &rows, const Library &library, const Options &options,
                            Progress *progress, int threads)
{
    const int n = int(rows.size());
    if (threads <= 0) threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::max(1, std::min(threads, n / 64 + 1));
    // Rows go out in chunks; each chunk's results are kept apart and joined in row order.
    constexpr int chunk = 256;
    const int chunks = (n + chunk - 1) / chunk;
    std::vector<std::vector<Result>> parts(size_t(std::max(chunks, 0)));
    std::atomic<int> next{0};
    auto work = [&] {
        Scratch scratch;
        scratch.first.reserve(size_t(std::max(options.draws, 0)));
        for (;;) {
            if (progress && progress->cancel.load()) return;
            const int c = next.fetch_add(1);
            if (c >= chunks) return;
            std::vector<Result> &part = parts[size_t(c)];
            for (int i = c * chunk; i < std::min(n, (c + 1) * chunk); ++i) {
                if (progress && progress->cancel.load()) return;
                computeRow(kind, rows[i], i, library, options, scratch, part);
                if (progress) progress->done.fetch_add(1);
            }
            if (progress && progress->report) progress->report(progress->done.load());
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread &t : pool) t.join();

    // A cancelled run gives nothing rather than a part that looks whole.
    std::vector<Result> results;
    if (progress && progress->cancel.load()) return results;
    size_t total = 0;
    for (const auto &p : parts) total += p.size();
    results.reserve(total);
    for (auto &p : parts) results.insert(results.end(), p.begin(), p.end());
    return results;
}

std::vector<Summary> Summarise(const std::vector<Result> &results, int sampleCount)
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

QString StatusText(const Result &r)
{
    const bool stated = r.cal && r.cal->range;
    QStringList parts;
    switch (r.status) {
    case Status::Ok: break;
    case Status::OutOfRange:
        parts << (stated ? QStringLiteral("超出适用范围") : QStringLiteral("未注明适用范围，超出0-1200℃"));
        break;
    case Status::TwoSolutions: {
        // Near the curve's turning point one Δ fits two temperatures of the range.
        const QString other = QString::number(RootRule::AsShown(r.second ? r.second->celsius : 0, 1), 'f', 1);
        parts << (stated ? QStringLiteral("另一解%1℃亦在适用范围内").arg(other)
                         : QStringLiteral("另一解%1℃亦在0-1200℃内（未注明适用范围）").arg(other));
        break;
    }
    case Status::NoRange: parts << QStringLiteral("未注明适用范围"); break;
    case Status::NoSolution: parts << QStringLiteral("无解"); break;
    case Status::NoCalibration: parts << QStringLiteral("无标定"); break;
    case Status::BadInput: parts << QStringLiteral("数据无效：") + r.problem; break;
    }
    if (r.failedDraws > 0) parts << QStringLiteral("%1/%2次抽样无解").arg(r.failedDraws).arg(r.draws);
    if (r.second && r.second->failedDraws > 0)
        parts << QStringLiteral("另一解%1/%2次抽样无解").arg(r.second->failedDraws).arg(r.draws);
    if (r.lo95 && r.hi95 && (r.celsius < *r.lo95 || r.celsius > *r.hi95))
        parts << QStringLiteral("95%区间不含此温度");
    return parts.join(QStringLiteral("；"));
}

QString StatusCode(Status s)
{
    switch (s) {
    case Status::Ok: return QStringLiteral("ok");
    case Status::OutOfRange: return QStringLiteral("out_of_range");
    case Status::TwoSolutions: return QStringLiteral("two_solutions");
    case Status::NoRange: return QStringLiteral("no_range");
    case Status::NoSolution: return QStringLiteral("no_solution");
    case Status::NoCalibration: return QStringLiteral("no_calibration");
    case Status::BadInput: return QStringLiteral("bad_input");
    }
    return QString();
}

} // namespace Batch
