// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/Equations.h"

#include <QString>
#include <QStringList>

class Connection;
class Recordset;

// The terms of a trace-element row beyond log K = A/T + B: pressure (C, n),
// composition (E, F and the name of X), the activity exponents of SiO2 and
// TiO2, and what K is. The defaults leave log K = A/T + B, so a row stored
// before these columns existed keeps its result.
struct TraceTerms {
    float c = 0, n = 1, e = 0, f = 0;
    float nuSiO2 = 0, nuTiO2 = 0;
    QString xName; // the composition variable, e.g. "Cr#"
    QString kUnit; // what K is, e.g. "ppm Ti（锆石）"

    bool operator==(const TraceTerms &o) const
    {
        return c == o.c && n == o.n && e == o.e && f == o.f && nuSiO2 == o.nuSiO2 && nuTiO2 == o.nuTiO2 &&
               xName == o.xName && kUnit == o.kUnit;
    }
    bool operator!=(const TraceTerms &o) const { return !(*this == o); }
};

// The equation of a row: its log type, A, B and terms.
TraceEquation::Form FormOf(const QString &logType, double a, double b, const TraceTerms &terms);

namespace TraceColumns {

// The columns of TraceElement that hold the terms, in the order the import and
// export files append them after the remark.
const QStringList &Names();
bool IsText(int index); // XName_s and KUnit_s

// The terms' values as field texts, in the order of Names(); and back. A text
// list shorter than Names() leaves the rest at their defaults; a numeric field
// that is not a number (or past single precision) gives false.
QStringList Texts(const TraceTerms &terms);
bool FromTexts(const QStringList &texts, TraceTerms *terms, int *badField = nullptr);

// The columns of Names() the database's TraceElement lacks.
QStringList Missing(Connection &conn);

// The type and default of a term column, as ALTER TABLE takes them.
QString Declaration(const QString &name);

// Where a result's term columns stand (-1 for a column it lacks, as in a
// database that has not been upgraded), and the terms of one row: an absent
// column or a NULL gives the default.
struct Indexes {
    int at[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
};
Indexes Find(const Recordset &rs);
TraceTerms Read(const Recordset &rs, int row, const Indexes &columns);

} // namespace TraceColumns
