#pragma once

#include "calc/BatchTable.h"
#include "calc/CalibrationRange.h"

#include <QHash>
#include <QList>
#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

class Connection;

// Batch thermometry: every sample against every calibration of its pair, with
// linear and Monte Carlo uncertainties. Widget-free; the batch windows and
// lorvane-calc share it.
namespace Batch {

struct Calibration {
    QString type;     // isotope type or element, as stored
    QString mineralA; // as the sample names them (a reversed row is turned round)
    QString mineralB;
    double a = 0, b = 0, c = 0; // as used: a reversed row has them negated
    QString logType;            // trace
    QString source;             // isotope: Source_S; trace: the remark
    QString remark;             // Mark_S / Mark_s, where the range is read from
    std::optional<CalibrationRange> range;
    bool reversed = false; // stored for B-A
};

// Every calibration of one kind, read once and looked up by pair.
class Library {
  public:
    // Reads the whole table; database errors raise AppError.
    static Library Load(Connection &conn, Kind kind);
    void add(const Calibration &stored);
    // The calibrations of a pair: stored for A-B, then those stored for B-A.
    std::vector<const Calibration *> forPair(const QString &type, const QString &mineralA,
                                             const QString &mineralB) const;
    int size() const { return int(rows_.size()); }

  private:
    std::vector<Calibration> rows_;
    std::vector<Calibration> reversed_;
    QHash<QString, std::vector<int>> direct_, turned_;
};

struct Options {
    int draws = 10000;  // Monte Carlo draws per sample and calibration; 0 for none
    uint64_t seed = 1;  // fixed, so a result can be reproduced
    bool exact = false; // 1000·ln((1000+δA)/(1000+δB)) in place of δA - δB
};

enum class Status { Ok, OutOfRange, NoSolution, NoCalibration, BadInput };

struct Result {
    int sample = 0;                   // row index
    const Calibration *cal = nullptr; // none for NoCalibration and BadInput
    Status status = Status::NoSolution;
    double value = 0;                   // Δ (‰) or K used
    std::optional<double> sigmaValue;   // σ of Δ, or of log K in the row's log base
    double celsius = 0;                 // when solved
    std::optional<double> sigma;        // linear ±1σ, °C
    std::optional<double> lo95, hi95;   // Monte Carlo 95 % interval, °C
    std::optional<double> otherCelsius; // the second root, when it too lies in the range
    int draws = 0, failedDraws = 0;
    QString problem; // BadInput: why
    int column = -1; // BadInput: the canonical column at fault
};

struct Summary {
    int sample = 0;
    int inRange = 0;
    double mean = 0, lowest = 0, highest = 0;
};

// Solves one value with one calibration as the calculators do (single
// precision, the same root rule); empty when there is no temperature.
std::optional<double> SolveCelsius(Kind kind, const Calibration &cal, double value);
// Δ (isotope) or K (trace) of a row's values; empty when they do not give one.
std::optional<double> ValueOf(Kind kind, const Values &v, bool exact, QString *why = nullptr,
                              int *column = nullptr);
// dΔ/dT or d(log K)/dT at a temperature (kelvin), in the calibration's own terms.
double Slope(Kind kind, const Calibration &cal, double kelvin);

struct Progress {
    std::atomic<int> done{0};
    std::atomic<bool> cancel{false};
};

// Every row against its pair's calibrations, in row order. Runs on up to
// `threads` threads (0: as many as the machine has); stops early when
// progress->cancel is set (the results then end where it stopped).
std::vector<Result> Compute(Kind kind, const QList<Row> &rows, const Library &library, const Options &options,
                            Progress *progress = nullptr, int threads = 0);

// Mean and lowest-highest of each sample's in-range temperatures.
std::vector<Summary> Summarise(const std::vector<Result> &results, int sampleCount);

// Texts: the window's status and the command line's.
QString StatusText(const Result &r);
QString StatusCode(Status s);

} // namespace Batch
