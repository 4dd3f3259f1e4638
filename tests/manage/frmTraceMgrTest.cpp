// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerTestSupport.h"

#include "manage/frmTraceMgr.h"

#include <QDialog>

using namespace ManagerTest;

class TraceMgrTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (1,'Fe','石英','熔体',-3765,5.5,'10','r1')");
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (2,'FeO','辉石','熔体',-3000,4,'e','r2')");
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (3,'Ti','锆石','金红石',-2000,3,'10','')");
    }
    frmTraceMgr *open()
    {
        mgr = std::make_unique<frmTraceMgr>();
        mgr->Load();
        mgr->show();
        return mgr.get();
    }
    void TearDown() override
    {
        if (mgr && !mgr->isUnloaded()) {
            mgr->setHasSaved(true);
            mgr->Unload();
        }
    }
    void modifyRemark(QTreeWidgetItem *r, const QString &text)
    {
        clickRow(mgr.get(), r);
        dialogs.onModal([text](QDialog *dlg) {
            retype(findNamed<QLineEdit>(dlg, "Text2_6"), text);
            QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        });
        clickButton(mgr.get(), "modify");
    }

    TempDatabase db;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmTraceMgr> mgr;
};

TEST_F(TraceMgrTest, OpensWithElementsUnderTheRoot)
{
    frmTraceMgr *w = open();
    EXPECT_EQ(w->objectName(), "frmTraceMgr");
    EXPECT_EQ(w->windowTitle(), "微量元素温度计_数据库管理");
    ASSERT_EQ(tree(w)->topLevelItemCount(), 1);
    QTreeWidgetItem *root = tree(w)->topLevelItem(0);
    EXPECT_EQ(root->text(0), "元素");
    EXPECT_EQ(root->data(0, Qt::UserRole).toString(), "root");
    EXPECT_TRUE(root->isExpanded());
    QStringList names;
    for (int i = 0; i < root->childCount(); ++i) names << root->child(i)->text(0);
    EXPECT_EQ(names, QStringList({"Fe", "FeO", "Ti"}));

    QStringList headers;
    for (int c = 1; c < list(w)->columnCount(); ++c) headers << list(w)->headerItem()->text(c);
    EXPECT_EQ(headers, QStringList({"矿物A", "矿物B", "A", "B", "函数", "适用范围", "资料来源", "C", "n", "E",
                                    "F", "X", "ν(SiO2)", "ν(TiO2)", "K单位", "σA", "σB", "cov(A,B)", "DOI"}));
    EXPECT_EQ(label(w, "lbele"), "");
    EXPECT_EQ(w->findChild<QLabel *>("Label4"), nullptr);
    EXPECT_EQ(w->findChild<QLabel *>("Image2"), nullptr);
    EXPECT_FALSE(button(w, "save")->isEnabled());
    EXPECT_TRUE(w->hasSaved());
    // Imported rows need an element to be stored under.
    EXPECT_FALSE(button(w, "import")->isEnabled());
}

TEST_F(TraceMgrTest, ElementClickListsSubstringMatchesWithEmptySourceColumn)
{
    frmTraceMgr *w = open();
    clickNode(w, "Fe");
    EXPECT_EQ(label(w, "lbele"), "Fe");
    EXPECT_EQ(label(w, "lblTotal"), "总记录：2");
    EXPECT_TRUE(button(w, "import")->isEnabled());
    ASSERT_EQ(rowCount(w), 2);
    EXPECT_EQ(PendingRows::Values(row(w, 0), 7),
              QStringList({"石英", "熔体", "-3765", "5.5", "10", "r1", ""}));
    EXPECT_EQ(PendingRows::Key(row(w, 1)), "A2");
}

