// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerTestSupport.h"

#include "manage/frmIsoMgr.h"
#include "manage/frmTraceMgr.h"
#include "shell/RegisterForms.h"
#include "shell/frmMain.h"
#include "ui/FormFactory.h"

#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace ManagerTest;

// The managers as the main window opens them from its menus.
class ManagersInFrameTest : public IsoDatabaseTest {
  protected:
    void SetUp() override
    {
        IsoDatabaseTest::SetUp();
        RegisterAllForms();
        main = std::make_unique<frmMain>();
        main->show();
    }
    void TearDown() override
    {
        for (QMdiSubWindow *sub : main->mdiArea()->subWindowList())
            if (auto *m = qobject_cast<CalibrationManager *>(sub->widget())) m->setPending(false);
        dialogs.answer(Dialogs::Answer::Yes); // the exit question
        main->close();
    }
    std::unique_ptr<frmMain> main;
};

TEST_F(ManagersInFrameTest, MenuEntriesOpenTheManagersAndTheirCloseQuestionApplies)
{
    QAction *isoEntry = findNamed<QAction>(main.get(), "mnuIsotopeDBMgr");
    QAction *traceEntry = findNamed<QAction>(main.get(), "mnuTraceElementDBMgr");
    ASSERT_TRUE(isoEntry->isEnabled());
    ASSERT_TRUE(traceEntry->isEnabled());

    isoEntry->trigger();
    auto *iso = qobject_cast<frmIsoMgr *>(main->loadedForm("frmIsoMgr"));
    ASSERT_NE(iso, nullptr);
    EXPECT_EQ(iso->subWindow()->windowTitle(), "同位素温度计_数据库管理");
    clickNode(iso, "氧同位素");
    dialogs.onModal([](QDialog *dlg) {
        retype(findNamed<QLineEdit>(dlg, "Text1_1"), "方解石");
        retype(findNamed<QLineEdit>(dlg, "Text1_2"), "水");
        for (int i = 3; i <= 5; ++i)
            retype(findNamed<QLineEdit>(dlg, QStringLiteral("Text1_%1").arg(i)), "1");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickButton(iso, "new");
    ASSERT_TRUE(iso->canSave());

    // Opening the other manager unloads this one, which asks first.
    dialogs.answer(Dialogs::Answer::Cancel);
    traceEntry->trigger();
    EXPECT_EQ(dialogs.lastMessage(), "修改尚未保存,立即保存？");
    EXPECT_EQ(main->loadedForm("frmIsoMgr"), iso);
    EXPECT_EQ(rowCount(iso), 4);

    // The frame opens the other one all the same; back to the isotope manager.
    main->mdiArea()->setActiveSubWindow(iso->subWindow());
    dialogs.answer(Dialogs::Answer::Yes);
    traceEntry->trigger();
    EXPECT_EQ(main->loadedForm("frmIsoMgr"), nullptr);
    EXPECT_NE(qobject_cast<frmTraceMgr *>(main->loadedForm("frmTraceMgr")), nullptr);
    EXPECT_EQ(db.scalar("select IsoType_S from Isoplot where MinA_S='方解石'"), "氧同位素");
}

// The calculators' "database" button closes its own window and opens the
// manager; it never closes another window on the way (here the manager itself,
// which had kept its unsaved row).
class CalculatorDatabaseButtonTest : public ManagersInFrameTest {
  protected:
    // Opens a manager from the menu and leaves a pending row in it.
    CalibrationManager *managerWithPendingRow(const char *menu, const char *form)
    {
        findNamed<QAction>(main.get(), menu)->trigger();
        auto *mgr = qobject_cast<CalibrationManager *>(main->loadedForm(form));
        EXPECT_NE(mgr, nullptr);
        if (!mgr) return nullptr;
        mgr->appendNewRow({"方解石", "水", "1", "1", "1"}, mgr->TreeView1()->topLevelItem(0)->text(0));
        mgr->setPending(true);
        return mgr;
    }
    // Opens a calculator from the menu; the manager is asked and the user keeps it open.
    ChildForm *calculatorBesides(const char *menu, const char *form)
    {
        dialogs.answer(Dialogs::Answer::Cancel);
        findNamed<QAction>(main.get(), menu)->trigger();
        EXPECT_EQ(countOf(kClose), 1);
        return main->loadedForm(form);
    }
    int countOf(const QString &text) const
    {
        int n = 0;
        for (const auto &c : dialogs.messages())
            if (c.text == text) ++n;
        return n;
    }
    const QString kClose = QStringLiteral("修改尚未保存,立即保存？");
};

TEST_F(CalculatorDatabaseButtonTest, IsotopeCalculatorClosesOnlyItself)
{
    CalibrationManager *mgr = managerWithPendingRow("mnuIsotopeDBMgr", "frmIsoMgr");
    ASSERT_NE(mgr, nullptr);
    ChildForm *calc = calculatorBesides("mnuIsotopeCalculate", "frmCalculateIso");
    ASSERT_NE(calc, nullptr);

    clickButton(calc, "database");
    EXPECT_EQ(countOf(kClose), 1) << "the manager is not asked to close again";
    EXPECT_EQ(main->loadedForm("frmCalculateIso"), nullptr);
    EXPECT_EQ(main->loadedForm("frmIsoMgr"), mgr);
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), mgr->subWindow());
    EXPECT_EQ(rowCount(mgr), 1);
    EXPECT_TRUE(mgr->pending());
}

TEST_F(CalculatorDatabaseButtonTest, TraceCalculatorShowsTheManagerThenClosesOnlyItself)
{
    CalibrationManager *mgr = managerWithPendingRow("mnuTraceElementDBMgr", "frmTraceMgr");
    ASSERT_NE(mgr, nullptr);
    ChildForm *calc = calculatorBesides("mnuTraceElementCalculate", "frmCalculateTrace");
    ASSERT_NE(calc, nullptr);

    // The button of a calculator that is not the active child.
    main->mdiArea()->setActiveSubWindow(mgr->subWindow());
    findNamed<QAction>(findNamed<QToolBar>(calc, "Toolbar1"), "database")->trigger();
    EXPECT_EQ(countOf(kClose), 1) << "the manager is not asked to close again";
    EXPECT_EQ(main->loadedForm("frmCalculateTrace"), nullptr);
    EXPECT_EQ(main->loadedForm("frmTraceMgr"), mgr);
    EXPECT_EQ(rowCount(mgr), 1);
    EXPECT_TRUE(mgr->pending());
}
