// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/CalibrationSave.h"

#include "core/base/AppError.h"
#include "core/database/Connection.h"

#include <optional>

namespace CalibrationSave {

void StoreRows(Connection *conn, std::vector<Row> &rows, const StoreRow &store)
{
    bool locked = false;
    auto storeAll = [&](const Transaction *grouped) {
        for (Row &row : rows) {
            if (!row.problem.isEmpty()) continue;
            if (locked) {
                row.status = 2;
                continue;
            }
            row.status = store(row, &row.newId);
            if (row.status == 2 && conn && conn->lastErrorWasLock()) {
                locked = true;
                continue;
            }
            // What was stored before SQLite ended the transaction is gone and must be redone.
            if (grouped && row.status == 2 && !grouped->isOpen()) return false;
        }
        return true;
    };

    std::optional<Transaction> grouped;
    if (conn && conn->State() == 1 && !conn->InTransaction()) {
        try {
            grouped.emplace(*conn);
        } catch (const AppError &) {
        }
    }
    bool done = storeAll(grouped ? &*grouped : nullptr);
    if (!grouped) return;

    bool committed = false;
    if (done && !locked) {
        try {
            grouped->Commit();
            committed = true;
        } catch (const AppError &) {
        }
    }
    if (committed) return;
    locked = locked || conn->lastErrorWasLock();
    grouped->Rollback();
    // Rolled back because of a lock: nothing of this save is stored, and
    // trying again row by row would only wait again.
    if (locked) {
        for (Row &row : rows) row.status = 2;
    } else {
        storeAll(nullptr); // one row at a time, as each would go alone
    }
}

} // namespace CalibrationSave
