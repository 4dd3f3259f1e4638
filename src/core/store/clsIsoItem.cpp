// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/clsIsoItem.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/database/Connection.h"
#include "core/store/ResultCells.h"
#include "core/store/SchemaText.h"

namespace {

using StoreDetail::kLineBreak;
using StoreDetail::Outcome;

} // namespace

int32_t clsIsoItem::GetNextID(Connection &conn)
{
    return NextIdentifier(conn, QStringLiteral("select max(ID_N) from Isoplot"));
}

// Every text is escaped, the conditions included: a name with an apostrophe is
// an ordinary name, and no text may change what the statement does.
QString clsIsoItem::duplicateCheck() const
{
    return QStringLiteral("select * from Isoplot where ") + QStringLiteral("IsoType_S='") +
           EscapeSqlText(isotype_) + QStringLiteral("' and ") + QStringLiteral("MinA_S='") +
           EscapeSqlText(minA_) + QStringLiteral("' and ") + QStringLiteral("MinB_S='") +
           EscapeSqlText(minB_) + QStringLiteral("' and ") + QStringLiteral("ConstA_N=") + Num::Str(constA_) +
           QStringLiteral(" and ") + QStringLiteral("ConstB_N=") + Num::Str(constB_) +
           QStringLiteral(" and ") + QStringLiteral("ConstC_N=") + Num::Str(constC_) +
           QStringLiteral(" and ") + QStringLiteral("Mark_S='") + EscapeSqlText(mark_) +
           QStringLiteral("' and ") + QStringLiteral("Source_S='") + EscapeSqlText(source_) +
           QStringLiteral("'");
}

QString clsIsoItem::updateStatement() const
{
    return QStringLiteral("update Isoplot set ") + QStringLiteral("IsoType_S='") + EscapeSqlText(isotype_) +
           QStringLiteral("',") + QStringLiteral("MinA_S='") + EscapeSqlText(minA_) + QStringLiteral("',") +
           QStringLiteral("MinB_S='") + EscapeSqlText(minB_) + QStringLiteral("',") +
           QStringLiteral("ConstA_N=") + Num::Str(constA_) + QStringLiteral(",") +
           QStringLiteral("ConstB_N=") + Num::Str(constB_) + QStringLiteral(",") +
           QStringLiteral("ConstC_N=") + Num::Str(constC_) + QStringLiteral(",") +
           QStringLiteral("Mark_S='") + EscapeSqlText(mark_) + QStringLiteral("',") +
           QStringLiteral("Source_S='") + EscapeSqlText(source_) + QStringLiteral("'") +
           QStringLiteral(" where ID_N=") + QString::number(id_);
}

int32_t clsIsoItem::Delete(Connection &conn, int32_t lngID)
{
    Outcome outcome;
    try {
        if (lngID != 0) id_ = lngID;
        outcome.statement = QStringLiteral("select ID_N from Isoplot where ID_N=") + QString::number(id_);
        if (conn.State() != 1) conn.Open();
        if (conn.Execute(outcome.statement).RecordCount() == 0) {
            outcome.set(1, tr("记录不存在,删除失败!"));
        } else {
            outcome.statement = QStringLiteral("delete from Isoplot where ID_N=") + QString::number(id_);
            conn.Execute(outcome.statement);
            outcome.set(0, tr("删除记录成功!"));
        }
    } catch (const AppError &e) {
        outcome.set(2, tr("未知错误,删除失败!") + kLineBreak + e.description());
    }
    return outcome.announce(events_.DeleteEvent);
}

bool clsIsoItem::IsStored(Connection &conn) const { return conn.Execute(duplicateCheck()).RecordCount() > 0; }

bool clsIsoItem::HoldsStoredRow(Connection &conn) const
{
    return conn.Execute(duplicateCheck() + QStringLiteral(" and ID_N=") + QString::number(id_))
               .RecordCount() > 0;
}

int32_t clsIsoItem::Update(Connection &conn)
{
    Outcome outcome;
    try {
        // A row that is not there is neither a duplicate nor an update done:
        // nothing is written and the update has failed.
        if (!StoreDetail::RowExists(conn, QStringLiteral("Isoplot"), id_)) {
            outcome.set(2, tr("未知错误,更新记录失败!") + kLineBreak + StoreDetail::RecordMissing(),
                        updateStatement());
        } else {
            const QString check = duplicateCheck();
            if (conn.Execute(check).RecordCount() > 0) {
                outcome.set(1, tr("存在相同记录,更新失败!"), check);
            } else {
                outcome.statement = updateStatement();
                conn.Execute(outcome.statement);
                outcome.set(0, tr("更新记录成功!"));
            }
        }
    } catch (const AppError &e) {
        outcome.set(2, tr("未知错误,更新记录失败!") + kLineBreak + e.description());
    }
    return outcome.announce(events_.UpdateEvent);
}

int32_t clsIsoItem::AddNew(Connection &conn, const QString &strIsoTypeName, const QString &strMinA,
                           const QString &strMinB, float sngConstA, float sngConstB, float sngConstC,
                           const QString &strMark, const QString &strSource)
{
    using StoreDetail::TrimBlanks;
    Outcome outcome;
    try {
        // The identifier is taken first and stays on the record even when the
        // add is refused.
        id_ = GetNextID(conn);
        if (id_ == 0) throw AppError(0, QStringLiteral("clsIsoItem.AddNew"), QString());

        if (!strIsoTypeName.isEmpty()) isotype_ = TrimBlanks(strIsoTypeName);
        if (!strMinA.isEmpty()) minA_ = TrimBlanks(strMinA);
        if (!strMinB.isEmpty()) minB_ = TrimBlanks(strMinB);
        if (!strMark.isEmpty()) mark_ = TrimBlanks(strMark);
        if (!strSource.isEmpty()) source_ = TrimBlanks(strSource);
        if (sngConstA != 0) constA_ = sngConstA;
        if (sngConstB != 0) constB_ = sngConstB;
        if (sngConstC != 0) constC_ = sngConstC;

        outcome.statement =
            QStringLiteral("insert into Isoplot (ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,"
                           "ConstB_N,ConstC_N,Mark_S,Source_S) ") +
            QStringLiteral("values(") + QString::number(id_) + QStringLiteral(",") + QStringLiteral("'") +
            EscapeSqlText(isotype_) + QStringLiteral("',") + QStringLiteral("'") + EscapeSqlText(minA_) +
            QStringLiteral("',") + QStringLiteral("'") + EscapeSqlText(minB_) + QStringLiteral("',") +
            Num::Str(constA_) + QStringLiteral(",") + Num::Str(constB_) + QStringLiteral(",") +
            Num::Str(constC_) + QStringLiteral(",") + QStringLiteral("'") + EscapeSqlText(mark_) +
            QStringLiteral("',") + QStringLiteral("'") + EscapeSqlText(source_) + QStringLiteral("')");

        const QString check = duplicateCheck();
        if (conn.Execute(check).RecordCount() > 0) {
            outcome.set(1, tr("存在相同记录,添加记录失败!"), check);
        } else {
            conn.Execute(outcome.statement);
            outcome.set(0, tr("添加记录成功!"));
        }
    } catch (const AppError &e) {
        outcome.set(2, tr("未知错误,添加记录失败!") + kLineBreak + tr("错误号：%1").arg(e.number()) +
                           kLineBreak + e.description());
    }
    return outcome.announce(events_.AddEvent);
}
