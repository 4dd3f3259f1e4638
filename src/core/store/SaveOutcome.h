// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// What a save makes of one pending row: its new state, icon and tool tip.
// Widget-free, so the rules can be checked without a window.
namespace SaveOutcome {

struct Outcome {
    QString state;
    QString icon;
    QString toolTip;
    bool stored = false;
};

// The outcome of AddNew (add) or Update (edit) returning status.
Outcome ForStatus(bool add, int32_t status);

// A row whose constants cannot be converted never reaches the database.
Outcome NotANumber(bool add);
QString NotANumberText(); // "常数必须为数字"
// A number that single precision stores as 0 or as infinity.
QString OutOfRangeText(); // "数值超出单精度范围"
// A refused row with the reason as its tool tip.
Outcome Refused(bool add, const QString &reason);

// Why the listed value columns (1-based) cannot be stored: NotANumberText(),
// OutOfRangeText(), or "" when each holds a number that single precision holds.
QString ConstantsProblem(const QStringList &values, const QList<int> &columns);
// True when ConstantsProblem finds nothing.
bool ConstantsConvert(const QStringList &values, const QList<int> &columns);

} // namespace SaveOutcome
