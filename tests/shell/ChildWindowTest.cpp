// SPDX-License-Identifier: GPL-3.0-or-later
// Opening child windows from the menu: each at most once, the active one
// unloaded first with its own close logic, the active one reopened afresh.
#include "core/base/AppError.h"
#include "core/base/SettingsStore.h"
#include "shell/StandInForm.h"
#include "shell/frmMain.h"
#include "support/ui/ScriptedDialogs.h"
#include "support/ui/Widgets.h"
#include "ui/FormFactory.h"

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ChildWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        QFile::remove(SettingsStore::FilePath(QStringLiteral("Lorvane")));
        main = std::make_unique<frmMain>();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    void TearDown() override
    {
        main.reset();
        QFile::remove(SettingsStore::FilePath(QStringLiteral("Lorvane")));
    }

    StandInForm *loaded(const char *formName)
    {
        return static_cast<StandInForm *>(main->loadedForm(QString::fromLatin1(formName)));
    }
    void choose(const char *menuName)
    {
        findNamed<QAction>(main.get(), QString::fromLatin1(menuName))->trigger();
    }
    QMdiSubWindow *current() const { return main->mdiArea()->currentSubWindow(); }

    ScriptedDialogs dialogs;
    // Two stand-in children under the names of the olivine thermometer and the isotope calculator.
    FormFactory::ScopedRegistration olivine{QStringLiteral("frmGLS"),
                                            [] { return new StandInForm(QStringLiteral("橄榄石温度计")); }};
    FormFactory::ScopedRegistration isotope{
        QStringLiteral("frmCalculateIso"),
        [] { return new StandInForm(QStringLiteral("同位素温度计_温度计算")); }};
    std::unique_ptr<frmMain> main;
};

TEST_F(ChildWindowTest, MenuOpensTheWindowFramedAtItsDesignSize)
{
    choose("mnuOtherOlivine");
    StandInForm *form = loaded("frmGLS");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->loads, 1);
    ASSERT_NE(form->subWindow(), nullptr);
    EXPECT_TRUE(form->subWindow()->isVisible());
    EXPECT_EQ(form->subWindow()->windowTitle(), QStringLiteral("橄榄石温度计"));
    EXPECT_EQ(form->size(), QSize(320, 210));
    EXPECT_EQ(current(), form->subWindow());
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 1);
}

TEST_F(ChildWindowTest, OpeningAnotherWindowUnloadsTheActiveOne)
{
    choose("mnuOtherOlivine");
    QPointer<StandInForm> olivineForm = loaded("frmGLS");
    choose("mnuIsotopeCalculate");
    ASSERT_TRUE(olivineForm);
    EXPECT_EQ(olivineForm->unloads, 1);
    EXPECT_EQ(loaded("frmGLS"), nullptr);
    ASSERT_NE(loaded("frmCalculateIso"), nullptr);
    EXPECT_EQ(current(), loaded("frmCalculateIso")->subWindow());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(olivineForm); // the closed window is gone, not hidden
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 1);
}

TEST_F(ChildWindowTest, ChoosingTheActiveWindowClosesItAndOpensItEmpty)
{
    choose("mnuOtherOlivine");
    QPointer<StandInForm> first = loaded("frmGLS");
    first->list->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("0.9"), QStringLiteral("0.1")}));
    first->list->setColumnWidth(1, 150);

    choose("mnuOtherOlivine");
    StandInForm *second = loaded("frmGLS");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first.data());
    EXPECT_EQ(first->unloads, 1);
    EXPECT_EQ(second->loads, 1);
    EXPECT_EQ(second->list->topLevelItemCount(), 0); // the list is lost
    EXPECT_EQ(second->list->columnWidth(1), 150);    // the layout is kept
    EXPECT_EQ(current(), second->subWindow());
}

TEST_F(ChildWindowTest, ALoadedWindowIsBroughtToTheFrontWithItsContents)
{
    choose("mnuOtherOlivine");
    StandInForm *olivineForm = loaded("frmGLS");
    olivineForm->text->setText(QStringLiteral("0.85"));
    olivineForm->refuseClose = true; // as a manager whose user cancels
    choose("mnuIsotopeCalculate");
    olivineForm->refuseClose = false;
    StandInForm *isoForm = loaded("frmCalculateIso");
    ASSERT_NE(isoForm, nullptr);
    EXPECT_EQ(loaded("frmGLS"), olivineForm); // refused, still there
    EXPECT_EQ(current(), isoForm->subWindow());

    choose("mnuOtherOlivine");
    EXPECT_EQ(isoForm->unloads, 1);
    EXPECT_EQ(loaded("frmGLS"), olivineForm);
    EXPECT_EQ(olivineForm->loads, 1);
    EXPECT_EQ(olivineForm->text->text(), QStringLiteral("0.85"));
    EXPECT_EQ(current(), olivineForm->subWindow());
}

TEST_F(ChildWindowTest, AChildMayOpenAnotherWindowFromItsOwnHandler)
{
    choose("mnuIsotopeCalculate");
    QPointer<StandInForm> calculator = loaded("frmCalculateIso");
    ChildForm *opened = nullptr;
    calculator->onClick = [&] { opened = frmMain::current()->ShowForm(QStringLiteral("frmGLS")); };
    QTest::mouseClick(calculator->button, Qt::LeftButton);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened, loaded("frmGLS"));
    ASSERT_TRUE(calculator); // still alive until the handler has returned
    EXPECT_EQ(calculator->unloads, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(calculator);
    EXPECT_EQ(current(), opened->subWindow());
}

TEST_F(ChildWindowTest, ClosingAChildByItsCloseBoxRunsItsCloseLogic)
{
    choose("mnuOtherOlivine");
    QPointer<StandInForm> form = loaded("frmGLS");
    form->subWindow()->close();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->unloads, 1);
    EXPECT_EQ(loaded("frmGLS"), nullptr);
    choose("mnuOtherOlivine");
    EXPECT_NE(loaded("frmGLS"), nullptr);
    EXPECT_EQ(loaded("frmGLS")->loads, 1);
}

class FailingForm : public StandInForm {
  public:
    FailingForm() : StandInForm(QStringLiteral("同位素温度计_数据库管理")) {}

  protected:
    void Form_Load() override
    {
        throw AppError(3021, QStringLiteral("clsIsoplotItems.FindIsoType"),
                       QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前记录已被删除"));
    }
};

TEST_F(ChildWindowTest, AnErrorOutOfAWindowsLoadIsShownNotFatal)
{
    FormFactory::ScopedRegistration failing(QStringLiteral("frmCalculateIso"),
                                            [] { return new FailingForm; });
    choose("mnuIsotopeCalculate");
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前记录已被删除"));
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Lorvane"));
    choose("mnuOtherOlivine");
    EXPECT_NE(loaded("frmGLS"), nullptr);
}

TEST_F(ChildWindowTest, CurrentIsTheRunningMainWindow)
{
    EXPECT_EQ(frmMain::current(), main.get());
    main.reset();
    EXPECT_EQ(frmMain::current(), nullptr);
}

} // namespace
