// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/BatchTable.h"
#include "core/thermometry/Compact.h"
#include "core/thermometry/Equations.h"

#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Batch thermometry: every sample against every calibration of its pair, with
// linear and Monte Carlo uncertainties. Widget-free; the batch windows and
// lorvane-calc share it.
namespace Batch {

// Draws per sample and calibration at most: beyond this the interval gains
// nothing a geologist could see, and the memory per thread grows with it.
constexpr int kMaxDraws = 1000000;

struct Options {
    int draws = 10000;  // Monte Carlo draws per sample and calibration; 0 for none
    uint64_t seed = 1;  // fixed, so a result can be reproduced
    bool exact = false; // 1000·ln((1000+δA)/(1000+δB)) in place of δA - δB
    // The position in the whole table of the first row given: a table computed
    // in pieces draws for each row exactly as it would whole.
    int64_t firstRow = 0;
};

// ok: one temperature, inside the stated range. two_solutions: the same value
// fits two temperatures of the range. no_range: the calibration states no range
// and the result lies in 0-1200 ℃. out_of_range: outside the stated range (or
// 0-1200 ℃ where none is stated), as shown. missing_input: the calibration
// takes a pressure or composition the sample does not give.
enum class Status : uint8_t {
    Ok,
    OutOfRange,
    TwoSolutions,
    NoRange,
    NoSolution,
    MissingInput,
    NoCalibration,
    BadInput
};

// What a trace result says about its conditions (bits of Result::conditions).
enum ConditionFlag : uint8_t {
    PressureOutside = 1,    // the pressure lies outside the span the remark states
    CompositionOutside = 2, // X likewise
    TiO2Defaulted = 4,      // aTiO2 not given: 1 was used
    SiO2Defaulted = 8,      // aSiO2 likewise
};

// Whether the result has a temperature.
bool Solved(Status s);

// A second temperature that fits the calibration's range for the same value,
// with its own uncertainty: draws around it are solved on its own branch.
struct SecondRoot {
    double celsius = 0;
    Maybe sigma;
    Maybe lo95, hi95;
    int failedDraws = 0;
};

// One sample with one calibration. Kept small: a run holds millions.
struct Result {
    const Calibration *cal = nullptr; // none for NoCalibration and BadInput
    double value = 0;                 // Δ (‰) or K used
    Maybe sigmaValue;                 // σ of Δ, or of log K in the row's log base
    double celsius = 0;               // when solved: the first result
    Maybe sigma; // linear ±1σ, °C: the analytical and the calibration's, in quadrature
    Maybe sigmaAnalytical, sigmaCalibration; // its two parts (the latter from the coefficients' covariance)
    Maybe lo95, hi95;                        // Monte Carlo 95 % interval, °C, from the draws that solved
    Rare<SecondRoot> second;                 // status TwoSolutions: the other temperature
    RareText problem;                        // BadInput, MissingInput: why
    int sample = 0;                          // row index
    int draws = 0;
    int failedDraws = 0;      // draws with no temperature on the first result's branch
    int16_t column = -1;      // BadInput, MissingInput: the canonical column at fault
    int16_t sourceColumn = 0; // BadInput: the file's own column (1-based) when no canonical one is
    Status status = Status::NoSolution;
    uint8_t conditions = 0; // ConditionFlag bits
};

// The results of a run, in row order.
using Results = std::vector<Result, LargeAllocator<Result>>;

struct Summary {
    int sample = 0;
    int inRange = 0;
    double mean = 0, lowest = 0, highest = 0;
};

// The first result of one value with one calibration, by the root rule of the
// calculators (in double precision); empty when there is no temperature.
std::optional<double> SolveCelsius(Kind kind, const Calibration &cal, double value);
// Δ (isotope) or K (trace) of a row's values; empty when they do not give one.
std::optional<double> ValueOf(Kind kind, const Values &v, bool exact, QString *why = nullptr,
                              int *column = nullptr);
// dΔ/dT or d(log K)/dT at a temperature (kelvin), in the calibration's own
// terms (trace: at the conditions given).
double Slope(Kind kind, const Calibration &cal, double kelvin,
             const TraceEquation::Conditions &conditions = {});
// ∂T/∂(A, B, C) at a temperature (kelvin) the calibration gives (trace: under
// the conditions; its C entry 0); empty where the curve has no slope there.
std::optional<std::array<double, 3>> CoefficientGradient(Kind kind, const Calibration &cal, double kelvin,
                                                         const TraceEquation::Conditions &conditions = {});

struct Progress {
    std::atomic<int> done{0};
    std::atomic<bool> cancel{false};
    // Told the rows done so far after each chunk, from the thread that did it.
    std::function<void(int)> report;
};

// Every row against its pair's calibrations, in row order. Runs on up to
// `threads` threads (0: as many as the machine has); stops early when
// progress->cancel is set (the results then end where it stopped).
Results Compute(Kind kind, const QList<Row> &rows, const Library &library, const Options &options,
                Progress *progress = nullptr, int threads = 0);
// The same over a table whose numbers are read already.
class SampleColumns;
Results Compute(const SampleColumns &table, const Library &library, const Options &options,
                Progress *progress = nullptr, int threads = 0);

// Mean and lowest-highest of each sample's single temperatures inside their
// range (ok, or no_range within 0-1200 ℃).
std::vector<Summary> Summarise(const Results &results, int sampleCount);

} // namespace Batch
