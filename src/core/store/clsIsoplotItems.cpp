// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/clsIsoplotItems.h"

#include "core/database/Connection.h"
#include "core/store/ResultCells.h"
#include "core/store/SchemaText.h"

using StoreDetail::CellLong;
using StoreDetail::CellSingle;
using StoreDetail::CellText;

namespace {

// Fills the catalogue from a result of "select * from Isoplot ...". The columns
// are looked up once for the whole result. Failing rows either stop the walk
// (the error passes, the rows before it stay) or lose only the failing value.
void fill(clsIsoplotItems &items, const Recordset &rs, bool skipFailures)
{
    const int id = rs.FieldIndex(QStringLiteral("ID_N"));
    const int type = rs.FieldIndex(QStringLiteral("IsoType_S"));
    const int minA = rs.FieldIndex(QStringLiteral("MinA_S"));
    const int minB = rs.FieldIndex(QStringLiteral("MinB_S"));
    const int a = rs.FieldIndex(QStringLiteral("ConstA_N"));
    const int b = rs.FieldIndex(QStringLiteral("ConstB_N"));
    const int c = rs.FieldIndex(QStringLiteral("ConstC_N"));
    const int mark = rs.FieldIndex(QStringLiteral("Mark_S"));
    const int source = rs.FieldIndex(QStringLiteral("Source_S"));

    const int rows = rs.RecordCount();
    items.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        auto item = std::make_shared<clsIsoItem>();
        const auto read = [&](auto &&step) {
            if (skipFailures)
                StoreDetail::SkipFailure(step);
            else
                step();
        };
        read([&] { item->setId(CellLong(rs, row, id)); });
        read([&] { item->setIsotype(CellText(rs, row, type)); });
        read([&] { item->setMinA(CellText(rs, row, minA)); });
        read([&] { item->setMinB(CellText(rs, row, minB)); });
        read([&] { item->setConstA(CellSingle(rs, row, a)); });
        read([&] { item->setConstB(CellSingle(rs, row, b)); });
        read([&] { item->setConstC(CellSingle(rs, row, c)); });
        read([&] { item->setMark(CellText(rs, row, mark)); });
        read([&] { item->setSource(CellText(rs, row, source)); });
        read([&] { items.Add(item); });
    }
}

} // namespace

bool clsIsoplotItems::HasIsotopeRecord(Connection &conn, const QString &isotopename)
{
    return !conn.Execute(QStringLiteral("select IsoType_S from Isoplot where IsoType_S='") +
                         EscapeSqlText(isotopename) + QStringLiteral("'"))
                .Bof();
}

clsIsoplotItems &clsIsoplotItems::FuzzyQuery(Connection &conn, const QString &strIsoTypeName,
                                             const QString &strMinA, const QString &strMinB)
{
    // Escaping keeps "%" and "_" as wildcards: only the quote is doubled.
    QString sql = QStringLiteral("select * from Isoplot where ");
    if (!strIsoTypeName.isEmpty())
        sql += QStringLiteral("IsoType_S='") + EscapeSqlText(strIsoTypeName) + QStringLiteral("' and ");
    if (!strMinA.isEmpty())
        sql += QStringLiteral("MinA_S like '%") + EscapeSqlText(strMinA) + QStringLiteral("%' And ");
    if (!strMinB.isEmpty())
        sql += QStringLiteral("MinB_S like '%") + EscapeSqlText(strMinB) + QStringLiteral("%' And ");
    sql += QStringLiteral("ID_N>0");

    const Recordset rs = conn.Execute(sql);
    Clear();
    fill(*this, rs, false);
    return *this;
}

QStringList clsIsoplotItems::FindIsoType(Connection &conn)
{
    return StoreDetail::NameList(conn.Execute(QStringLiteral("select distinct(IsoType_S) from Isoplot")), 0,
                                 QStringLiteral("clsIsoplotItems.FindIsoType"));
}

QStringList clsIsoplotItems::FindMineral(Connection &conn, const QString &isotype, const QString &minA)
{
    QString sql;
    if (isotype.isEmpty() && minA.isEmpty())
        sql = QStringLiteral("select distinct(MinA_S) from Isoplot");
    else if (isotype.isEmpty())
        sql = QStringLiteral("select distinct(MinB_S) from Isoplot where MinA_S='") + EscapeSqlText(minA) +
              QStringLiteral("'");
    else if (minA.isEmpty())
        sql = QStringLiteral("select distinct(MinA_S) from Isoplot where IsoType_S='") +
              EscapeSqlText(isotype) + QStringLiteral("'");
    else
        sql = QStringLiteral("select distinct(MinB_S) from Isoplot where IsoType_S='") +
              EscapeSqlText(isotype) + QStringLiteral("' and MinA_S='") + EscapeSqlText(minA) +
              QStringLiteral("'");
    return StoreDetail::NameList(conn.Execute(sql), 0, QStringLiteral("clsIsoplotItems.FindMineral"));
}

clsIsoplotItems &clsIsoplotItems::Find(Connection &conn, const QString &strIsoTypeName,
                                       const QString &strMinA, const QString &strMinB)
{
    // The caller writes the literals; a malformed one only empties the result.
    QString sql = QStringLiteral("select * from Isoplot where ");
    if (!strIsoTypeName.isEmpty())
        sql += QStringLiteral("IsoType_S=") + strIsoTypeName + QStringLiteral(" and ");
    if (!strMinA.isEmpty()) sql += QStringLiteral("MinA_S=") + strMinA + QStringLiteral(" and ");
    if (!strMinB.isEmpty()) sql += QStringLiteral("MinB_S=") + strMinB + QStringLiteral(" and ");
    sql += QStringLiteral("ID_N>0");

    Recordset rs;
    StoreDetail::SkipFailure([&] { rs = conn.Execute(sql); });
    Clear();
    fill(*this, rs, true);
    return *this;
}
