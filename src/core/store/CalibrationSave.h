// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

class Connection;

// The managers' save of their pending rows, without the window: every row
// that can be stored is written, in one transaction when the connection can
// group them, and each row ends with exactly the status it would get if it
// were saved alone.
namespace CalibrationSave {

struct Row {
    bool add = false;
    int32_t id = 0; // the stored row an edit rewrites
    QString owner;  // the type or element it is stored under
    QStringList values;
    QString problem;    // why the constants cannot be stored; such a row is never written
    int32_t status = 2; // 0 stored, 1 refused as a duplicate, 2 failed
    int32_t newId = 0;  // the identifier an added row was stored with
};

// Writes one row through the record class: 0, 1 or 2; newId for an added row.
using StoreRow = std::function<int32_t(const Row &row, int32_t *newId)>;

// Stores the rows without a problem and sets their status (and newId). The
// writes share one transaction when the connection is open and none is
// running. When SQLite ends that transaction on a failure (interrupt, full
// disk) or the commit fails, it is rolled back and the rows are written again
// one at a time. Once the database is found locked, or a statement ran out of
// time, the rows left fail at once (a rolled-back group fails whole), since
// every further statement would only wait the command limit again.
void StoreRows(Connection *connection, std::vector<Row> &rows, const StoreRow &store);

} // namespace CalibrationSave
