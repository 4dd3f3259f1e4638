// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/CalibrationSave.h"
#include "core/base/AppError.h"
#include "support/core/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

using CalibrationSave::Row;

Row pending(int32_t id, const QString &problem = QString())
{
    Row row;
    row.add = true;
    row.id = id; // the test's own tag for the row
    row.problem = problem;
    return row;
}

} // namespace

// A failure that ends SQLite's transaction takes the rows stored before it
// along: they are written again, one at a time, and each row ends as it would
// alone - stored exactly once, the failing one failed, the refused one untouched.
TEST(CalibrationSave, RowsLostWithTheTransactionAreStoredAgainOneByOne)
{
    TempDatabase db;
    Connection &c = db.conn();
    std::vector<Row> rows{pending(1), pending(2), pending(3, QStringLiteral("常数必须为数字")), pending(4)};
    QList<int32_t> calls;
    CalibrationSave::StoreRows(&c, rows, [&](const Row &row, int32_t *newId) -> int32_t {
        calls << row.id;
        if (row.id == 2) {
            if (c.InTransaction()) c.Execute(QStringLiteral("rollback"));
            return 2;
        }
        c.Execute(QStringLiteral("insert into Isoplot (ID_N, Mark_S) values (%1, 'r')").arg(row.id));
        *newId = 100 + row.id;
        return 0;
    });

    EXPECT_EQ(calls, (QList<int32_t>{1, 2, 1, 2, 4}));
    EXPECT_EQ(rows[0].status, 0);
    EXPECT_EQ(rows[0].newId, 101);
    EXPECT_EQ(rows[1].status, 2);
    EXPECT_EQ(rows[2].status, 2); // never written
    EXPECT_EQ(rows[3].status, 0);
    EXPECT_EQ(db.scalar(QStringLiteral(
                  "select group_concat(ID_N, ',') from (select ID_N from Isoplot order by ID_N)")),
              QStringLiteral("1,4"));
    EXPECT_FALSE(c.InTransaction());
}

TEST(CalibrationSave, OneGroupWhenNothingFailsAndNoneWithoutAConnection)
{
    TempDatabase db;
    Connection &c = db.conn();
    std::vector<Row> rows{pending(1), pending(2)};
    QList<bool> grouped;
    CalibrationSave::StoreRows(&c, rows, [&](const Row &row, int32_t *) -> int32_t {
        grouped << c.InTransaction();
        return row.id == 2 ? 1 : 0; // a duplicate does not undo the others
    });
    EXPECT_EQ(grouped, (QList<bool>{true, true}));
    EXPECT_EQ(rows[0].status, 0);
    EXPECT_EQ(rows[1].status, 1);
    EXPECT_FALSE(c.InTransaction());

    // With no shared connection the record class decides alone.
    std::vector<Row> alone{pending(1)};
    int calls = 0;
    CalibrationSave::StoreRows(nullptr, alone, [&](const Row &, int32_t *) -> int32_t {
        ++calls;
        return 2;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(alone[0].status, 2);
}
