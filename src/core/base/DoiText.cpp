// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/DoiText.h"

#include <QRegularExpression>

namespace Doi {

QString In(const QString &text)
{
    // A DOI runs to the first blank or separator a reference puts after it; it may
    // hold brackets of its own ("10.1016/0012-821X(73)90165-9"), but a closing one
    // it never opened, or a full stop at its end, is the sentence's.
    static const QRegularExpression doi(QStringLiteral(R"re((10\.\d{4,9}/[^\s;,，；、（）"]+))re"));
    const QRegularExpressionMatch m = doi.match(text);
    if (!m.hasMatch()) return QString();
    QString found = m.captured(1);
    while (!found.isEmpty()) {
        const QChar last = found.back();
        if (last == QLatin1Char('.') || last == QLatin1Char(':') ||
            (last == QLatin1Char(')') && found.count(QLatin1Char(')')) > found.count(QLatin1Char('('))))
            found.chop(1);
        else
            break;
    }
    return found;
}

} // namespace Doi
