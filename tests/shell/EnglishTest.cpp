// SPDX-License-Identifier: GPL-3.0-or-later
// The interface in English, as a geologist who reads no Chinese meets it: the
// main window and every child window without a Chinese character in their
// captions, labels, buttons, menus, tool tips and column headers.
#include "core/base/Language.h"
#include "core/base/ProgramFolders.h"
#include "core/base/SettingsStore.h"
#include "shell/RegisterForms.h"
#include "shell/frmMain.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"
#include "support/ui/Widgets.h"
#include "ui/ChildForm.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Chinese characters and the full-width punctuation that comes with them.
bool chinese(const QString &text)
{
    static const QRegularExpression han(
        QStringLiteral("[\\x{3000}-\\x{303f}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(han);
}

// Every text of a window the user reads that is still Chinese, named by the
// widget that shows it. Cells and list entries hold the user's data and are
// not looked at; headers are.
QStringList chineseTexts(QWidget *window)
{
    QStringList found;
    // The language menu is in both languages on purpose.
    const QStringList bilingual{QStringLiteral("mnuViewLanguage"), QStringLiteral("mnuViewLanguageMenu"),
                                QStringLiteral("mnuLanguageZh")};
    auto check = [&found, &bilingual](const QObject *owner, const QString &what, const QString &text) {
        if (chinese(text) && !bilingual.contains(owner->objectName()))
            found << owner->objectName() + QLatin1Char('.') + what + QStringLiteral(": ") + text;
    };
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        check(w, QStringLiteral("windowTitle"), w->isWindow() || w == window ? w->windowTitle() : QString());
        check(w, QStringLiteral("toolTip"), w->toolTip());
        if (auto *label = qobject_cast<QLabel *>(w)) check(w, QStringLiteral("text"), label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            check(w, QStringLiteral("text"), button->text());
        if (auto *group = qobject_cast<QGroupBox *>(w)) check(w, QStringLiteral("title"), group->title());
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            check(w, QStringLiteral("placeholder"), edit->placeholderText());
        if (auto *menu = qobject_cast<QMenu *>(w)) check(w, QStringLiteral("title"), menu->title());
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i) check(w, QStringLiteral("tab"), tabs->tabText(i));
        if (auto *view = qobject_cast<QAbstractItemView *>(w); view && view->model())
            for (int c = 0; c < view->model()->columnCount(); ++c)
                check(w, QStringLiteral("header"), view->model()->headerData(c, Qt::Horizontal).toString());
    }
    for (QAction *action : window->findChildren<QAction *>()) {
        check(action, QStringLiteral("text"), action->text());
        check(action, QStringLiteral("toolTip"), action->toolTip());
    }
    return found;
}

class English : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ProgramFolders::SetCurrent(ProgramFolders::Locate(QStringLiteral(LORVANE_BIN_DIR)));
        const bool installed = Language::Install(Language::Choice::English);
        ProgramFolders::ResetCurrent();
        ASSERT_TRUE(installed);
    }
    void TearDown() override
    {
        Language::Install(Language::Choice::Chinese);
        QFile::remove(SettingsStore::FilePath(QStringLiteral("Lorvane")));
    }
};

TEST_F(English, EveryWindowReadsInEnglish)
{
    TempDatabase db;
    ScriptedDialogs dialogs;
    RegisterAllForms();
    auto main = std::make_unique<frmMain>();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    EXPECT_EQ(chineseTexts(main.get()), QStringList());

    for (const char *form : {"frmCalculateIso", "frmCalculateTrace", "frmGLS", "frmOlivineLiquid",
                             "frmIsoBatch", "frmTraceBatch", "frmIsoMgr", "frmTraceMgr"}) {
        ChildForm *child = main->ShowForm(QString::fromLatin1(form), false);
        ASSERT_TRUE(child) << form;
        EXPECT_EQ(chineseTexts(child), QStringList()) << form;
    }
    dialogs.answer(Dialogs::Answer::Yes); // the exit question
    main->close();
    // Their layout is kept under the program's own caption, whichever language shows it.
    for (const char *section :
         {"同位素温度计_温度计算", "微量元素温度计_温度计算", "橄榄石温度计", "橄榄石-熔体温度计_氧化物",
          "同位素温度计_批量计算", "微量元素温度计_批量计算"})
        EXPECT_FALSE(SettingsStore::GetSetting(QStringLiteral("Lorvane"), QString::fromUtf8(section),
                                               QStringLiteral("frmWidth"))
                         .isEmpty())
            << section;
}

} // namespace
