// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/clsTraceelements.h"

#include "core/database/Connection.h"
#include "core/store/ResultCells.h"
#include "core/store/SchemaText.h"

using StoreDetail::CellLong;
using StoreDetail::CellSingle;
using StoreDetail::CellText;

namespace {

// Fills the catalogue from a result of "select * from TraceElement ...". The
// columns are looked up once for the whole result. Failing rows either stop the
// walk (the error passes, the rows before it stay) or lose only the failing value.
void fill(clsTraceelements &items, const Recordset &rs, bool skipFailures)
{
    const int id = rs.FieldIndex(QStringLiteral("ID_N"));
    const int element = rs.FieldIndex(QStringLiteral("Element_s"));
    const int minA = rs.FieldIndex(QStringLiteral("MinA_s"));
    const int minB = rs.FieldIndex(QStringLiteral("MinB_s"));
    const int a = rs.FieldIndex(QStringLiteral("ConstA_sng"));
    const int b = rs.FieldIndex(QStringLiteral("ConstB_sng"));
    const int logType = rs.FieldIndex(QStringLiteral("logType_s"));
    const int mark = rs.FieldIndex(QStringLiteral("Mark_s"));
    // A database not yet upgraded lacks the term columns: its rows read with the defaults.
    const TraceColumns::Indexes terms = TraceColumns::Find(rs);

    const int rows = rs.RecordCount();
    items.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        auto item = std::make_shared<clsTraceelement>();
        const auto read = [&](auto &&step) {
            if (skipFailures)
                StoreDetail::SkipFailure(step);
            else
                step();
        };
        read([&] { item->setId(CellLong(rs, row, id)); });
        read([&] { item->setElement(CellText(rs, row, element)); });
        read([&] { item->setMinA(CellText(rs, row, minA)); });
        read([&] { item->setMinB(CellText(rs, row, minB)); });
        read([&] { item->setConstA(CellSingle(rs, row, a)); });
        read([&] { item->setConstB(CellSingle(rs, row, b)); });
        read([&] { item->setLogType(CellText(rs, row, logType)); });
        read([&] { item->setMark(CellText(rs, row, mark)); });
        read([&] { item->setTerms(TraceColumns::Read(rs, row, terms)); });
        read([&] { items.Add(item); });
    }
}

} // namespace

QStringList clsTraceelements::FindMineral(Connection &conn, const QString &element, const QString &minA)
{
    QString sql;
    if (element.isEmpty() && minA.isEmpty())
        sql = QStringLiteral("select distinct(MinA_S) from TraceElement");
    else if (element.isEmpty())
        sql = QStringLiteral("select distinct(MinB_S) from TraceElement where MinA_S='") +
              EscapeSqlText(minA) + QStringLiteral("'");
    else if (minA.isEmpty())
        sql = QStringLiteral("select distinct(MinA_S) from TraceElement where element_S='") +
              EscapeSqlText(element) + QStringLiteral("'");
    else
        sql = QStringLiteral("select distinct(MinB_S) from TraceElement where element_S='") +
              EscapeSqlText(element) + QStringLiteral("' and MinA_S='") + EscapeSqlText(minA) +
              QStringLiteral("'");
    return StoreDetail::NameList(conn.Execute(sql), 0, QStringLiteral("clsTraceelements.FindMineral"));
}

clsTraceelements &clsTraceelements::FuzzyQuery(Connection &conn, const QString &strElement,
                                               const QString &strMinA, const QString &strMinB)
{
    // Escaping keeps "%" and "_" as wildcards: only the quote is doubled.
    QString sql = QStringLiteral("select * from TraceElement where ");
    if (!strElement.isEmpty())
        sql += QStringLiteral("Element_s like '%") + EscapeSqlText(strElement) + QStringLiteral("%' and ");
    if (!strMinA.isEmpty())
        sql += QStringLiteral("MinA_s like '%") + EscapeSqlText(strMinA) + QStringLiteral("%' And ");
    if (!strMinB.isEmpty())
        sql += QStringLiteral("MinB_s like '%") + EscapeSqlText(strMinB) + QStringLiteral("%' And ");
    sql += QStringLiteral("ID_N>0");

    // The lists that show this catalogue never see an error: a rejected
    // statement shows as an empty list.
    Recordset rs;
    StoreDetail::SkipFailure([&] { rs = conn.Execute(sql); });
    Clear();
    fill(*this, rs, true);
    return *this;
}

QStringList clsTraceelements::FindElementType(Connection &conn)
{
    return StoreDetail::NameList(conn.Execute(QStringLiteral("select distinct(Element_s) from TraceElement")),
                                 0, QStringLiteral("clsTraceelements.FindElementType"));
}

clsTraceelements &clsTraceelements::Find(Connection &conn, const QString &strElement, const QString &strMinA,
                                         const QString &strMinB)
{
    // The caller writes the literals, quotes included.
    QString sql = QStringLiteral("select * from TraceElement where ");
    if (!strElement.isEmpty()) sql += QStringLiteral("Element_s=") + strElement + QStringLiteral(" and ");
    if (!strMinA.isEmpty()) sql += QStringLiteral("MinA_s=") + strMinA + QStringLiteral(" and ");
    if (!strMinB.isEmpty()) sql += QStringLiteral("MinB_s=") + strMinB + QStringLiteral(" and ");
    sql += QStringLiteral("ID_N>0");

    const Recordset rs = conn.Execute(sql);
    Clear();
    fill(*this, rs, false);
    return *this;
}
