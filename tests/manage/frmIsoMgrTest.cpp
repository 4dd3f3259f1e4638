// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerTestSupport.h"

#include "core/base/Twips.h"
#include "core/store/isotype.h"
#include "manage/frmIsoMgr.h"
#include "support/core/DecimalCommaLocale.h"

#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QLocale>
#include <QTemporaryDir>

using namespace ManagerTest;

namespace {
const QString kTreeQuestion = QStringLiteral("当前修改未保存，立即保存？");
const QString kCloseQuestion = QStringLiteral("修改尚未保存,立即保存？");
} // namespace

class IsoMgrTest : public IsoDatabaseTest {
  protected:
    frmIsoMgr *open()
    {
        mgr = std::make_unique<frmIsoMgr>();
        mgr->Load();
        mgr->show();
        return mgr.get();
    }
    void TearDown() override
    {
        if (mgr && !mgr->isUnloaded()) {
            mgr->setCanSave(false);
            mgr->Unload();
        }
    }

    // Adds a row through the edit dialog, as the user does with "增加".
    void addThroughDialog(const QStringList &values)
    {
        dialogs.onModal([&values](QDialog *dlg) {
            for (int i = 0; i < values.size(); ++i)
                retype(findNamed<QLineEdit>(dlg, QStringLiteral("Text1_%1").arg(i + 1)), values[i]);
            QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        });
        clickButton(mgr.get(), "new");
    }
    // Changes one box of the selected row through the edit dialog.
    void modifyThroughDialog(QTreeWidgetItem *r, int box, const QString &text)
    {
        clickRow(mgr.get(), r);
        dialogs.onModal([box, text](QDialog *dlg) {
            retype(findNamed<QLineEdit>(dlg, QStringLiteral("Text1_%1").arg(box)), text);
            QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        });
        clickButton(mgr.get(), "modify");
    }

    std::unique_ptr<frmIsoMgr> mgr;
};

// ---- the window as it opens ------------------------------------------------

TEST_F(IsoMgrTest, OpensWithTypesInTreeAndNothingCurrent)
{
    frmIsoMgr *w = open();
    EXPECT_EQ(w->objectName(), "frmIsoMgr");
    EXPECT_EQ(w->windowTitle(), "同位素温度计_数据库管理");

    QToolBar *bar = findNamed<QToolBar>(w, "Toolbar1");
    QStringList keys, captions;
    for (QAction *a : bar->actions()) {
        keys << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
        if (!a->isSeparator()) captions << a->text();
    }
    EXPECT_EQ(keys, QStringList({"new", "modify", "delete", "|", "refresh", "filter", "|", "import", "export",
                                 "save", "|", "close"}));
    EXPECT_EQ(captions,
              QStringList({"增加", "修改", "删除", "刷新", "筛选", "导入", "导出", "保存", "关闭"}));
    EXPECT_TRUE(button(w, "filter")->isCheckable());
    EXPECT_EQ(button(w, "save")->toolTip(), "保存至数据库");
    EXPECT_FALSE(button(w, "save")->isEnabled());
    EXPECT_FALSE(button(w, "import")->isEnabled());

    QStringList names;
    for (int i = 0; i < tree(w)->topLevelItemCount(); ++i) names << tree(w)->topLevelItem(i)->text(0);
    EXPECT_EQ(names, QStringList({"氧同位素", "硫同位素", "碳同位素"}));
    EXPECT_EQ(tree(w)->topLevelItem(0)->childCount(), 0);

    QTreeWidgetItem *header = list(w)->headerItem();
    QStringList headers;
    for (int c = 0; c < list(w)->columnCount(); ++c) headers << header->text(c);
    EXPECT_EQ(headers, QStringList({"", "矿物A", "矿物B", "A", "B", "C", "适用范围", "资料来源", "数据集",
                                    "σA", "σB", "σC", "cov(A,B)", "cov(A,C)", "cov(B,C)", "DOI"}))
        << "the trace manager's terms are its own";
    EXPECT_FALSE(list(w)->rootIsDecorated());
    EXPECT_EQ(rowCount(w), 0);

    EXPECT_EQ(label(w, "Label2"), "统计信息");
    EXPECT_EQ(label(w, "lblCur"), "当前记录：");
    EXPECT_EQ(label(w, "lblTotal"), "总记录：");
    EXPECT_EQ(label(w, "Label3"), "浏览");
    EXPECT_EQ(label(w, "lbIsoType"), "");
    EXPECT_EQ(label(w, "Label4"), "【列表维护】");
    EXPECT_FALSE(findNamed<QWidget>(w, "Picture1")->isVisible());
    EXPECT_EQ(findNamed<QLineEdit>(w, "Text1")->text(), "请输入矿物");
    EXPECT_EQ(findNamed<QPushButton>(w, "Command1")->text(), "查");

    clickButton(w, "new"); // no type yet: nothing opens
    EXPECT_TRUE(dialogs.calls().isEmpty());
}

