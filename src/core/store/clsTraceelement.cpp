// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/clsTraceelement.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/database/Connection.h"
#include "core/store/ResultCells.h"
#include "core/store/SchemaText.h"

#include <QStringList>

using StoreDetail::kLineBreak;
using StoreDetail::Outcome;

int32_t clsTraceelement::GetNextID(Connection &conn)
{
    return NextIdentifier(conn, QStringLiteral("select max(ID_N) from TraceElement"));
}

namespace {

// The terms as SQL literals, in the order of TraceColumns::Names().
QStringList termLiterals(const TraceTerms &terms)
{
    QStringList literals = TraceColumns::Texts(terms);
    for (int i = 0; i < literals.size(); ++i)
        if (TraceColumns::IsText(i))
            literals[i] = QLatin1Char('\'') + EscapeSqlText(literals[i]) + QLatin1Char('\'');
    return literals;
}

// "name=value" for each term, joined by the separator. What K is (its unit) says
// nothing of the equation: the duplicate check leaves it out, so that a row
// stored before the column existed is still the library's row.
QString termPairs(const TraceTerms &terms, const QString &separator, bool withUnit = true)
{
    const QStringList literals = termLiterals(terms);
    QStringList pairs;
    for (int i = 0; i < literals.size(); ++i)
        if (withUnit || TraceColumns::Names()[i] != QLatin1String("KUnit_s"))
            pairs << TraceColumns::Names()[i] + QLatin1Char('=') + literals[i];
    return pairs.join(separator);
}

} // namespace

// Every text is escaped, the conditions included: a name with an apostrophe is
// an ordinary name, and no text may change what the statement does. The update's
// check spells the mineral columns in capitals; the columns compare without case.
QString clsTraceelement::duplicateCheck(const QString &minAColumn, const QString &minBColumn) const
{
    return QStringLiteral("select * from TraceElement where ") + QStringLiteral("Element_s='") +
           EscapeSqlText(element_) + QStringLiteral("' and ") + minAColumn + QStringLiteral("='") +
           EscapeSqlText(minA_) + QStringLiteral("' and ") + minBColumn + QStringLiteral("='") +
           EscapeSqlText(minB_) + QStringLiteral("' and ") + QStringLiteral("ConstA_sng=") +
           Num::Str(constA_) + QStringLiteral(" and ") + QStringLiteral("ConstB_sng=") + Num::Str(constB_) +
           QStringLiteral(" and ") + QStringLiteral("logType_s='") + EscapeSqlText(logType_) +
           QStringLiteral("' and ") + QStringLiteral("Mark_s='") + EscapeSqlText(mark_) +
           QStringLiteral("' and ") + termPairs(terms_, QStringLiteral(" and "), false);
}

QString clsTraceelement::updateStatement() const
{
    return QStringLiteral("update TraceElement set ") + QStringLiteral("Element_s='") +
           EscapeSqlText(element_) + QStringLiteral("',") + QStringLiteral("MinA_s='") +
           EscapeSqlText(minA_) + QStringLiteral("',") + QStringLiteral("MinB_s='") + EscapeSqlText(minB_) +
           QStringLiteral("',") + QStringLiteral("ConstA_sng=") + Num::Str(constA_) + QStringLiteral(",") +
           QStringLiteral("ConstB_sng=") + Num::Str(constB_) + QStringLiteral(",") +
           QStringLiteral("logType_s='") + EscapeSqlText(logType_) + QStringLiteral("',") +
           QStringLiteral("Mark_s='") + EscapeSqlText(mark_) + QStringLiteral("',") +
           termPairs(terms_, QStringLiteral(",")) + QStringLiteral(" where ID_N=") + QString::number(id_);
}

