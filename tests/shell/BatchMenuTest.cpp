// SPDX-License-Identifier: GPL-3.0-or-later
// The batch windows from the main window's menus, under its child rule, and
// their layout kept when they close.
#include "calc/frmBatch.h"
#include "core/base/SettingsStore.h"
#include "shell/RegisterForms.h"
#include "shell/frmMain.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"
#include "support/ui/Widgets.h"
#include "ui/FormFactory.h"

#include <QAction>
#include <QComboBox>
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

    // The olivine-liquid window under the same rule; its equilibrium model is kept too.
    findNamed<QAction>(main.get(), QStringLiteral("mnuOtherOlivineLiquid"))->trigger();
    QWidget *olivine = main->loadedForm(QStringLiteral("frmOlivineLiquid"));
    ASSERT_TRUE(olivine);
    EXPECT_EQ(main->mdiArea()->currentSubWindow()->windowTitle(), QStringLiteral("橄榄石-熔体温度计_氧化物"));
    findNamed<QComboBox>(olivine, QStringLiteral("cboModel"))->setCurrentIndex(1);
    findNamed<QAction>(main.get(), QStringLiteral("mnuIsotopeBatch"))->trigger();
    EXPECT_FALSE(main->loadedForm(QStringLiteral("frmOlivineLiquid")));
    findNamed<QAction>(main.get(), QStringLiteral("mnuOtherOlivineLiquid"))->trigger();
    ASSERT_TRUE(main->loadedForm(QStringLiteral("frmOlivineLiquid")));
    EXPECT_EQ(
        findNamed<QComboBox>(main->loadedForm(QStringLiteral("frmOlivineLiquid")), QStringLiteral("cboModel"))
            ->currentIndex(),
        1);

    dialogs.answer(Dialogs::Answer::Yes); // the exit question
    main->close();
    QFile::remove(SettingsStore::FilePath(app));
}

// Samples typed but not exported are not dropped by another menu entry or by
// closing the program without the user saying so.
TEST(BatchMenu, WorkNotExportedIsNotDiscardedWithoutAsking)
{
    TempDatabase db;
    ScriptedDialogs dialogs;
    RegisterAllForms();
    auto main = std::make_unique<frmMain>();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    findNamed<QAction>(main.get(), QStringLiteral("mnuIsotopeBatch"))->trigger();
    auto *iso = qobject_cast<frmBatch *>(main->loadedForm(QStringLiteral("frmIsoBatch")));
    ASSERT_TRUE(iso);
    iso->pasteText(QStringLiteral("Q1\t氧同位素\t石英\t水\t10\t\t2\t"));

    // 否: the batch window stays and the other one does not open.
    dialogs.answer(Dialogs::Answer::No);
    findNamed<QAction>(main.get(), QStringLiteral("mnuTraceElementBatch"))->trigger();
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("批量数据尚未导出，是否放弃？"));
    EXPECT_TRUE(main->loadedForm(QStringLiteral("frmIsoBatch")));
    EXPECT_FALSE(main->loadedForm(QStringLiteral("frmTraceBatch")));

    // Closing the program: the exit question, then the same one; 否 keeps it all open.
    dialogs.answer(Dialogs::Answer::Yes);
    dialogs.answer(Dialogs::Answer::No);
    main->close();
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("批量数据尚未导出，是否放弃？"));
    EXPECT_EQ(iso->sampleRows().size(), 1);

    // 是 discards the work and the other window opens.
    dialogs.answer(Dialogs::Answer::Yes);
    findNamed<QAction>(main.get(), QStringLiteral("mnuTraceElementBatch"))->trigger();
    EXPECT_FALSE(main->loadedForm(QStringLiteral("frmIsoBatch")));
    EXPECT_TRUE(main->loadedForm(QStringLiteral("frmTraceBatch")));
    dialogs.answer(Dialogs::Answer::Yes);
    main->close();
}