TEST_F(IsoMgrTest, TreeClickListsTheTypeAndCountsItsRows)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    EXPECT_EQ(label(w, "lbIsoType"), "氧同位素");
    EXPECT_EQ(label(w, "lblTotal"), "总记录：3");
    EXPECT_TRUE(button(w, "import")->isEnabled());
    ASSERT_EQ(rowCount(w), 3);
    QTreeWidgetItem *first = row(w, 0);
    EXPECT_EQ(PendingRows::Key(first), "A1");
    EXPECT_EQ(PendingRows::State(first), "ok");
    EXPECT_EQ(PendingRows::IconKey(first), "ok");
    EXPECT_EQ(PendingRows::Values(first, 7),
              QStringList({"石英", "水", "3.38", "0", "-3.4", "200-500", "ref"}));
    EXPECT_EQ(first->text(0), "");

    // Large counts stay readable.
    QLabel *total = findNamed<QLabel>(w, "lblTotal");
    EXPECT_GE(total->width(), total->fontMetrics().horizontalAdvance(QStringLiteral("总记录：100000")));

    clickNode(w, "碳同位素");
    EXPECT_EQ(label(w, "lblTotal"), "总记录：0");
    EXPECT_EQ(rowCount(w), 0);
    EXPECT_TRUE(dialogs.calls().isEmpty());
}

// ---- the row states of a save ----------------------------------------------

TEST_F(IsoMgrTest, RowStatesThroughAddEditAndSave)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");

    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "0-500", "O'Neil"});
    ASSERT_EQ(rowCount(w), 4);
    QTreeWidgetItem *added = row(w, 3);
    EXPECT_EQ(PendingRows::State(added), "add");
    EXPECT_EQ(PendingRows::IconKey(added), "add");
    EXPECT_EQ(PendingRows::Key(added), "");
    EXPECT_TRUE(added->isSelected());
    EXPECT_TRUE(w->canSave());
    EXPECT_TRUE(button(w, "save")->isEnabled());

    clickButton(w, "save");
    EXPECT_EQ(PendingRows::State(added), "ok");
    EXPECT_EQ(PendingRows::IconKey(added), "ok");
    EXPECT_EQ(PendingRows::Key(added), "A5");
    EXPECT_FALSE(w->canSave());
    EXPECT_EQ(db.scalar("select Source_S from Isoplot where ID_N=5"), "O'Neil");
    EXPECT_EQ(db.scalar("select IsoType_S from Isoplot where ID_N=5"), "氧同位素");

    modifyThroughDialog(row(w, 0), 6, "100-600");
    EXPECT_EQ(PendingRows::State(row(w, 0)), "edit");
    EXPECT_EQ(PendingRows::IconKey(row(w, 0)), "edit");
    clickButton(w, "save");
    EXPECT_EQ(PendingRows::State(row(w, 0)), "ok");
    EXPECT_EQ(db.scalar("select Mark_S from Isoplot where ID_N=1"), "100-600");

    // Modified and modified back: its update finds the row itself and is refused.
    modifyThroughDialog(row(w, 0), 6, "x");
    modifyThroughDialog(row(w, 0), 6, "100-600");
    EXPECT_EQ(PendingRows::State(row(w, 0)), "edit");
    clickButton(w, "save");
    EXPECT_EQ(PendingRows::State(row(w, 0)), "edit");
    EXPECT_EQ(PendingRows::IconKey(row(w, 0)), "editerror");
    EXPECT_EQ(PendingRows::ToolTip(row(w, 0)), " 记录已存在,更新失败!");
    EXPECT_EQ(row(w, 0)->toolTip(7), " 记录已存在,更新失败!");
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(IsoMgrTest, DuplicateAddIsRefusedAndOtherRowsAreSaved)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"石英", "水", "3.38", "0", "-3.4", "200-500", "ref"});
    addThroughDialog({"白云石", "水", "3.2", "0", "-1.5", "", ""});
    addThroughDialog({"白云石", "水", "3.2", "0", "-1.5", "", ""}); // same as the row before it
    clickButton(w, "save");
    EXPECT_EQ(PendingRows::IconKey(row(w, 3)), "adderror");
    EXPECT_EQ(PendingRows::ToolTip(row(w, 3)), " 记录已存在,添加失败!");
    EXPECT_EQ(PendingRows::State(row(w, 3)), "add");
    // Saved together, each row gets what it would get alone: the second twin is a duplicate.
    EXPECT_EQ(PendingRows::IconKey(row(w, 4)), "ok");
    EXPECT_EQ(PendingRows::IconKey(row(w, 5)), "adderror");
    EXPECT_EQ(db.count("Isoplot"), 5);
    // Failed rows are still pending.
    EXPECT_TRUE(w->canSave());
    EXPECT_TRUE(button(w, "save")->isEnabled());
}

