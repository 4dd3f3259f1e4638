#pragma once

#include "core/store/TraceTerms.h"
#include "core/thermometry/CalibrationRange.h"

#include <QHash>
#include <QString>
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

    TraceEquation::Form form() const { return FormOf(logType, a, b, terms); }
};

class Library {
  public:
    // Reads the whole table; database errors raise AppError.
    static Library Load(Connection &conn, Kind kind);
    void add(const Calibration &stored);
    // The calibrations of a pair: stored for A-B, then those stored for B-A.
    std::vector<const Calibration *> forPair(const QString &type, const QString &mineralA,
                                             const QString &mineralB) const;
    int size() const { return int(rows_.size()); }
    const Calibration &at(int i) const { return rows_[size_t(i)]; } // as stored, in table order

  private:
    std::vector<Calibration> rows_;
    std::vector<Calibration> reversed_;
    QHash<QString, std::vector<int>> direct_, turned_;
};

} // namespace Batch
