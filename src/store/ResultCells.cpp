#include "store/ResultCells.h"

#include "app/AppError.h"
#include "app/Connection.h"

namespace StoreDetail {

Field CellField(const Recordset &rs, int row, int column) {
    if (column < 0)
        throw AppError(3265, QStringLiteral("Recordset"),
                       QStringLiteral("在对应所需名称或序数的集合中，未找到项目。"));
    return Field(QString(), rs.Cell(row, column));
}

QStringList NameList(const Recordset &rs, int column, const QString &source) {
    constexpr int kMaxNames = 32767;
    QStringList names;
    const int rows = rs.RecordCount();
    names.reserve(qMin(rows, kMaxNames));
    for (int row = 0; row < rows; ++row) {
        if (names.size() == kMaxNames) raiseRuntimeError(ErrNo::Overflow, source);
        names.append(CellField(rs, row, column).Text());
    }
    return names;
}

bool RowExists(Connection &conn, const QString &table, int32_t id) {
    return conn.Execute(QStringLiteral("select ID_N from ") + table +
                        QStringLiteral(" where ID_N=") + QString::number(id))
               .RecordCount() > 0;
}

QString TrimBlanks(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

} // namespace StoreDetail