TEST_F(IsoMgrTest, ImportedRowWithTextConstantIsNotSentAndOthersAre)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/rows.txt";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("菱铁矿\t水\tabc\t0\t1\r\n菱铁矿\t水\t3.13\t0\t-3.5\r\n").toUtf8());
    file.close();

    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    dialogs.answerFile(path);
    clickButton(w, "import");
    ASSERT_EQ(rowCount(w), 5);
    EXPECT_TRUE(w->canSave());
    clickButton(w, "save");
    EXPECT_EQ(PendingRows::IconKey(row(w, 3)), "adderror");
    EXPECT_EQ(PendingRows::ToolTip(row(w, 3)), "常数必须为数字");
    EXPECT_EQ(PendingRows::IconKey(row(w, 4)), "ok");
    EXPECT_EQ(db.scalar("select IsoType_S from Isoplot where MinA_S='菱铁矿'"), "氧同位素");
    EXPECT_EQ(db.count("Isoplot"), 5);
    EXPECT_TRUE(w->canSave());
}

// ---- the question before pending rows are dropped -------------------------

TEST_F(IsoMgrTest, TreeClickCancelLeavesEverythingAsItWas)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "", ""});
    dialogs.answer(Dialogs::Answer::Cancel);
    clickNode(w, "硫同位素");
    ASSERT_EQ(dialogs.messages().size(), 1);
    const auto q = dialogs.messages().first();
    EXPECT_EQ(q.text, kTreeQuestion);
    EXPECT_EQ(q.caption, "提示");
    EXPECT_EQ(q.buttons, Dialogs::Buttons::YesNoCancel);
    EXPECT_EQ(q.icon, Dialogs::Icon::Question);
    EXPECT_EQ(label(w, "lbIsoType"), "氧同位素");
    EXPECT_EQ(label(w, "lblTotal"), "总记录：3");
    EXPECT_EQ(rowCount(w), 4);
    EXPECT_TRUE(w->canSave());
    // The tree shows the type still current.
    EXPECT_EQ(tree(w)->selectedItems().value(0)->text(0), "氧同位素");
}

TEST_F(IsoMgrTest, TreeClickYesSavesUnderTheTypeBeingLeft)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "", ""});
    dialogs.answer(Dialogs::Answer::Yes);
    clickNode(w, "硫同位素");
    EXPECT_EQ(db.scalar("select IsoType_S from Isoplot where MinA_S='方解石'"), "氧同位素");
    EXPECT_EQ(label(w, "lbIsoType"), "硫同位素");
    EXPECT_EQ(rowCount(w), 1);
    EXPECT_FALSE(w->canSave());
}

