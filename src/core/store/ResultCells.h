// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/AppError.h"
#include "core/database/Recordset.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class Connection;

// Helpers the record, catalogue and registry classes share for reading results.
namespace StoreDetail {

// A cell read with the conversions of Field. A column the result lacks (index
// -1) raises the same error as a field asked for by an unknown name.
Field CellField(const Recordset &rs, int row, int column);

// The same readings for walks over large results: the usual cell types are
// read directly, anything else goes through Field, so the outcome is the same.
QString CellText(const Recordset &rs, int row, int column);
float CellSingle(const Recordset &rs, int row, int column);
int32_t CellLong(const Recordset &rs, int row, int column);

// The texts of one column, row by row. The name lists have always counted with
// a 16-bit index, so a 32,768th name raises the overflow error instead of
// growing a list the choice boxes were never meant to hold.
QStringList NameList(const Recordset &rs, int column, const QString &source);

// Trim of the old runtime: blanks only, tabs and other spacing stay.
QString TrimBlanks(const QString &text);

// "select ID_N from TABLE where ID_N=id" has a row.
bool RowExists(Connection &conn, const QString &table, int32_t id);
// "记录不存在", said of an update whose row is gone.
QString RecordMissing();

inline const QString kLineBreak = QStringLiteral("\r\n");

// The status of a writing operation and what its notification carries. The
// notification goes out after the operation has finished, so that an observer
// that fails cannot turn a done write into a reported failure.
struct Outcome {
    int32_t code = 2;
    QString message;
    QString statement;

    void set(int32_t value, const QString &text) { code = value, message = text; }
    void set(int32_t value, const QString &text, const QString &sql)
    {
        set(value, text);
        statement = sql;
    }
    template <class Handler> int32_t announce(const Handler &handler) const
    {
        if (handler) handler(message, statement);
        return code;
    }
};

// Runs one step and drops its failure, for the queries that skip failing steps.
template <class Step> void SkipFailure(Step &&step)
{
    try {
        step();
    } catch (const AppError &) {
    }
}

} // namespace StoreDetail
