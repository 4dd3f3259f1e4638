// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/PendingRows.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <algorithm>

namespace PendingRows {
namespace {

std::function<QIcon(const QString &)> &provider()
{
    static std::function<QIcon(const QString &)> p;
    return p;
}

int cellCount(const QTreeWidgetItem *row)
{
    const QTreeWidget *list = row->treeWidget();
    return std::max(row->columnCount(), list ? list->columnCount() : 0);
}

} // namespace

QTreeWidgetItem *MakeRow(const QStringList &values, const QString &key, const QString &state,
                         const QString &iconKey)
{
    QStringList texts;
    texts.reserve(values.size() + 1);
    texts << QString();
    texts << values;
    auto *row = new QTreeWidgetItem(texts);
    row->setData(0, KeyRole, key);
    row->setData(0, StateRole, state);
    SetIcon(row, iconKey);
    return row;
}

void AppendRows(QTreeWidget *list, const QList<QTreeWidgetItem *> &rows)
{
    if (!list || rows.isEmpty()) return;
    const bool updates = list->updatesEnabled();
    list->setUpdatesEnabled(false);
    list->addTopLevelItems(rows);
    list->setUpdatesEnabled(updates);
}

QTreeWidgetItem *AppendRow(QTreeWidget *list, const QStringList &values, const QString &key,
                           const QString &state, const QString &iconKey)
{
    QTreeWidgetItem *row = MakeRow(values, key, state, iconKey);
    list->addTopLevelItem(row);
    return row;
}

void SetKey(QTreeWidgetItem *row, const QString &key) { row->setData(0, KeyRole, key); }
QString Key(const QTreeWidgetItem *row) { return row->data(0, KeyRole).toString(); }

void SetState(QTreeWidgetItem *row, const QString &state) { row->setData(0, StateRole, state); }
QString State(const QTreeWidgetItem *row) { return row->data(0, StateRole).toString(); }

void SetIcon(QTreeWidgetItem *row, const QString &iconKey)
{
    row->setData(0, IconRole, iconKey);
    row->setIcon(0, Icon(iconKey));
}
QString IconKey(const QTreeWidgetItem *row) { return row->data(0, IconRole).toString(); }

void SetToolTip(QTreeWidgetItem *row, const QString &text)
{
    const int n = cellCount(row);
    for (int c = 0; c < n; ++c) row->setToolTip(c, text);
}
QString ToolTip(const QTreeWidgetItem *row) { return row->toolTip(0); }

QStringList Values(const QTreeWidgetItem *row, int count)
{
    QStringList values;
    values.reserve(count);
    for (int c = 1; c <= count; ++c) values << row->text(c);
    return values;
}

void setIconProvider(std::function<QIcon(const QString &)> p) { provider() = std::move(p); }

QIcon Icon(const QString &iconKey)
{
    const auto &p = provider();
    return p && !iconKey.isEmpty() ? p(iconKey) : QIcon();
}

} // namespace PendingRows
