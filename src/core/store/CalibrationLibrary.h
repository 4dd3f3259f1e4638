// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/store/Names.h"
#include "core/store/TraceTerms.h"
#include "core/thermometry/CalibrationRange.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class Connection;

// The calibrations the batch reads: every row of one table, read once and
// looked up by pair, each row also serving the reversed pair.
namespace Batch {

enum class Kind { Isotope, Trace };

struct Calibration {
    QString type;     // isotope type or element, as stored
    QString mineralA; // as the sample names them (a reversed row is turned round)
    QString mineralB;
    double a = 0, b = 0, c = 0; // as used: a reversed row has them negated
    QString logType;            // trace
    TraceTerms terms;           // trace: the terms beyond A/T + B, negated like a and b when reversed
    QString source;             // isotope: Source_S; trace: the remark
    QString remark;             // Mark_S / Mark_s, where the range is read from
    std::optional<CalibrationRange> range;
    std::optional<CalibrationRange> pressureRange, compositionRange; // trace: kbar, and X (terms.xName)
    bool reversed = false;                                           // stored for B-A
    QString dataset;      // isotope: the internally consistent dataset the row belongs to, or ""
    bool derived = false; // made from two rows of one dataset, never stored
    QString reference;    // derived: the source of a row it was made from, which cites the dataset
    QString doi;          // of the source, where known (a derived pair: its dataset row's)
    // The covariance of (A, B, C) the calibration publishes: AA, AB, AC, BB, BC, CC.
    // Turning a row round leaves it as it is.
    std::optional<std::array<double, 6>> covariance;

    TraceEquation::Form form() const { return FormOf(logType, a, b, terms); }
};

class Library {
  public:
    // Reads the whole table; database errors raise AppError.
    static Library Load(Connection &conn, Kind kind);
    void add(const Calibration &stored);
    // The calibrations of a pair: stored for A-B, then those stored for B-A.
    // Every pair two rows of one dataset determine through a shared reference
    // (水, then 石英): Δ(X-Y) = Δ(X-R) - Δ(Y-R), in the overlap of the two ranges,
    // for the pairs the dataset does not store itself. Never across datasets.
    void deriveWithinDatasets();
    int derivedCount() const { return int(derived_.size()); } // each pair counted in both orders
    // The minerals a derived pair joins to mineralA, in the order derived.
    QStringList derivedPartners(const QString &type, const QString &mineralA) const;

    // The calibrations of a pair: stored for A-B, then those stored for B-A, then derived ones.
    std::vector<const Calibration *> forPair(const QString &type, const QString &mineralA,
                                             const QString &mineralB) const;
    // Whether a type or mineral is a name: one the names table knows, or one a
    // stored row uses (in any case).
    bool knows(Names::Kind kind, const QString &name) const;
    int size() const { return int(rows_.size()); }
    const Calibration &at(int i) const { return rows_[size_t(i)]; } // as stored, in table order

  private:
    std::vector<Calibration> rows_;
    std::vector<Calibration> reversed_;
    std::vector<Calibration> derived_;
    QHash<QString, std::vector<int>> direct_, turned_, derivedIndex_;
    QSet<QString> types_, minerals_; // as looked up
};

} // namespace Batch