TEST_F(IsoMgrTest, TreeClickNoDropsPendingRows)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "", ""});
    dialogs.answer(Dialogs::Answer::No);
    clickNode(w, "硫同位素");
    EXPECT_EQ(db.count("Isoplot"), 4);
    EXPECT_EQ(rowCount(w), 1);
    EXPECT_FALSE(w->canSave());
    EXPECT_FALSE(button(w, "save")->isEnabled());
}

TEST_F(IsoMgrTest, FailedRowsKeepTheWindowFromDroppingThem)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"石英", "水", "3.38", "0", "-3.4", "200-500", "ref"}); // a duplicate
    dialogs.answer(Dialogs::Answer::Yes);
    clickNode(w, "硫同位素");
    // The save failed: the list still shows the failed row under the old type.
    EXPECT_EQ(label(w, "lbIsoType"), "氧同位素");
    EXPECT_EQ(PendingRows::IconKey(row(w, 3)), "adderror");
    EXPECT_TRUE(w->canSave());

    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_FALSE(w->Unload());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dialogs.messages().last().text, kCloseQuestion);

    dialogs.answer(Dialogs::Answer::No);
    EXPECT_TRUE(w->Unload());
}

TEST_F(IsoMgrTest, CloseAsksOnlyWhilePending)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "", ""});

    dialogs.answer(Dialogs::Answer::Cancel);
    clickButton(w, "close");
    EXPECT_FALSE(w->isUnloaded());
    const auto q = dialogs.messages().last();
    EXPECT_EQ(q.text, kCloseQuestion);
    EXPECT_EQ(q.caption, "提示");
    EXPECT_EQ(q.buttons, Dialogs::Buttons::YesNoCancel);
    EXPECT_EQ(q.icon, Dialogs::Icon::Question);

    dialogs.answer(Dialogs::Answer::Yes);
    clickButton(w, "close");
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(db.count("Isoplot"), 5);
}

TEST_F(IsoMgrTest, CloseWithoutPendingRowsDoesNotAsk)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    EXPECT_TRUE(w->Unload());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(IsoMgrTest, RefreshAsksBeforeDroppingPendingRows)
{
    frmIsoMgr *w = open();
    clickButton(w, "refresh"); // nothing current: nothing happens
    EXPECT_TRUE(dialogs.calls().isEmpty());

    clickNode(w, "氧同位素");
    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "", ""});
    dialogs.answer(Dialogs::Answer::Cancel);
    clickButton(w, "refresh");
    EXPECT_EQ(dialogs.messages().last().text, kTreeQuestion);
    EXPECT_EQ(rowCount(w), 4);
    EXPECT_TRUE(w->canSave());

    dialogs.answer(Dialogs::Answer::No);
    clickButton(w, "refresh");
    EXPECT_EQ(rowCount(w), 3);
    EXPECT_FALSE(w->canSave());

    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "", ""});
    dialogs.answer(Dialogs::Answer::Yes);
    clickButton(w, "refresh");
    EXPECT_EQ(rowCount(w), 4);
    EXPECT_EQ(PendingRows::State(row(w, 3)), "ok");
    EXPECT_EQ(db.count("Isoplot"), 5);
}

// ---- filter, sort, delete ---------------------------------------------------

TEST_F(IsoMgrTest, FilterHidesRowsAndKeepsPendingOnes)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "", ""});
    clickButton(w, "filter");
    EXPECT_TRUE(findNamed<QWidget>(w, "Picture1")->isVisible());
    EXPECT_TRUE(button(w, "filter")->isChecked());

    retype(findNamed<QLineEdit>(w, "Text1"), " 磁铁矿 ");
    QTest::mouseClick(findNamed<QPushButton>(w, "Command1"), Qt::LeftButton);
    QStringList shown;
    for (int i = 0; i < rowCount(w); ++i)
        if (!row(w, i)->isHidden()) shown << row(w, i)->text(1) + "/" + row(w, i)->text(2);
    EXPECT_EQ(shown, QStringList({"石英/磁铁矿"}));
    EXPECT_EQ(label(w, "lblTotal"), "总记录：3");

    // The hidden pending row is out of reach of delete but still saved.
    EXPECT_EQ(w->selectedRow(), nullptr);
    QTest::keyClick(list(w), Qt::Key_Delete);
    EXPECT_EQ(rowCount(w), 4);
    clickButton(w, "save");
    EXPECT_EQ(db.count("Isoplot"), 5);

    retype(findNamed<QLineEdit>(w, "Text1"), "");
    QTest::mouseClick(findNamed<QPushButton>(w, "Command1"), Qt::LeftButton);
    for (int i = 0; i < rowCount(w); ++i) EXPECT_FALSE(row(w, i)->isHidden());
    EXPECT_EQ(rowCount(w), 4);

    clickButton(w, "filter");
    EXPECT_FALSE(findNamed<QWidget>(w, "Picture1")->isVisible());
}

