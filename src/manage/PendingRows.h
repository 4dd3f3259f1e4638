// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/FormBuilder.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// The list of the two database managers. Column 0 shows only the row's state
// icon; columns 1.. hold the values. Every row carries its key ("A" and the
// record's identifier, empty until stored), its state ("ok", "add", "edit"),
// the key of its small icon and a tool tip shown on every cell.
namespace PendingRows {

// Where each row keeps its data, and the row states: the form builder's.
using FormBuilder::IconRole;
using FormBuilder::kAdd;
using FormBuilder::kEdit;
using FormBuilder::KeyRole;
using FormBuilder::kOk;
using FormBuilder::StateRole;
// Icon keys besides the three states.
inline const QString kAddError = QStringLiteral("adderror");
inline const QString kEditError = QStringLiteral("editerror");

// A row not yet in a list: values go to columns 1..n. Hand it to AppendRows (or
// insert it yourself); the list takes ownership.
QTreeWidgetItem *MakeRow(const QStringList &values, const QString &key, const QString &state,
                         const QString &iconKey);

// Appends rows in one batch (a single insertion, no repaint per row).
void AppendRows(QTreeWidget *list, const QList<QTreeWidgetItem *> &rows);

// Appends one row at the end of the list and returns it.
QTreeWidgetItem *AppendRow(QTreeWidget *list, const QStringList &values, const QString &key,
                           const QString &state, const QString &iconKey);

void SetKey(QTreeWidgetItem *row, const QString &key);
QString Key(const QTreeWidgetItem *row);

void SetState(QTreeWidgetItem *row, const QString &state);
QString State(const QTreeWidgetItem *row);

// Sets the icon key and shows the picture the provider gives for it.
void SetIcon(QTreeWidgetItem *row, const QString &iconKey);
QString IconKey(const QTreeWidgetItem *row);

// The same tool tip on every cell of the row ("" clears it).
void SetToolTip(QTreeWidgetItem *row, const QString &text);
QString ToolTip(const QTreeWidgetItem *row);

// The values of columns 1..count (the texts as shown).
QStringList Values(const QTreeWidgetItem *row, int count);

// Pictures by icon key, installed by the window that owns the image list. The
// default gives an empty icon. Rows already listed keep the picture they have.
void setIconProvider(std::function<QIcon(const QString &)> provider);
QIcon Icon(const QString &iconKey);

} // namespace PendingRows
