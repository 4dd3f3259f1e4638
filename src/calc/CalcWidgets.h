#pragma once

#include "calc/CalibrationRange.h"

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

// Building blocks the calculator windows share: controls placed at their design
// positions (twips), the toolbar by keys, report lists and status-bar panels.
namespace CalcWidgets {

void place(QWidget *w, int left, int top, int width, int height);

template <class W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

// A drop-down choice list showing its caption until something is chosen.
QComboBox *choiceList(QWidget *parent, const QString &name, const QString &initialText);

// The calculators' row of three choice lists lst1, lst2, lst3 beside the
// toolbar: the first captioned as given, then "矿物A" and "矿物B".
struct ChoiceRow {
    QComboBox *lst1, *lst2, *lst3;
};
ChoiceRow choiceRow(QWidget *parent, const QString &firstCaption);

// Replaces the list's rows and makes the first one the selected row, which is
// returned (nullptr for no rows).
QTreeWidgetItem *showRows(QTreeWidget *list, const QList<QStringList> &rows);

// A toolbar named Toolbar1 whose actions carry their keys as objectName, text
// under the 24-px pictures.
QToolBar *makeToolbar(QWidget *parent, const QList<QPair<QString, QString>> &keysAndCaptions);

// A report list named ListView1: no root decoration, whole-row selection.
QTreeWidget *makeReportList(QWidget *parent, const QStringList &headers, const QList<int> &widthsTwips);

// A status bar with panels named <name>_1, <name>_2, ...; the last one stretches.
QList<QLabel *> makeStatusBar(QStatusBar *bar, const QString &name, const QStringList &texts);

// The selected row of a list, or nullptr.
QTreeWidgetItem *selectedRow(QTreeWidget *list);

// The range notice of a shown temperature (°C): the warning when it lies
// outside the calibration's range, empty otherwise.
void showRangeNotice(QLabel *panel, const std::optional<CalibrationRange> &range, double celsius);

// One row's temperature in the list's temperature column: grey, with the range
// warning as tool tip, when it lies outside the row's range; empty text for none.
void showRowTemperature(QTreeWidgetItem *row, int column, const QString &text,
                        const std::optional<CalibrationRange> &range, double celsius);

// Scrolls the list sideways until the column shows (the current row's cell).
void revealColumn(QTreeWidget *list, int column);

// Focus into a box with its whole text selected (after a failed check).
void focusAndSelect(QLineEdit *box);

} // namespace CalcWidgets