int32_t clsTraceelement::Delete(Connection &conn, int32_t lngID)
{
    Outcome outcome;
    try {
        if (lngID != 0) id_ = lngID;
        outcome.statement =
            QStringLiteral("select ID_N from TraceElement where ID_N=") + QString::number(id_);
        if (conn.Execute(outcome.statement).RecordCount() == 0) {
            outcome.set(1, tr("记录不存在,删除记录失败!"));
        } else {
            outcome.statement = QStringLiteral("delete from TraceElement where ID_N=") + QString::number(id_);
            conn.Execute(outcome.statement);
            outcome.set(0, tr("删除记录成功!"), QString());
        }
    } catch (const AppError &e) {
        outcome.set(2, tr("未知原因,删除记录失败!") + kLineBreak + e.description());
    }
    return outcome.announce(events_.DeleteEvent);
}

bool clsTraceelement::IsStored(Connection &conn) const
{
    return conn.Execute(duplicateCheck(QStringLiteral("MinA_s"), QStringLiteral("MinB_s"))).RecordCount() > 0;
}

bool clsTraceelement::HoldsStoredRow(Connection &conn) const
{
    return conn.Execute(duplicateCheck(QStringLiteral("MinA_S"), QStringLiteral("MinB_S")) +
                        QStringLiteral(" and ID_N=") + QString::number(id_))
               .RecordCount() > 0;
}

int32_t clsTraceelement::Update(Connection &conn)
{
    Outcome outcome;
    try {
        // A row that is not there is neither a duplicate nor an update done:
        // nothing is written and the update has failed.
        if (!StoreDetail::RowExists(conn, QStringLiteral("TraceElement"), id_)) {
            outcome.set(2, tr("未知错误,更新记录失败!") + kLineBreak + StoreDetail::RecordMissing(),
                        updateStatement());
        } else {
            const QString check = duplicateCheck(QStringLiteral("MinA_S"), QStringLiteral("MinB_S"));
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

int32_t clsTraceelement::AddNew(Connection &conn, const QString &strElement, const QString &strMinA,
                                const QString &strMinB, float sngConstA, float sngConstB,
                                const QString &strlogType, const QString &strMark)
{
    using StoreDetail::TrimBlanks;
    Outcome outcome;
    try {
        // The identifier is taken first and stays on the record even when the
        // add is refused.
        id_ = GetNextID(conn);
        if (id_ == 0) throw AppError(0, QStringLiteral("clsTraceelement.AddNew"), QString());

        if (!strElement.isEmpty()) element_ = TrimBlanks(strElement);
        if (!strMinA.isEmpty()) minA_ = TrimBlanks(strMinA);
        if (!strMinB.isEmpty()) minB_ = TrimBlanks(strMinB);
        if (!strMark.isEmpty()) mark_ = TrimBlanks(strMark);
        if (!strlogType.isEmpty()) logType_ = strlogType;
        if (sngConstA != 0) constA_ = sngConstA;
        if (sngConstB != 0) constB_ = sngConstB;

        outcome.statement =
            QStringLiteral("insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,"
                           "ConstB_sng,logType_s,Mark_s,") +
            TraceColumns::Names().join(QLatin1Char(',')) + QStringLiteral(") ") + QStringLiteral("values(") +
            QString::number(id_) + QStringLiteral(",") + QStringLiteral("'") + EscapeSqlText(element_) +
            QStringLiteral("',") + QStringLiteral("'") + EscapeSqlText(minA_) + QStringLiteral("',") +
            QStringLiteral("'") + EscapeSqlText(minB_) + QStringLiteral("',") + Num::Str(constA_) +
            QStringLiteral(",") + Num::Str(constB_) + QStringLiteral(",") + QStringLiteral("'") +
            EscapeSqlText(logType_) + QStringLiteral("',") + QStringLiteral("'") + EscapeSqlText(mark_) +
            QStringLiteral("',") + termLiterals(terms_).join(QLatin1Char(',')) + QStringLiteral(")");

        const QString check = duplicateCheck(QStringLiteral("MinA_s"), QStringLiteral("MinB_s"));
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
