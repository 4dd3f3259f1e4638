// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>

class QLabel;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QWidget;

// How the windows are put together from their designs: controls at their
// design positions in twips, toolbars whose buttons are found by key, report
// lists, status-bar panels, and where a list row keeps its key, state and icon.
// Row keys themselves are store/RowKey.h ("A" and the record's identifier).
namespace FormBuilder {

// A control at its design position (twips).
void place(QWidget *w, int left, int top, int width, int height);
void place(QWidget *w, const QRect &twips);

template <class W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

// The two toolbar designs: the calculators' pictures with the caption under
// them in a 42-pixel strip, the managers' captions beside the pictures.
enum class ToolbarLook { TextUnder, TextBeside };

// A toolbar named Toolbar1 whose actions carry their keys as objectName; an
// entry with an empty key is a separator.
QToolBar *makeToolbar(QWidget *parent, const QList<QPair<QString, QString>> &keysAndCaptions,
                      ToolbarLook look = ToolbarLook::TextUnder);

// A report list named ListView1: no root decoration, whole-row single selection.
QTreeWidget *makeReportList(QWidget *parent, const QStringList &headers, const QList<int> &widthsTwips);

// A status bar with panels named <name>_1, <name>_2, ...; the last one stretches.
QList<QLabel *> makeStatusBar(QStatusBar *bar, const QString &name, const QStringList &texts);

// Where a report row keeps its data (all on column 0).
constexpr int KeyRole = Qt::UserRole;
constexpr int StateRole = Qt::UserRole + 1;
constexpr int IconRole = Qt::UserRole + 2;

// Row states.
inline const QString kOk = QStringLiteral("ok");
inline const QString kAdd = QStringLiteral("add");
inline const QString kEdit = QStringLiteral("edit");

} // namespace FormBuilder
