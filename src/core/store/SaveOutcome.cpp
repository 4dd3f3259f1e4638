// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/SaveOutcome.h"

#include "core/base/NumberText.h"

#include <QCoreApplication>

namespace SaveOutcome {

Outcome ForStatus(bool add, int32_t status)
{
    const QString pendingState = add ? QStringLiteral("add") : QStringLiteral("edit");
    const QString errorIcon = add ? QStringLiteral("adderror") : QStringLiteral("editerror");
    switch (status) {
    case 0: return {QStringLiteral("ok"), QStringLiteral("ok"), QString(), true};
    case 1:
        return {pendingState, errorIcon,
                add ? QCoreApplication::translate("SaveOutcome", " 记录已存在,添加失败!")
                    : QCoreApplication::translate("SaveOutcome", " 记录已存在,更新失败!"),
                false};
    default:
        return {pendingState, errorIcon,
                add ? QCoreApplication::translate("SaveOutcome", "未知原因,添加失败!")
                    : QCoreApplication::translate("SaveOutcome", "未知原因,更新失败!"),
                false};
    }
}

QString NotANumberText() { return QCoreApplication::translate("SaveOutcome", "常数必须为数字"); }

QString OutOfRangeText() { return QCoreApplication::translate("SaveOutcome", "数值超出单精度范围"); }

Outcome NotANumber(bool add) { return Refused(add, NotANumberText()); }

Outcome Refused(bool add, const QString &reason)
{
    return {add ? QStringLiteral("add") : QStringLiteral("edit"),
            add ? QStringLiteral("adderror") : QStringLiteral("editerror"), reason, false};
}

QString ConstantsProblem(const QStringList &values, const QList<int> &columns)
{
    for (int column : columns) {
        const QString text = column - 1 < values.size() ? values.at(column - 1) : QString();
        if (!Num::IsNumeric(text)) return NotANumberText();
        if (!Num::FitsSingle(text)) return OutOfRangeText();
    }
    return QString();
}

bool ConstantsConvert(const QStringList &values, const QList<int> &columns)
{
    return ConstantsProblem(values, columns).isEmpty();
}

} // namespace SaveOutcome
