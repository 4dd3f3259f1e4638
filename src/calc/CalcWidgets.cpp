// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/CalcWidgets.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

namespace CalcWidgets {

QComboBox *choiceList(QWidget *parent, const QString &name, const QString &initialText)
{
    auto *c = named(new QComboBox(parent), name);
    c->setPlaceholderText(initialText);
    return c;
}

ChoiceRow choiceRow(QWidget *parent, const QString &firstCaption)
{
    ChoiceRow row{
        choiceList(parent, QStringLiteral("lst1"), firstCaption),
        choiceList(parent, QStringLiteral("lst2"), QCoreApplication::translate("CalcWidgets", "矿物A")),
        choiceList(parent, QStringLiteral("lst3"), QCoreApplication::translate("CalcWidgets", "矿物B"))};
    place(row.lst1, 4455, 165, 1215, 345);
    place(row.lst2, 5775, 165, 1215, 345);
    place(row.lst3, 7095, 165, 1215, 345);
    return row;
}

namespace {

// The width that shows the combo's longest item whole.
int widthForItems(const QComboBox *combo)
{
    const QFontMetrics metrics(combo->font());
    int text = 0;
    for (int i = 0; i < combo->count(); ++i)
        text = std::max(text, metrics.horizontalAdvance(combo->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(combo);
    return combo->style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(text, metrics.height()), combo)
        .width();
}

} // namespace

void fitChoices(const ChoiceRow &row, const QToolBar *toolbar)
{
    for (QComboBox *combo : {row.lst1, row.lst2, row.lst3})
        combo->view()->setMinimumWidth(std::max(combo->width(), widthForItems(combo)));
    const QRect placed = row.lst1->geometry();
    const int floor = toolbar ? toolbar->x() + toolbar->sizeHint().width() : 0;
    const int left = std::max(floor, std::min(placed.x(), placed.right() + 1 - widthForItems(row.lst1)));
    row.lst1->setGeometry(left, placed.y(), placed.right() + 1 - left, placed.height());
}

void addNames(QComboBox *list, Names::Kind kind, const QStringList &stored)
{
    for (const QString &name : stored) list->addItem(Names::Shown(kind, name), name);
}

QString chosenName(const QComboBox *list)
{
    const QVariant stored = list->currentData();
    return stored.isValid() ? stored.toString() : list->currentText();
}

QTreeWidgetItem *showRows(QTreeWidget *list, const QList<QStringList> &rows)
{
    list->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const QStringList &cells : rows) items << new QTreeWidgetItem(cells);
    list->addTopLevelItems(items);
    if (items.isEmpty()) return nullptr;
    list->setCurrentItem(items.first());
    items.first()->setSelected(true);
    return items.first();
}

QTreeWidgetItem *selectedRow(QTreeWidget *list)
{
    const QList<QTreeWidgetItem *> rows = list->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

void showRangeNotice(QLabel *panel, const std::optional<CalibrationRange> &range, double celsius)
{
    panel->setText(range && !range->contains(celsius) ? range->warning() : QString());
}

QString rootNotice(RootRule::Standing standing, const std::optional<CalibrationRange> &range,
                   const QString &second)
{
    switch (standing) {
    case RootRule::Standing::InRange:
    case RootRule::Standing::NoRoot: return QString();
    case RootRule::Standing::TwoInRange:
        return range ? QCoreApplication::translate("CalcWidgets", "另一解%1℃亦在适用范围内").arg(second)
                     : QCoreApplication::translate("CalcWidgets", "另一解%1℃亦在0-1200℃内（未注明适用范围）")
                           .arg(second);
    case RootRule::Standing::NoRangeStated:
        return QCoreApplication::translate("CalcWidgets", "未注明适用范围");
    case RootRule::Standing::OutOfRange:
        return range ? range->warning()
                     : QCoreApplication::translate("CalcWidgets", "未注明适用范围，超出0-1200℃");
    }
    return QString();
}

void showRowTemperature(QTreeWidgetItem *row, int column, const QString &text, RootRule::Standing standing,
                        const std::optional<CalibrationRange> &range, const QString &second)
{
    const bool shown = !text.isEmpty();
    const bool two = shown && standing == RootRule::Standing::TwoInRange;
    row->setText(column, two ? text + QLatin1Char('/') + second : text);
    const bool outside = shown && standing == RootRule::Standing::OutOfRange;
    row->setForeground(column, outside ? QBrush(Qt::gray) : QBrush());
    row->setToolTip(column, shown ? rootNotice(standing, range, second) : QString());
}

void revealColumn(QTreeWidget *list, int column)
{
    QTreeWidgetItem *row = list->currentItem();
    if (!row) row = list->topLevelItem(0);
    if (row) list->scrollTo(list->model()->index(list->indexOfTopLevelItem(row), column));
}

void focusAndSelect(QLineEdit *box)
{
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

} // namespace CalcWidgets