TEST_F(IsoMgrTest, OnlyMineralHeadersSortAndTheyShareOneToggle)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    const QStringList loaded = column(w, 1);
    clickHeader(w, 4); // "A": no sort, no toggle
    EXPECT_EQ(column(w, 1), loaded);

    clickHeader(w, 2);
    QStringList up = loaded;
    std::sort(up.begin(), up.end());
    EXPECT_EQ(column(w, 1), up);

    clickHeader(w, 3); // the toggle is shared: descending now
    QStringList down = column(w, 2);
    QStringList expected = down;
    std::sort(expected.begin(), expected.end(), std::greater<QString>());
    EXPECT_EQ(down, expected);

    addThroughDialog({"阿", "水", "1", "0", "0", "", ""}); // appended, not sorted in
    EXPECT_EQ(row(w, rowCount(w) - 1)->text(1), "阿");
}

TEST_F(IsoMgrTest, DeleteFromToolbarAsksAndTheKeyDoesNot)
{
    frmIsoMgr *w = open();
    clickButton(w, "delete"); // nothing selected: no question
    EXPECT_TRUE(dialogs.calls().isEmpty());

    clickNode(w, "氧同位素");
    clickRow(w, row(w, 0));
    dialogs.answer(Dialogs::Answer::No);
    clickButton(w, "delete");
    const auto q = dialogs.messages().last();
    EXPECT_EQ(q.text, "是否永久删除？【Y/N】");
    EXPECT_EQ(q.caption, "提示");
    EXPECT_EQ(q.buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(q.icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(rowCount(w), 3);

    dialogs.answer(Dialogs::Answer::Yes);
    clickButton(w, "delete");
    EXPECT_EQ(rowCount(w), 2);
    EXPECT_EQ(db.scalar("select count(*) from Isoplot where ID_N=1"), "0");
    EXPECT_EQ(w->selectedRow(), row(w, 0)); // the row that took its place

    dialogs.clear();
    QTest::keyClick(list(w), Qt::Key_Delete);
    EXPECT_EQ(rowCount(w), 1);
    EXPECT_TRUE(dialogs.calls().isEmpty());
    EXPECT_FALSE(w->canSave());
}

TEST_F(IsoMgrTest, DeleteOfPendingAndVanishedRows)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"方解石", "水", "2.78", "0", "-2.89", "", ""});
    QTest::keyClick(list(w), Qt::Key_Delete); // the new row was selected: gone, nothing stored
    EXPECT_EQ(rowCount(w), 3);
    EXPECT_EQ(db.count("Isoplot"), 4);

    db.exec("delete from Isoplot where ID_N=2");
    clickRow(w, rowWith(w, 1, "钾长石"));
    QTest::keyClick(list(w), Qt::Key_Delete);
    EXPECT_EQ(dialogs.lastMessage(), "记录不存在,删除失败!!");
    EXPECT_EQ(dialogs.messages().last().caption, "Lorvane");
    EXPECT_EQ(rowCount(w), 3);
}

