// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/BatchTable.h"
#include "core/thermometry/Compact.h"

#include <cstdint>
#include <optional>
#include <vector>

// The statistics of the batch: the σ of a measured value, its linear
// propagation through a curve, and the seeded draws of the Monte Carlo
// interval with their quantiles.
namespace Batch {

// Normal deviates with a fixed sequence for a seed, the same on every machine
// and in any thread: xoshiro256++ (seeded through splitmix64) for the bits, and
// the ziggurat of Marsaglia and Tsang (256 layers, Doornik's form) for the
// normal, so that most deviates cost one random number, a table lookup and a
// multiplication.
class Normal {
  public:
    explicit Normal(uint64_t seed);
    double next();
    // n deviates in a row: the same as n calls of next().
    void fill(double *out, int n);

    // The layers' right edges x[0..256] (x[0] the base's equivalent width, x[1]
    // the tail's start, x[256] = 0) and the area each layer holds.
    static const double *LayerEdges();
    static double LayerArea();

  private:
    uint64_t raw();
    double slow(uint64_t bits);
    uint64_t s_[4];
};

// The seed of one sample's draws with one calibration, so that a result does
// not depend on the order rows are worked in.
uint64_t StreamSeed(uint64_t seed, int64_t sample, int calibration);

// The p-quantile of values (linear between order statistics); reorders them.
double Quantile(std::vector<float> &values, double p);
// The 2.5 % and 97.5 % quantiles; nothing for fewer than two draws.
void Interval95(std::vector<float> &draws, Maybe *lo, Maybe *hi);

// σ of the value a calibration is solved for: of Δ (δA - δB, or the exact
// 1000·ln form), or of log K in the row's log base; none without a σ.
std::optional<double> SigmaOfValue(Kind kind, const Values &v, bool exact, const QString &logType);

// ±1σ of the temperature from σ of the value and the curve's slope there.
std::optional<double> LinearSigma(double sigmaValue, double slope);

} // namespace Batch
