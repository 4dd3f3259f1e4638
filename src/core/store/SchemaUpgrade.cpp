#include "core/store/SchemaUpgrade.h"

#include "core/database/Connection.h"
#include "core/store/TraceTerms.h"

namespace SchemaUpgrade {
namespace {

struct Added {
    QString table, column, declaration;
};

// Every column this version adds, with its type and default.
QList<Added> added()
{
    QList<Added> all;
    for (const QString &name : TraceColumns::Names())
        all << Added{QStringLiteral("TraceElement"), name, TraceColumns::Declaration(name)};
    all << Added{QStringLiteral("Isoplot"), QStringLiteral("Dataset_S"),
                 QStringLiteral("text collate nocase not null default ''")};
    return all;
}

QStringList columnsOf(Connection &conn, const QString &table)
{
    QStringList present;
    for (Recordset rs = conn.Execute(QStringLiteral("pragma table_info(") + table + QLatin1Char(')'));
         !rs.Eof(); rs.MoveNext())
        present << rs.Fields(QStringLiteral("name")).Text().toCaseFolded();
    return present;
}

} // namespace

QStringList Missing(Connection &conn)
{
    QStringList missing;
    QString table;
    QStringList present;
    for (const Added &a : added()) {
        if (a.table != table) {
            table = a.table;
            present = columnsOf(conn, table);
        }
        // No such table: nothing to upgrade there.
        if (!present.isEmpty() && !present.contains(a.column.toCaseFolded()))
            missing << a.table + QLatin1Char('.') + a.column;
    }
    return missing;
}

int Upgrade(Connection &conn)
{
    const QStringList missing = Missing(conn);
    if (missing.isEmpty()) return 0;
    Transaction upgrade(conn);
    for (const Added &a : added())
        if (missing.contains(a.table + QLatin1Char('.') + a.column))
            conn.Execute(QStringLiteral("alter table ") + a.table + QStringLiteral(" add column ") +
                         a.column + QLatin1Char(' ') + a.declaration);
    upgrade.Commit();
    return int(missing.size());
}

} // namespace SchemaUpgrade
