// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/StoredRowItem.h"
#include "manage/PendingRows.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

// Loaded rows keep their values compactly; to every reader they must look like
// any other pending-row list row.
TEST(StoredRowItem, ReadsLikeAnyOtherRow)
{
    QTreeWidget list;
    list.setColumnCount(8);
    auto *row = new StoredRowItem(17, QStringLiteral("氧同位素"), QIcon());
    row->setValue(1, QStringLiteral("石英"));
    row->setNumber(3, 726.8499755859375f);
    row->setNumber(4, 0.f);
    PendingRows::AppendRows(&list, {row});

    EXPECT_EQ(PendingRows::Key(row), "A17");
    EXPECT_EQ(PendingRows::State(row), "ok");
    EXPECT_EQ(PendingRows::IconKey(row), "ok");
    EXPECT_EQ(row->data(0, StoredRowItem::OwnerRole).toString(), "氧同位素");
    EXPECT_EQ(PendingRows::Values(row, 7), QStringList({"石英", "", "726.85", "0", "", "", ""}));
    EXPECT_EQ(row->text(0), "");
    EXPECT_EQ(PendingRows::ToolTip(row), "");
}

TEST(StoredRowItem, WritesThroughTheHelpersAndTheList)
{
    QTreeWidget list;
    list.setColumnCount(8);
    auto *row = new StoredRowItem(3, QStringLiteral("Ti"), QIcon());
    row->setNumber(3, 2.5f);
    PendingRows::AppendRows(&list, {row});

    row->setText(3, QStringLiteral("abc"));
    EXPECT_EQ(row->text(3), "abc");
    PendingRows::SetState(row, PendingRows::kEdit);
    PendingRows::SetIcon(row, PendingRows::kEditError);
    PendingRows::SetToolTip(row, QStringLiteral(" 记录已存在,更新失败!"));
    PendingRows::SetKey(row, QStringLiteral("A9"));
    row->setData(0, StoredRowItem::OwnerRole, QStringLiteral("Zr"));
    EXPECT_EQ(PendingRows::State(row), "edit");
    EXPECT_EQ(PendingRows::IconKey(row), "editerror");
    EXPECT_EQ(row->toolTip(7), " 记录已存在,更新失败!");
    EXPECT_EQ(PendingRows::Key(row), "A9");
    EXPECT_EQ(row->data(0, StoredRowItem::OwnerRole).toString(), "Zr");
    // What the view asks for goes through the same answers.
    const QModelIndex cell = list.model()->index(0, 3);
    EXPECT_EQ(list.model()->data(cell).toString(), "abc");
    EXPECT_EQ(list.model()->data(cell, Qt::ToolTipRole).toString(), " 记录已存在,更新失败!");
}

TEST(StoredRowItem, SortsByTheShownTexts)
{
    QTreeWidget list;
    list.setColumnCount(8);
    QList<QTreeWidgetItem *> rows;
    const char *minerals[] = {"c", "a", "b"};
    for (int i = 0; i < 3; ++i) {
        auto *row = new StoredRowItem(i + 1, QStringLiteral("X"), QIcon());
        row->setValue(1, QString::fromLatin1(minerals[i]));
        rows << row;
    }
    PendingRows::AppendRows(&list, rows);
    rows[0]->setText(1, QStringLiteral("0"));
    list.sortItems(1, Qt::AscendingOrder);
    QStringList order;
    for (int i = 0; i < 3; ++i) order << list.topLevelItem(i)->text(1);
    EXPECT_EQ(order, QStringList({"0", "a", "b"}));
}