TEST_F(IsoMgrTest, DoubleClickModifiesTheSelectedRow)
{
    frmIsoMgr *w = open();
    QTest::mouseDClick(list(w)->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(dialogs.calls().isEmpty());

    clickNode(w, "氧同位素");
    QTreeWidgetItem *r = row(w, 1);
    clickRow(w, r); // the first click of a double click selects
    QTest::mouseDClick(list(w)->viewport(), Qt::LeftButton, {}, list(w)->visualItemRect(r).center());
    ASSERT_EQ(dialogs.calls().size(), 1);
    EXPECT_EQ(dialogs.calls().first().kind, "modal");
    EXPECT_EQ(dialogs.calls().first().text, "frmIsoAddEdit");
}

// ---- size, and the type list link ------------------------------------------

TEST_F(IsoMgrTest, ResizeFollowsTheDesignRule)
{
    frmIsoMgr *w = open();
    QWidget *listView = list(w);
    QWidget *filter = findNamed<QWidget>(w, "Picture1");
    w->resize(Twips::toPx(12000), Twips::toPx(9000));
    const QSize big = listView->size();
    EXPECT_EQ(listView->height(), w->height() - listView->y());
    EXPECT_EQ(listView->width(), w->width() - listView->x());
    EXPECT_EQ(tree(w)->x(), 0);
    EXPECT_EQ(tree(w)->width(), findNamed<QWidget>(w, "picLeft")->width());

    // Smaller than the design: the list keeps its size, the filter panel still moves.
    w->resize(Twips::toPx(10000), Twips::toPx(7000));
    EXPECT_EQ(listView->size(), big);
    EXPECT_EQ(filter->x(), Twips::toPx(10000 - 2115 - 240));
}

TEST_F(IsoMgrTest, TypeListLinkRebuildsTheTreeOnly)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    dialogs.answerInput("氢同位素");
    dialogs.onModal([](QDialog *dlg) {
        EXPECT_EQ(dlg->windowTitle(), "同位素类型");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        dlg->reject();
    });
    QTest::mouseClick(findNamed<QLabel>(w, "Label4"), Qt::LeftButton);
    QStringList names;
    for (int i = 0; i < tree(w)->topLevelItemCount(); ++i) names << tree(w)->topLevelItem(i)->text(0);
    EXPECT_EQ(names, isotype().GetAllIsoTypeName());
    EXPECT_TRUE(names.contains("氢同位素"));
    EXPECT_EQ(label(w, "lbIsoType"), "氧同位素");
    EXPECT_EQ(rowCount(w), 3);

    dialogs.onModal([](QDialog *dlg) { dlg->reject(); });
    QTest::mouseClick(findNamed<QLabel>(w, "Image2"), Qt::LeftButton);
    EXPECT_EQ(dialogs.calls().last().kind, "modal");
    EXPECT_EQ(dialogs.calls().last().text, "frmIsotopeList");
}

TEST_F(IsoMgrTest, MovingThroughTheTreeWithKeysListsLikeAClick)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    tree(w)->setFocus();
    QTest::keyClick(tree(w), Qt::Key_Down);
    EXPECT_EQ(label(w, "lbIsoType"), tree(w)->topLevelItem(1)->text(0));
    EXPECT_EQ(label(w, "lblTotal"), QStringLiteral("总记录：%1").arg(rowCount(w)));
}

TEST_F(IsoMgrTest, ColumnWidthsAreKeptBetweenOpenings)
{
    frmIsoMgr *w = open();
    list(w)->setColumnWidth(6, 150);
    ASSERT_TRUE(w->Unload());
    frmIsoMgr *again = open();
    EXPECT_EQ(list(again)->columnWidth(6), 150);
    EXPECT_EQ(list(again)->columnWidth(1), Twips::toPx(1440));
}

// ---- numbers under a decimal-comma locale -------------------------------------