TEST_F(TraceMgrTest, RootClickKeepsTheListButRecounts)
{
    frmTraceMgr *w = open();
    clickNode(w, "Ti");
    clickNode(w, "元素");
    EXPECT_EQ(label(w, "lbele"), "Ti");
    EXPECT_EQ(rowCount(w), 1);
    EXPECT_EQ(label(w, "lblTotal"), "总记录：1");
    // "增加" with the root selected does nothing, although an element is current.
    clickButton(w, "new");
    EXPECT_TRUE(dialogs.calls().isEmpty());
}

TEST_F(TraceMgrTest, RowsOfAnotherElementAreSavedUnderTheirOwn)
{
    frmTraceMgr *w = open();
    clickNode(w, "Fe");
    modifyRemark(rowWith(w, 1, "辉石"), "改过");
    EXPECT_FALSE(w->hasSaved());
    clickButton(w, "save");
    EXPECT_EQ(db.scalar("select Element_s from TraceElement where ID_N=2"), "FeO");
    EXPECT_EQ(db.scalar("select Mark_s from TraceElement where ID_N=2"), "改过");
    EXPECT_TRUE(w->hasSaved());
    EXPECT_FALSE(button(w, "save")->isEnabled());

    // The edit dialog names the row's own element too.
    clickRow(w, rowWith(w, 1, "辉石"));
    dialogs.onModal([](QDialog *dlg) {
        EXPECT_EQ(findNamed<QLineEdit>(dlg, "Text2_0")->text(), "FeO");
        dlg->reject();
    });
    clickButton(w, "modify");
}

TEST_F(TraceMgrTest, NewRowsGoUnderTheSelectedElement)
{
    frmTraceMgr *w = open();
    clickNode(w, "Ti");
    dialogs.onModal([](QDialog *dlg) {
        retype(findNamed<QLineEdit>(dlg, "Text2_1"), "石榴子石");
        retype(findNamed<QLineEdit>(dlg, "Text2_2"), "熔体");
        retype(findNamed<QLineEdit>(dlg, "Text2_3"), "-100");
        retype(findNamed<QLineEdit>(dlg, "Text2_4"), "1");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickButton(w, "new");
    ASSERT_EQ(rowCount(w), 2);
    clickButton(w, "save");
    EXPECT_EQ(db.scalar("select Element_s from TraceElement where MinA_s='石榴子石'"), "Ti");
    EXPECT_EQ(PendingRows::Key(row(w, 1)), "A4");
}

TEST_F(TraceMgrTest, FailedUpdateKeepsChangesPendingAndClickAsks)
{
    frmTraceMgr *w = open();
    clickNode(w, "Ti");
    modifyRemark(row(w, 0), "x");
    modifyRemark(row(w, 0), ""); // back to the stored values
    clickButton(w, "save");
    EXPECT_EQ(PendingRows::IconKey(row(w, 0)), "editerror");
    EXPECT_EQ(PendingRows::ToolTip(row(w, 0)), " 记录已存在,更新失败!");
    EXPECT_FALSE(w->hasSaved());

    dialogs.answer(Dialogs::Answer::No);
    clickNode(w, "Fe");
    EXPECT_EQ(dialogs.lastMessage(), "当前修改未保存，立即保存？");
    EXPECT_EQ(label(w, "lbele"), "Fe");
    EXPECT_TRUE(w->hasSaved());
}

TEST_F(TraceMgrTest, DeleteMessagesOfTheTraceTwin)
{
    frmTraceMgr *w = open();
    clickNode(w, "Ti");
    db.exec("delete from TraceElement where ID_N=3");
    clickRow(w, row(w, 0));
    QTest::keyClick(list(w), Qt::Key_Delete);
    EXPECT_EQ(dialogs.lastMessage(), "记录不存在!");
    EXPECT_EQ(rowCount(w), 1);

    clickNode(w, "Fe");
    clickRow(w, row(w, 0));
    dialogs.answer(Dialogs::Answer::Yes);
    clickButton(w, "delete");
    EXPECT_EQ(db.scalar("select count(*) from TraceElement where ID_N=1"), "0");
    EXPECT_EQ(rowCount(w), 1);
}
