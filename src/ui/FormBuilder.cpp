// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FormBuilder.h"

#include "core/base/Twips.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace FormBuilder {

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(Twips::toPx(left), Twips::toPx(top), Twips::toPx(width), Twips::toPx(height));
}

void place(QWidget *w, const QRect &twips) { place(w, twips.x(), twips.y(), twips.width(), twips.height()); }

QToolBar *makeToolbar(QWidget *parent, const QList<QPair<QString, QString>> &keysAndCaptions,
                      ToolbarLook look)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    if (look == ToolbarLook::TextBeside) {
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        for (const auto &kc : keysAndCaptions) {
            if (kc.first.isEmpty())
                bar->addSeparator();
            else
                bar->addAction(kc.second)->setObjectName(kc.first);
        }
        return bar;
    }
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(20, 20));
    bar->setMovable(false);
    // Picture and caption must both fit the designed 42-pixel strip.
    bar->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    bar->setStyleSheet(QStringLiteral(
        "QToolBar { padding: 0px; spacing: 2px; } QToolButton { padding: 0px 4px; margin: 0px; }"));
    for (const auto &kc : keysAndCaptions) {
        if (kc.first.isEmpty()) {
            bar->addSeparator();
            continue;
        }
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

} // namespace FormBuilder