TEST_F(IsoMgrTest, ADecimalCommaLocaleStoresTheConstantsAsTyped)
{
    DecimalCommaLocale comma;
    if (!comma.available()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    // What the user's own locale writes as the decimal separator is a number too.
    const QString sep = QLocale::system().decimalPoint();
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    addThroughDialog({"方解石", "水", "1.5", "2" + sep + "25", "-3.4"});
    ASSERT_EQ(rowCount(w), 4);
    clickButton(w, "save");
    EXPECT_EQ(PendingRows::State(row(w, 3)), "ok");
    EXPECT_EQ(
        db.scalar("select count(*) from Isoplot where MinA_S='方解石' and ConstA_N=1.5 and ConstB_N=2.25 "
                  "and ConstC_N=-3.4"),
        "1");
    // The stored values show as they were typed, with ".", and the duplicate check still refuses.
    clickButton(w, "refresh");
    QTreeWidgetItem *stored = rowWith(w, 1, "方解石");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(PendingRows::Values(stored, 5), QStringList({"方解石", "水", "1.5", "2.25", "-3.4"}));
    addThroughDialog({"方解石", "水", "1.5", "2.25", "-3.4"});
    clickButton(w, "save");
    EXPECT_EQ(PendingRows::ToolTip(row(w, rowCount(w) - 1)), " 记录已存在,添加失败!");
    EXPECT_EQ(db.scalar("select count(*) from Isoplot where MinA_S='方解石'"), "1");
}

// ---- the dataset and the published error of the coefficients -------------------

// An import line carries the dataset, σA σB σC cov(A,B) cov(A,C) cov(B,C) and
// the DOI after the seven fields; covariances that no σ can carry are refused. The
// dialog edits the σ alone (the row is then no duplicate of itself), keeping the
// covariances, and refuses σ they no longer fit; a deleted row takes its error along.
TEST_F(IsoMgrTest, DatasetAndCoefficientErrorThroughImportDialogSaveAndDelete)
{
    frmIsoMgr *w = open();
    clickNode(w, "氧同位素");
    QTemporaryDir in;
    const QString path = in.filePath(QStringLiteral("rows.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("方解石\t水\t2.78\t0\t-3.39\t0-500\tsrc\tDS1\t0.1\t0.2\t\t0.015\t\t\t10.1000/ab\r\n"
                          "白云石\t水\t3.1\t0\t-2\t\tsrc\t\t0.1\t0.2\t\t0.05\t\t\r\n"));
    file.close();
    dialogs.answerFile(path);
    clickButton(w, "import");
    clickButton(w, "save");
    QTreeWidgetItem *calcite = row(w, 3), *dolomite = row(w, 4);
    EXPECT_EQ(PendingRows::IconKey(calcite), "ok");
    EXPECT_EQ(PendingRows::Values(calcite, 14).mid(7),
              QStringList({"DS1", "0.1", "0.2", "0", "0.015", "0", "0"}));
    EXPECT_EQ(PendingRows::IconKey(dolomite), "adderror");
    EXPECT_EQ(PendingRows::ToolTip(dolomite), "协方差与σ不相容") << "|ρ| = 2.5";
    const QString id = db.scalar("select ID_N from Isoplot where MinA_S='方解石'");
    const QString covariance =
        "select AA||' '||AB||' '||BB||' '||CC from Covariance where Table_S='Isoplot' and Row_N=" + id;
    EXPECT_EQ(db.scalar("select Dataset_S||' '||DOI_S from Isoplot where ID_N=" + id), "DS1 10.1000/ab");
    EXPECT_EQ(db.scalar(covariance), "0.01 0.015 0.04 0.0");

    clickRow(w, calcite);
    dialogs.onModal([this](QDialog *dlg) {
        EXPECT_EQ(findNamed<QLineEdit>(dlg, "txtDataset")->text(), "DS1");
        EXPECT_EQ(findNamed<QLineEdit>(dlg, "txtSigmaB")->text(), "0.2");
        retype(findNamed<QLineEdit>(dlg, "txtSigmaA"), "0.05"); // ρ(A,B) = 1.5
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        EXPECT_EQ(dialogs.lastMessage(), "协方差与σ不相容");
        EXPECT_EQ(dlg->focusWidget(), findNamed<QLineEdit>(dlg, "txtSigmaA"));
        retype(findNamed<QLineEdit>(dlg, "txtSigmaA"), "0.2");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickButton(w, "modify");
    clickButton(w, "save");
    EXPECT_EQ(PendingRows::IconKey(calcite), "ok") << PendingRows::ToolTip(calcite).toStdString();
    EXPECT_EQ(db.scalar(covariance), "0.04 0.015 0.04 0.0");

    clickRow(w, calcite);
    dialogs.answer(Dialogs::Answer::Yes);
    clickButton(w, "delete");
    EXPECT_EQ(db.scalar("select count(*) from Isoplot where ID_N=" + id), "0");
    EXPECT_EQ(db.scalar("select count(*) from Covariance"), "0");
}
