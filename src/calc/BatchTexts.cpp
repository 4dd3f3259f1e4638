// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/BatchTexts.h"

#include "core/thermometry/RootRule.h"

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
        parts << (stated ? QStringLiteral("超出适用范围") : QStringLiteral("未注明适用范围，超出0-1200℃"));
        break;
    case Status::TwoSolutions: {
        // Near the curve's turning point one Δ fits two temperatures of the range.
        const QString other = QString::number(RootRule::AsShown(r.second ? r.second->celsius : 0, 1), 'f', 1);
        parts << (stated ? QStringLiteral("另一解%1℃亦在适用范围内").arg(other)
                         : QStringLiteral("另一解%1℃亦在0-1200℃内（未注明适用范围）").arg(other));
        break;
    }
    case Status::NoRange: parts << QStringLiteral("未注明适用范围"); break;
    case Status::NoSolution: parts << QStringLiteral("无解"); break;
    case Status::MissingInput: parts << r.problem; break;
    case Status::NoCalibration: parts << QStringLiteral("无标定"); break;
    case Status::BadInput: parts << QStringLiteral("数据无效：") + r.problem; break;
    }
    // What the conditions of a trace result say.
    if (r.cal && (r.conditions & PressureOutside) && r.cal->pressureRange)
        parts << PressureWarning(*r.cal->pressureRange);
    if (r.cal && (r.conditions & CompositionOutside) && r.cal->compositionRange)
        parts << CompositionWarning(*r.cal->compositionRange, r.cal->terms.xName);
    if (r.conditions & TiO2Defaulted) parts << QStringLiteral("aTiO₂=1");
    if (r.conditions & SiO2Defaulted) parts << QStringLiteral("aSiO₂=1");
    if (r.failedDraws > 0) parts << QStringLiteral("%1/%2次抽样无解").arg(r.failedDraws).arg(r.draws);
    if (r.second && r.second->failedDraws > 0)
        parts << QStringLiteral("另一解%1/%2次抽样无解").arg(r.second->failedDraws).arg(r.draws);
    if (r.lo95 && r.hi95 && (r.celsius < *r.lo95 || r.celsius > *r.hi95))
        parts << QStringLiteral("95%区间不含此温度");
    return parts.join(QStringLiteral("；"));
}

} // namespace BatchTexts
