// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/SchemaText.h"

#include "core/base/NumberText.h"
#include "core/database/Connection.h"

QString EscapeSqlText(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return escaped;
}

int32_t NextIdentifier(Connection &connection, const QString &maxQuery)
{
    Recordset rs = connection.Execute(maxQuery);
    if (rs.Eof() || rs.Fields(0).IsNull()) return 1;
    return Num::CLng(rs.Fields(0).Number() + 1);
}
