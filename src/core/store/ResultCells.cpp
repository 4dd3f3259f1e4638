// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/ResultCells.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/database/Connection.h"

#include <QCoreApplication>

namespace StoreDetail {

Field CellField(const Recordset &rs, int row, int column)
{
    if (column < 0)
        throw AppError(
            3265, QStringLiteral("Recordset"),
            QCoreApplication::translate("Recordset", "在对应所需名称或序数的集合中，未找到项目。"));
    return Field(QString(), rs.Cell(row, column));
}

QString CellText(const Recordset &rs, int row, int column)
{
    if (column >= 0) {
        const QVariant &cell = rs.Cell(row, column);
        if (cell.typeId() == QMetaType::QString) return *static_cast<const QString *>(cell.constData());
    }
    return CellField(rs, row, column).Text();
}

float CellSingle(const Recordset &rs, int row, int column)
{
    if (column >= 0) {
        const QVariant &cell = rs.Cell(row, column);
        if (cell.typeId() == QMetaType::Double)
            return Num::CSng(*static_cast<const double *>(cell.constData()));
    }
    return CellField(rs, row, column).Single();
}

int32_t CellLong(const Recordset &rs, int row, int column)
{
    if (column >= 0) {
        const QVariant &cell = rs.Cell(row, column);
        if (cell.typeId() == QMetaType::LongLong) {
            const qlonglong value = *static_cast<const qlonglong *>(cell.constData());
            if (value >= INT32_MIN && value <= INT32_MAX) return int32_t(value);
        }
    }
    return CellField(rs, row, column).Long();
}

QStringList NameList(const Recordset &rs, int column, const QString &source)
{
    constexpr int kMaxNames = 32767;
    QStringList names;
    const int rows = rs.RecordCount();
    names.reserve(qMin(rows, kMaxNames));
    for (int row = 0; row < rows; ++row) {
        if (names.size() == kMaxNames) raiseRuntimeError(ErrNo::Overflow, source);
        names.append(CellText(rs, row, column));
    }
    return names;
}

bool RowExists(Connection &conn, const QString &table, int32_t id)
{
    return conn.Execute(QStringLiteral("select ID_N from ") + table + QStringLiteral(" where ID_N=") +
                        QString::number(id))
               .RecordCount() > 0;
}

QString RecordMissing() { return QCoreApplication::translate("StoreDetail", "记录不存在"); }

QString TrimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) --last;
    return text.mid(first, last - first);
}

} // namespace StoreDetail
