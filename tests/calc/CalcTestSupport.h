// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/ui/Widgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

// Chooses an entry of a drop-down list as the user does (the choice fires the
// list's click handler).
inline void choose(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << "no entry " << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

inline QStringList entries(QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

inline void setText(QLineEdit *box, const QString &text)
{
    box->clear();
    QTest::keyClicks(box, text);
}

inline void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

inline QStringList rowTexts(QTreeWidget *list, int row)
{
    QStringList cells;
    for (int c = 0; c < list->columnCount(); ++c) cells << list->topLevelItem(row)->text(c);
    return cells;
}
