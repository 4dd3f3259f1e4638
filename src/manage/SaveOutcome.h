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
inline const QString kNotANumber = QStringLiteral("常数必须为数字");

// True when every listed value column (1-based) converts to a single-precision number.
bool ConstantsConvert(const QStringList &values, const QList<int> &columns);

} // namespace SaveOutcome
