#include "core/thermometry/Uncertainty.h"

#include <algorithm>
#include <cmath>

namespace Batch {

double Normal::next()
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

uint64_t Normal::raw()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t StreamSeed(uint64_t seed, int64_t sample, int calibration)
{
    return seed * 0x9E3779B97F4A7C15ull ^ (uint64_t(uint32_t(sample)) << 20) ^
           uint64_t(uint32_t(calibration));
}

double Quantile(std::vector<float> &values, double p)
{
    const double h = p * double(values.size() - 1);
    const size_t k = size_t(std::floor(h));
    std::nth_element(values.begin(), values.begin() + qsizetype(k), values.end());
    const double lo = values[k];
    if (k + 1 >= values.size()) return lo;
    const double hi = *std::min_element(values.begin() + qsizetype(k) + 1, values.end());
    return lo + (h - double(k)) * (hi - lo);
}

void Interval95(std::vector<float> &draws, std::optional<double> *lo, std::optional<double> *hi)
{
    if (draws.size() < 2) return;
    *lo = Quantile(draws, 0.025);
    *hi = Quantile(draws, 0.975);
}

std::optional<double> SigmaOfValue(Kind kind, const Values &v, bool exact, const QString &logType)
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
    return logType == QLatin1String("10") ? rel / std::log(10.0) : rel;
}

std::optional<double> LinearSigma(double sigmaValue, double slope)
{
    slope = std::fabs(slope);
    if (!(slope > 0) || !std::isfinite(slope)) return std::nullopt;
    return sigmaValue / slope;
}

} // namespace Batch
