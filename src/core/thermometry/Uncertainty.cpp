// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/Uncertainty.h"

#include <algorithm>
#include <cmath>

namespace Batch {

namespace {

constexpr int kLayers = 256;
// The tail's start and the area of each layer for 256 layers (Marsaglia and
// Tsang 2000); the tables are built from these two, and the build checks that
// the top layer closes at the peak.
constexpr double kTail = 3.6541528853610088;
constexpr double kArea = 0.00492867323399;

struct Ziggurat {
    double x[kLayers + 1];
    double ratio[kLayers]; // x[i+1]/x[i]: below it a point lies inside the next layer's box
    double f[kLayers + 1]; // exp(-x²/2) at each edge
    Ziggurat()
    {
        double fx = std::exp(-0.5 * kTail * kTail);
        x[0] = kArea / fx;
        x[1] = kTail;
        x[kLayers] = 0;
        for (int i = 2; i < kLayers; ++i) {
            x[i] = std::sqrt(-2 * std::log(kArea / x[i - 1] + fx));
            fx = std::exp(-0.5 * x[i] * x[i]);
        }
        for (int i = 0; i < kLayers; ++i) ratio[i] = x[i + 1] / x[i];
        for (int i = 0; i <= kLayers; ++i) f[i] = std::exp(-0.5 * x[i] * x[i]);
    }
};

const Ziggurat &ziggurat()
{
    static const Ziggurat z;
    return z;
}

inline uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

inline double unit(uint64_t bits) { return double(bits >> 11) * (1.0 / 9007199254740992.0); }

} // namespace

Normal::Normal(uint64_t seed)
{
    for (uint64_t &word : s_) {
        uint64_t z = (seed += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        word = z ^ (z >> 31);
    }
}

inline uint64_t Normal::raw()
{
    const uint64_t result = rotl(s_[0] + s_[3], 23) + s_[0];
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

// The rare case: outside the layer's box, in the wedge under the curve or in
// the tail; starts again from fresh bits where the point is rejected.
double Normal::slow(uint64_t bits)
{
    const Ziggurat &z = ziggurat();
    for (;;) {
        const int i = int(bits & (kLayers - 1));
        const double u = 2 * unit(bits) - 1;
        if (std::fabs(u) < z.ratio[i]) return u * z.x[i];
        if (i == 0) {
            // The tail beyond x[1] (Marsaglia 1964).
            double t, y;
            do {
                t = std::log(1 - unit(raw())) / kTail;
                y = std::log(1 - unit(raw()));
            } while (-2 * y < t * t);
            return u < 0 ? t - kTail : kTail - t;
        }
        const double v = u * z.x[i];
        const double f0 = std::exp(-0.5 * (z.x[i] * z.x[i] - v * v));
        const double f1 = std::exp(-0.5 * (z.x[i + 1] * z.x[i + 1] - v * v));
        if (f1 + unit(raw()) * (f0 - f1) < 1.0) return v;
        bits = raw();
    }
}

double Normal::next()
{
    const Ziggurat &z = ziggurat();
    const uint64_t bits = raw();
    const int i = int(bits & (kLayers - 1));
    const double u = 2 * unit(bits) - 1;
    if (std::fabs(u) < z.ratio[i]) return u * z.x[i];
    return slow(bits);
}

void Normal::fill(double *out, int n)
{
    const Ziggurat &z = ziggurat();
    for (int k = 0; k < n; ++k) {
        const uint64_t bits = raw();
        const int i = int(bits & (kLayers - 1));
        const double u = 2 * unit(bits) - 1;
        out[k] = std::fabs(u) < z.ratio[i] ? u * z.x[i] : slow(bits);
    }
}

const double *Normal::LayerEdges() { return ziggurat().x; }
double Normal::LayerArea() { return kArea; }

uint64_t StreamSeed(uint64_t seed, int64_t sample, int calibration)
{
    return seed * 0x9E3779B97F4A7C15ull ^ (uint64_t(uint32_t(sample)) << 20) ^
           uint64_t(uint32_t(calibration));
}

namespace {

// The k-th and (k+1)-th smallest of the values (0-based), between which
// Quantile interpolates. The draws are independent, so their first few hundred are a fair
// sample: a threshold read from it holds the two order statistics below (or
// above) it with near certainty, and only the values past it need ordering.
// Where the sample misleads, the whole is ordered: the answer is the same.
std::pair<double, double> orderStatistics(std::vector<float> &values, size_t k, std::vector<float> &kept)
{
    const size_t n = values.size();
    constexpr size_t kSample = 256;
    if (n >= 4 * kSample) {
        const bool low = k < n / 2;
        const size_t rank = low ? k : n - 1 - k; // counted from the near end
        float sample[kSample];
        std::copy(values.begin(), values.begin() + kSample, sample);
        std::sort(sample, sample + kSample);
        // The sample's position for the rank, with a margin of several standard deviations.
        const double p = double(rank + 2) / double(n);
        const double expected = p * kSample, spread = std::sqrt(expected * (1 - p)) + 1;
        const size_t at = size_t(std::min<double>(kSample - 1, expected + 6 * spread + 2));
        if (at < kSample - 1) {
            const float threshold = low ? sample[at] : sample[kSample - 1 - at];
            kept.clear();
            for (const float v : values)
                if (low ? v <= threshold : v >= threshold) kept.push_back(v);
            // The two wanted statistics lie among the kept values when more than rank + 1 are kept.
            if (kept.size() > rank + 1) {
                const size_t j = low ? rank : kept.size() - 1 - rank;
                std::nth_element(kept.begin(), kept.begin() + qsizetype(j), kept.end());
                const double at0 = kept[j];
                if (low) return {at0, *std::min_element(kept.begin() + qsizetype(j) + 1, kept.end())};
                // Above: the (k+1)-th is the least of those above position j.
                const double above = j + 1 < kept.size()
                                         ? *std::min_element(kept.begin() + qsizetype(j) + 1, kept.end())
                                         : at0;
                return {at0, above};
            }
        }
    }
    std::nth_element(values.begin(), values.begin() + qsizetype(k), values.end());
    const double lo = values[k];
    if (k + 1 >= n) return {lo, lo};
    return {lo, *std::min_element(values.begin() + qsizetype(k) + 1, values.end())};
}

} // namespace

double Quantile(std::vector<float> &values, double p)
{
    thread_local std::vector<float> kept;
    const double h = p * double(values.size() - 1);
    const size_t k = size_t(std::floor(h));
    const auto [lo, hi] = orderStatistics(values, k, kept);
    if (k + 1 >= values.size()) return lo;
    return lo + (h - double(k)) * (hi - lo);
}

void Interval95(std::vector<float> &draws, Maybe *lo, Maybe *hi)
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
