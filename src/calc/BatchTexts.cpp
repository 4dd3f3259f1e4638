// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/BatchTexts.h"

#include "core/thermometry/RootRule.h"

#include <QCoreApplication>
#include <QStringList>

using namespace Batch;

namespace BatchTexts {

QString Status(const Result &r)
{
    const bool stated = r.cal && r.cal->range;
    QStringList parts;
    switch (r.status) {
    case Status::Ok: break;
    case Status::OutOfRange:
        parts << (stated ? QCoreApplication::translate("BatchTexts", "超出适用范围")
                         : QCoreApplication::translate("BatchTexts", "未注明适用范围，超出0-1200℃"));
        break;
    case Status::TwoSolutions: {
        // Near the curve's turning point one Δ fits two temperatures of the range.
        const QString other = QString::number(RootRule::AsShown(r.second ? r.second->celsius : 0, 1), 'f', 1);
        parts << (stated
                      ? QCoreApplication::translate("BatchTexts", "另一解%1℃亦在适用范围内").arg(other)
                      : QCoreApplication::translate("BatchTexts", "另一解%1℃亦在0-1200℃内（未注明适用范围）")
                            .arg(other));
        break;
    }
    case Status::NoRange: parts << QCoreApplication::translate("BatchTexts", "未注明适用范围"); break;
    case Status::NoSolution: parts << QCoreApplication::translate("BatchTexts", "无解"); break;
    case Status::MissingInput: parts << r.problem; break;
    case Status::NoCalibration:
        parts << QCoreApplication::translate("BatchTexts", "无标定");
        if (!r.problem.isEmpty()) parts << r.problem; // a name known nowhere, and the nearest spelling
        break;
    case Status::BadInput:
        parts << QCoreApplication::translate("BatchTexts", "数据无效：%1").arg(r.problem);
        break;
    }
    // What the conditions of a trace result say.
    if (r.cal && (r.conditions & PressureOutside) && r.cal->pressureRange)
        parts << PressureWarning(*r.cal->pressureRange);
    if (r.cal && (r.conditions & CompositionOutside) && r.cal->compositionRange)
        parts << CompositionWarning(*r.cal->compositionRange, r.cal->terms.xName);
    if (r.conditions & TiO2Defaulted) parts << QStringLiteral("aTiO₂=1");
    if (r.conditions & SiO2Defaulted) parts << QStringLiteral("aSiO₂=1");
    if (r.failedDraws > 0)
        parts << QCoreApplication::translate("BatchTexts", "%1/%2次抽样无解").arg(r.failedDraws).arg(r.draws);
    if (r.second && r.second->failedDraws > 0)
        parts << QCoreApplication::translate("BatchTexts", "另一解%1/%2次抽样无解")
                     .arg(r.second->failedDraws)
                     .arg(r.draws);
    if (r.lo95 && r.hi95 && (r.celsius < *r.lo95 || r.celsius > *r.hi95))
        parts << QCoreApplication::translate("BatchTexts", "95%区间不含此温度");
    return parts.join(QCoreApplication::translate("BatchTexts", "；"));
}

} // namespace BatchTexts
