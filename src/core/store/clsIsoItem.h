// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/store/RecordEvents.h"

#include <QCoreApplication>
#include <QString>
#include <cstdint>

class Connection;

// One isotope-fractionation thermometer: a row of Isoplot held in memory. The
// writing operations return 0 done, 1 refused, 2 failed, and announce the
// outcome through the events; they never raise.
class clsIsoItem {
    Q_DECLARE_TR_FUNCTIONS(clsIsoItem)

  public:
    QString ToString() const { return QStringLiteral("clsIsoItem"); }

    // Maximum identifier plus 1 (1 for an empty table). Database errors pass.
    int32_t GetNextID(Connection &conn);

    void setId(int32_t value) { id_ = value; }
    int32_t id() const { return id_; }
    void setIsotype(const QString &value) { isotype_ = value; }
    const QString &isotype() const { return isotype_; }
    void setMinA(const QString &value) { minA_ = value; }
    const QString &minA() const { return minA_; }
    void setMinB(const QString &value) { minB_ = value; }
    const QString &MinB() const { return minB_; }
    void setConstA(float value) { constA_ = value; }
    float ConstA() const { return constA_; }
    void setConstB(float value) { constB_ = value; }
    float ConstB() const { return constB_; }
    void setConstC(float value) { constC_ = value; }
    float ConstC() const { return constC_; }
    void setMark(const QString &value) { mark_ = value; }
    const QString &Mark() const { return mark_; }
    void setSource(const QString &value) { source_ = value; }
    const QString &Source() const { return source_; }

    int32_t Delete(Connection &conn, int32_t lngID = 0);
    int32_t Update(Connection &conn);
    // Whether the stored row of this identifier already holds these values, as
    // the duplicate check compares them. Database errors raise AppError.
    bool HoldsStoredRow(Connection &conn) const;
    // Whether a stored row already holds these values: what refuses an add.
    bool IsStored(Connection &conn) const;
    // Empty texts and zero constants leave the property as it is; texts are
    // stored without surrounding blanks.
    int32_t AddNew(Connection &conn, const QString &strIsoTypeName = {}, const QString &strMinA = {},
                   const QString &strMinB = {}, float sngConstA = 0, float sngConstB = 0, float sngConstC = 0,
                   const QString &strMark = {}, const QString &strSource = {});

    void setEvents(RecordEvents events) { events_ = std::move(events); }
    const RecordEvents &events() const { return events_; }

  private:
    QString updateStatement() const;
    QString duplicateCheck() const;

    int32_t id_ = 0;
    QString isotype_;
    QString minA_;
    QString minB_;
    float constA_ = 0;
    float constB_ = 0;
    float constC_ = 0;
    QString mark_;
    QString source_;
    RecordEvents events_;
};
