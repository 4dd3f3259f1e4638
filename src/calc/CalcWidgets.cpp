#include "calc/CalcWidgets.h"

#include "app/Twips.h"

#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace CalcWidgets {

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(Twips::toPx(left), Twips::toPx(top), Twips::toPx(width), Twips::toPx(height));
}

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

QToolBar *makeToolbar(QWidget *parent, const QList<QPair<QString, QString>> &keysAndCaptions)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(20, 20));
    bar->setMovable(false);
    // Picture and caption must both fit the designed 42-pixel strip.
    bar->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    bar->setStyleSheet(QStringLiteral(
        "QToolBar { padding: 0px; spacing: 2px; } QToolButton { padding: 0px 4px; margin: 0px; }"));
    for (const auto &kc : keysAndCaptions) {
        QAction *a = bar->addAction(kc.second);
        a->setObjectName(kc.first);
        if (QWidget *button = bar->widgetForAction(a)) button->setFixedHeight(40);
    }
    return bar;
}

QTreeWidget *makeReportList(QWidget *parent, const QStringList &headers, const QList<int> &widthsTwips)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("ListView1"));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setColumnCount(int(headers.size()));
    list->setHeaderLabels(headers);
    list->header()->setStretchLastSection(false);
    for (int c = 0; c < widthsTwips.size(); ++c) list->setColumnWidth(c, Twips::toPx(widthsTwips[c]));
    return list;
}

QList<QLabel *> makeStatusBar(QStatusBar *bar, const QString &name, const QStringList &texts)
{
    bar->setObjectName(name);
    bar->setSizeGripEnabled(false);
    QList<QLabel *> panels;
    for (int i = 0; i < texts.size(); ++i) {
        auto *panel = new QLabel(texts[i], bar);
        panel->setObjectName(name + QLatin1Char('_') + QString::number(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        const bool last = i + 1 == texts.size();
        // The last panel takes what is left and never squeezes the others.
        if (last) panel->setSizePolicy(QSizePolicy::Ignored, panel->sizePolicy().verticalPolicy());
        bar->addWidget(panel, last ? 1 : 0);
        panels << panel;
    }
    return panels;
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
