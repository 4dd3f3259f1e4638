#include "ManagerTestSupport.h"

#include "manage/frmIsoMgr.h"
#include "manage/frmTraceMgr.h"
#include "shell/FormFactory.h"
#include "shell/frmMain.h"

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
