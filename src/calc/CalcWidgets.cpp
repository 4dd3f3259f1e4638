#include "calc/CalcWidgets.h"

#include <QBrush>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace CalcWidgets {

QComboBox *choiceList(QWidget *parent, const QString &name, const QString &initialText)
{
    auto *c = named(new QComboBox(parent), name);
    c->setPlaceholderText(initialText);
    return c;
}

ChoiceRow choiceRow(QWidget *parent, const QString &firstCaption)
{
    ChoiceRow row{choiceList(parent, QStringLiteral("lst1"), firstCaption),
                  choiceList(parent, QStringLiteral("lst2"), QStringLiteral("矿物A")),
                  choiceList(parent, QStringLiteral("lst3"), QStringLiteral("矿物B"))};
    place(row.lst1, 4455, 165, 1215, 345);
    place(row.lst2, 5775, 165, 1215, 345);
    place(row.lst3, 7095, 165, 1215, 345);
    return row;
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

void showRowTemperature(QTreeWidgetItem *row, int column, const QString &text,
                        const std::optional<CalibrationRange> &range, double celsius)
{
    row->setText(column, text);
    const bool outside = !text.isEmpty() && range && !range->contains(celsius);
    row->setForeground(column, outside ? QBrush(Qt::gray) : QBrush());
    row->setToolTip(column, outside ? range->warning() : QString());
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
