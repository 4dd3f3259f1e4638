// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/SchemaUpgrade.h"

#include "core/base/DoiText.h"
#include "core/database/Connection.h"
#include "core/store/SchemaText.h"
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
    all << Added{QStringLiteral("TraceElement"), QStringLiteral("DOI_s"),
                 QStringLiteral("text collate nocase not null default ''")};
    all << Added{QStringLiteral("Isoplot"), QStringLiteral("DOI_S"),
                 QStringLiteral("text collate nocase not null default ''")};
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

const char kCovariance[] = "create table Covariance (Table_S text not null, Row_N integer not null, "
                           "AA real, AB real, AC real, BB real, BC real, CC real, "
                           "primary key (Table_S, Row_N))";

} // namespace

QStringList Missing(Connection &conn)
{
    QStringList missing;
    // The coefficients' covariances: a table of its own, beside the calibrations.
    if (!columnsOf(conn, QStringLiteral("Isoplot")).isEmpty() &&
        columnsOf(conn, QStringLiteral("Covariance")).isEmpty())
        missing << QStringLiteral("Covariance");
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
    if (missing.contains(QStringLiteral("Covariance"))) conn.Execute(QString::fromLatin1(kCovariance));
    for (const Added &a : added())
        if (missing.contains(a.table + QLatin1Char('.') + a.column))
            conn.Execute(QStringLiteral("alter table ") + a.table + QStringLiteral(" add column ") +
                         a.column + QLatin1Char(' ') + a.declaration);
    // The library's rows of DBOXYGEN 2.0.3 name it in their source: they join
    // their dataset, so that the pairs it determines are derived for them too.
    if (missing.contains(QStringLiteral("Isoplot.Dataset_S")))
        conn.Execute(QStringLiteral("update Isoplot set Dataset_S='DBOXYGEN 2.0.3' where Source_S like "
                                    "'%DBOXYGEN 2.0.3%'"));
    // A DOI the source (or a trace row's remark) names becomes the row's DOI.
    const struct {
        const char *table, *column, *text;
    } dois[] = {{"Isoplot", "DOI_S", "Source_S"}, {"TraceElement", "DOI_s", "Mark_s"}};
    for (const auto &d : dois) {
        if (!missing.contains(QLatin1String(d.table) + QLatin1Char('.') + QLatin1String(d.column))) continue;
        QList<QPair<int32_t, QString>> found;
        for (Recordset rs = conn.Execute(QStringLiteral("select ID_N, %1 from %2 where %1 like '%10.%/%'")
                                             .arg(QLatin1String(d.text), QLatin1String(d.table)));
             !rs.Eof(); rs.MoveNext()) {
            const QString doi = Doi::In(rs.Fields(1).IsNull() ? QString() : rs.Fields(1).Text());
            if (!doi.isEmpty()) found.append({rs.Fields(0).Long(), doi});
        }
        for (const auto &[id, doi] : found)
            conn.Execute(QStringLiteral("update %1 set %2='%3' where ID_N=%4")
                             .arg(QLatin1String(d.table), QLatin1String(d.column), EscapeSqlText(doi))
                             .arg(id));
    }
    upgrade.Commit();
    return int(missing.size());
}

} // namespace SchemaUpgrade
