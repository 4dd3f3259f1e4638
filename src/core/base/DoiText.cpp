#include "core/base/DoiText.h"

#include <QRegularExpression>

namespace Doi {

QString In(const QString &text)
{
    // A DOI runs to the first blank or separator a reference puts after it.
    static const QRegularExpression doi(QStringLiteral(R"re((10\.\d{4,9}/[^\s;,，；、（）()"]+))re"));
    const QRegularExpressionMatch m = doi.match(text);
    if (!m.hasMatch()) return QString();
    QString found = m.captured(1);
    while (found.endsWith(QLatin1Char('.'))) found.chop(1);
    return found;
}

} // namespace Doi
