// The batch windows from the main window's menus, under its child rule, and
// their layout kept when they close.
#include "app/SettingsStore.h"
#include "calc/frmBatch.h"
#include "shell/RegisterForms.h"
#include "shell/frmMain.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDatabase.h"
#include "support/Widgets.h"
#include "ui/FormFactory.h"

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

TEST(BatchMenu, EntriesOpenTheWindowsOneAtATimeAndTheirLayoutIsKept)
{
    const QString app = QStringLiteral("Lorvane");
    QFile::remove(SettingsStore::FilePath(app));
    TempDatabase db;
    ScriptedDialogs dialogs;
    RegisterAllForms();
    auto main = std::make_unique<frmMain>();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));

    findNamed<QAction>(main.get(), QStringLiteral("mnuIsotopeBatch"))->trigger();
    auto *iso = qobject_cast<frmBatch *>(main->loadedForm(QStringLiteral("frmIsoBatch")));
    ASSERT_TRUE(iso);
    EXPECT_EQ(main->mdiArea()->currentSubWindow()->windowTitle(), QStringLiteral("同位素温度计_批量计算"));
    iso->frameWidget()->resize(700, 500);

    // The other entry unloads the active child first, which stores its layout.
    findNamed<QAction>(main.get(), QStringLiteral("mnuTraceElementBatch"))->trigger();
    EXPECT_FALSE(main->loadedForm(QStringLiteral("frmIsoBatch")));
    ASSERT_TRUE(main->loadedForm(QStringLiteral("frmTraceBatch")));
    const QString section = QStringLiteral("同位素温度计_批量计算");
    EXPECT_EQ(SettingsStore::GetSetting(app, section, QStringLiteral("frmWidth")), QStringLiteral("10500"));
    EXPECT_FALSE(SettingsStore::GetSetting(app, section, QStringLiteral("splitter")).isEmpty());
    EXPECT_FALSE(SettingsStore::GetSetting(app, section, QStringLiteral("column11")).isEmpty());

    // Opened again, it comes back at the stored size.
    findNamed<QAction>(main.get(), QStringLiteral("mnuIsotopeBatch"))->trigger();
    ASSERT_TRUE(main->loadedForm(QStringLiteral("frmIsoBatch")));
    EXPECT_EQ(main->loadedForm(QStringLiteral("frmIsoBatch"))->frameWidget()->width(), 700);

    dialogs.answer(Dialogs::Answer::Yes); // the exit question
    main->close();
    QFile::remove(SettingsStore::FilePath(app));
}
