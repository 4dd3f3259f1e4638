#pragma once

#include "core/thermometry/BatchTable.h"

#include <cstdint>
#include <optional>
#include <vector>

// The statistics of the batch: the σ of a measured value, its linear
// propagation through a curve, and the seeded draws of the Monte Carlo
// interval with their quantiles.
namespace Batch {

// Normal deviates from a small, fast generator with a fixed sequence for a
// seed (splitmix64, polar method): the same numbers on every machine.
class Normal {
  public:
    explicit Normal(uint64_t seed) : state_(seed) {}
    double next();

  private:
    uint64_t raw();
    double uniform() { return double(raw() >> 11) * (1.0 / 9007199254740992.0); }

    uint64_t state_;
    bool spare_ = false;
    double saved_ = 0;
};

// The seed of one sample's draws with one calibration, so that a result does
// not depend on the order rows are worked in.
uint64_t StreamSeed(uint64_t seed, int64_t sample, int calibration);

// The p-quantile of values (linear between order statistics); reorders them.
double Quantile(std::vector<float> &values, double p);
// The 2.5 % and 97.5 % quantiles; nothing for fewer than two draws.
void Interval95(std::vector<float> &draws, std::optional<double> *lo, std::optional<double> *hi);

// σ of the value a calibration is solved for: of Δ (δA - δB, or the exact
// 1000·ln form), or of log K in the row's log base; none without a σ.
std::optional<double> SigmaOfValue(Kind kind, const Values &v, bool exact, const QString &logType);

// ±1σ of the temperature from σ of the value and the curve's slope there.
std::optional<double> LinearSigma(double sigmaValue, double slope);

} // namespace Batch
