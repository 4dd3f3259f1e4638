// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/store/RecordEvents.h"
#include "core/store/TraceTerms.h"

#include <QCoreApplication>
#include <QString>
#include <cstdint>

class Connection;

// One trace-element thermometer, log K = (A + C·P^n + E·X)/T + B + F·X +
// ν_Si·log aSiO2 + ν_Ti·log aTiO2 (log K = A/T + B when the terms are at their
// defaults): a row of TraceElement held in memory. The writing operations return 0 done, 1 refused,
// 2 failed, and announce the outcome through the events; they never raise.
class clsTraceelement {
    Q_DECLARE_TR_FUNCTIONS(clsTraceelement)

  public:
    QString ToString() const { return QStringLiteral("clsTraceElement"); }

    // Maximum identifier plus 1 (1 for an empty table). Database errors pass.
    int32_t GetNextID(Connection &conn);

    void setId(int32_t value) { id_ = value; }
    int32_t id() const { return id_; }
    void setElement(const QString &value) { element_ = value; }
    const QString &element() const { return element_; }
    void setMinA(const QString &value) { minA_ = value; }
    const QString &minA() const { return minA_; }
    void setMinB(const QString &value) { minB_ = value; }
    const QString &MinB() const { return minB_; }
    void setConstA(float value) { constA_ = value; }
    float ConstA() const { return constA_; }
    void setConstB(float value) { constB_ = value; }
    float ConstB() const { return constB_; }
    // "10" for the decimal logarithm, "e" for the natural one.
    void setLogType(const QString &value) { logType_ = value; }
    const QString &logType() const { return logType_; }
    void setMark(const QString &value) { mark_ = value; }
    const QString &Mark() const { return mark_; }
    // The terms beyond A/T + B; AddNew stores them as they stand.
    void setTerms(const TraceTerms &value) { terms_ = value; }
    const TraceTerms &terms() const { return terms_; }
    TraceEquation::Form form() const { return FormOf(logType_, constA_, constB_, terms_); }

    int32_t Delete(Connection &conn, int32_t lngID = 0);
    int32_t Update(Connection &conn);
    // Whether the stored row of this identifier already holds these values, as
    // the duplicate check compares them. Database errors raise AppError.
    bool HoldsStoredRow(Connection &conn) const;
    // Whether a stored row already holds these values: what refuses an add.
    bool IsStored(Connection &conn) const;
    // Empty texts and zero constants leave the property as it is; element,
    // minerals and remark are stored without surrounding blanks, the log type as given.
    int32_t AddNew(Connection &conn, const QString &strElement = {}, const QString &strMinA = {},
                   const QString &strMinB = {}, float sngConstA = 0, float sngConstB = 0,
                   const QString &strlogType = {}, const QString &strMark = {});

    void setEvents(RecordEvents events) { events_ = std::move(events); }
    const RecordEvents &events() const { return events_; }

  private:
    QString updateStatement() const;
    QString duplicateCheck(const QString &minAColumn, const QString &minBColumn) const;

    int32_t id_ = 0;
    QString element_;
    QString minA_;
    QString minB_;
    float constA_ = 0;
    float constB_ = 0;
    QString logType_;
    QString mark_;
    TraceTerms terms_;
    RecordEvents events_;
};
