// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/NumberText.h"
#include "core/database/Recordset.h"
#include "core/store/CoefficientCovariance.h"
#include "manage/CalibrationManager.h"
#include "manage/PendingRows.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"
#include "support/ui/Widgets.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

// Drives a manager window the way a user does: clicks on tree nodes, toolbar
// buttons, list headers and rows, on a database of its own with scripted dialogs.
namespace ManagerTest {

inline QTreeWidget *list(QWidget *form) { return findNamed<QTreeWidget>(form, "ListView1"); }
inline QTreeWidget *tree(QWidget *form) { return findNamed<QTreeWidget>(form, "TreeView1"); }
inline QString label(QWidget *form, const char *name)
{
    QLabel *l = findNamed<QLabel>(form, name);
    return l ? l->text() : QString();
}

inline QAction *button(QWidget *form, const char *key)
{
    return findNamed<QAction>(findNamed<QToolBar>(form, "Toolbar1"), key);
}

// Clicks the tool button of a toolbar key (a disabled one does nothing).
inline void clickButton(QWidget *form, const char *key)
{
    QToolBar *bar = findNamed<QToolBar>(form, "Toolbar1");
    QWidget *w = bar->widgetForAction(button(form, key));
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
}

inline QTreeWidgetItem *node(QWidget *form, const QString &text)
{
    const QList<QTreeWidgetItem *> found = tree(form)->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    EXPECT_FALSE(found.isEmpty()) << "no node " << text.toStdString();
    return found.value(0);
}

inline void clickNode(QWidget *form, const QString &text)
{
    QTreeWidget *t = tree(form);
    QTreeWidgetItem *n = node(form, text);
    if (!n) return;
    t->scrollToItem(n);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(n).center());
}

inline QTreeWidgetItem *row(QWidget *form, int index) { return list(form)->topLevelItem(index); }
inline int rowCount(QWidget *form) { return list(form)->topLevelItemCount(); }

inline QTreeWidgetItem *rowWith(QWidget *form, int column, const QString &text)
{
    for (int i = 0; i < rowCount(form); ++i)
        if (row(form, i)->text(column) == text) return row(form, i);
    return nullptr;
}

// Clicks the part of the row the list shows: a row of many columns runs past the viewport.
inline void clickRow(QWidget *form, QTreeWidgetItem *r)
{
    QTreeWidget *l = list(form);
    l->scrollToItem(r);
    const QRect shown = l->visualItemRect(r).intersected(l->viewport()->rect());
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, shown.center());
}

inline void clickHeader(QWidget *form, int column) // 1-based, as the list's columns are counted
{
    QHeaderView *h = list(form)->header();
    const int x = h->sectionViewportPosition(column - 1) + h->sectionSize(column - 1) / 2;
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
}

inline QStringList column(QWidget *form, int c)
{
    QStringList texts;
    for (int i = 0; i < rowCount(form); ++i) texts << row(form, i)->text(c);
    return texts;
}

// Replaces the text of a box as a user does: select all, type.
inline void retype(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        typeText(box, text);
}

// A stored trace row as the list shows it once saved, its element first: the
// seven shared columns (no source of data: the table keeps none), then C, n, E,
// F, X, ν_Si, ν_Ti and the unit of K. Empty when no row matches the condition.
inline QStringList storedTraceRow(Connection &conn, const QString &condition)
{
    Recordset rs = conn.Execute(QStringLiteral("select * from TraceElement where ") + condition);
    if (rs.Eof()) return {};
    auto number = [&rs](const char *column) { return Num::Str(rs.Fields(column).Single()); };
    return QStringList{rs.Fields("Element_s").Text(), rs.Fields("MinA_s").Text(),
                       rs.Fields("MinB_s").Text(),    number("ConstA_sng"),
                       number("ConstB_sng"),          rs.Fields("logType_s").Text(),
                       rs.Fields("Mark_s").Text(),    QString(),
                       number("ConstC_sng"),          number("PowerN_sng"),
                       number("ConstE_sng"),          number("ConstF_sng"),
                       rs.Fields("XName_s").Text(),   number("NuSiO2_sng"),
                       number("NuTiO2_sng"),          rs.Fields("KUnit_s").Text()} +
           CoefficientCovariance::Texts(CoefficientCovariance::Read(conn,
                                                                    CoefficientCovariance::kTraceElement,
                                                                    rs.Fields("ID_N").Long()),
                                        2) +
           QStringList{rs.Fields("DOI_s").Text()};
}

inline bool asked(const ScriptedDialogs &dialogs, const QString &text)
{
    for (const auto &c : dialogs.messages())
        if (c.text == text) return true;
    return false;
}

} // namespace ManagerTest

// A fresh database with two isotope types and a handful of rows.
class IsoDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db.exec(QStringLiteral("insert into IsotopeType (ID,Name,ShortName) values (1,'氧同位素','O')"));
        db.exec(QStringLiteral("insert into IsotopeType (ID,Name,ShortName) values (2,'硫同位素','S')"));
        db.exec(QStringLiteral("insert into IsotopeType (ID,Name,ShortName) values (3,'碳同位素','C')"));
        addIso(1, QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"), 3.38, 0, -3.4);
        addIso(2, QStringLiteral("氧同位素"), QStringLiteral("钾长石"), QStringLiteral("水"), 2.91, 0, -3.41);
        addIso(3, QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("磁铁矿"), 6.29, 0, 0);
        addIso(4, QStringLiteral("硫同位素"), QStringLiteral("黄铁矿"), QStringLiteral("方铅矿"), 1.01, 0, 0);
    }

    void addIso(int id, const QString &type, const QString &a, const QString &b, double ca, double cb,
                double cc, const QString &mark = QStringLiteral("200-500"),
                const QString &source = QStringLiteral("ref"))
    {
        db.exec(QStringLiteral("insert into "
                               "Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,"
                               "Source_S) values (%1,'%2','%3','%4',%5,%6,%7,'%8','%9')")
                    .arg(id)
                    .arg(type, a, b)
                    .arg(ca)
                    .arg(cb)
                    .arg(cc)
                    .arg(mark, source));
    }

    TempDatabase db;
    ScriptedDialogs dialogs;
};
