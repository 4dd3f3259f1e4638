// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/store/Names.h"
#include "core/thermometry/CalibrationRange.h"
#include "core/thermometry/RootRule.h"
#include "ui/FormBuilder.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// Building blocks the calculator windows share besides the form builder's:
// the choice lists, rows and range notices.
namespace CalcWidgets {

using FormBuilder::makeReportList;
using FormBuilder::makeStatusBar;
using FormBuilder::makeToolbar;
using FormBuilder::named;
using FormBuilder::place;

// A drop-down choice list showing its caption until something is chosen.
QComboBox *choiceList(QWidget *parent, const QString &name, const QString &initialText);

// The calculators' row of three choice lists lst1, lst2, lst3 beside the
// toolbar: the first captioned as given, then "矿物A" and "矿物B".
struct ChoiceRow {
    QComboBox *lst1, *lst2, *lst3;
};
ChoiceRow choiceRow(QWidget *parent, const QString &firstCaption);
// Once the first list holds its items: it grows leftwards until its longest item
// shows whole ("团簇同位素(Δ47)"), never over the toolbar's buttons; every
// list's drop-down is wide enough for its items.
void fitChoices(const ChoiceRow &row, const QToolBar *toolbar);

// Adds names the library stores to a choice list: each entry shows its name as
// Names::Shown gives it and keeps the stored name as its data, for chosenName.
void addNames(QComboBox *list, Names::Kind kind, const QStringList &stored);

// The stored name of the list's chosen entry, as queries and comparisons need
// it; the entry's text for one added without a stored name, "" for none.
QString chosenName(const QComboBox *list);

// Replaces the list's rows and makes the first one the selected row, which is
// returned (nullptr for no rows).
QTreeWidgetItem *showRows(QTreeWidget *list, const QList<QStringList> &rows);

// The selected row of a list, or nullptr.
QTreeWidgetItem *selectedRow(QTreeWidget *list);

// The range notice of a shown temperature (°C): the warning when it lies
// outside the calibration's range, empty otherwise.
void showRangeNotice(QLabel *panel, const std::optional<CalibrationRange> &range, double celsius);

// What the panel says of a calculated temperature, given how it stands: the
// second temperature that fits as well (its text as shown), that the calibration
// states no range, or the range warning; empty when it lies in its range.
QString rootNotice(RootRule::Standing standing, const std::optional<CalibrationRange> &range,
                   const QString &second = QString());

// One row's temperatures in the list's temperature column ("300/770" when a
// second one fits; empty text for none), grey when out of range, the notice as
// tool tip.
void showRowTemperature(QTreeWidgetItem *row, int column, const QString &text, RootRule::Standing standing,
                        const std::optional<CalibrationRange> &range, const QString &second = QString());

// Scrolls the list sideways until the column shows (the current row's cell).
void revealColumn(QTreeWidget *list, int column);

// Focus into a box with its whole text selected (after a failed check).
void focusAndSelect(QLineEdit *box);

} // namespace CalcWidgets
