// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the user meets it: menus, toolbar, status bar, help,
// background, the exit question and the remembered position.
#include "core/base/Language.h"
#include "core/base/ProgramFolders.h"
#include "core/base/SettingsStore.h"
#include "shell/StandInForm.h"
#include "shell/frmMain.h"
#include "support/ui/ScriptedDialogs.h"
#include "support/ui/Widgets.h"
#include "ui/FormFactory.h"
#include "ui/Launcher.h"

#include <QAction>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kApp = QStringLiteral("Lorvane");
const QString kSection = QStringLiteral("Settings");

// The main window's client area as designed: 11145 × 7545 twips at 15 twips a pixel.
const QSize kDesign(743, 503);

// Where a window of the designed size stands centred on the screen.
QPoint centred()
{
    const QRect area = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    return area.topLeft() +
           QPoint((area.width() - kDesign.width()) / 2, (area.height() - kDesign.height()) / 2);
}

QString stored(const QString &key)
{
    return SettingsStore::GetSetting(kApp, kSection, key, QStringLiteral("<none>"));
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { QFile::remove(SettingsStore::FilePath(kApp)); }
    void TearDown() override
    {
        Launcher::SetCalculators({});
        Launcher::SetEditors({});
        QFile::remove(SettingsStore::FilePath(kApp));
    }

    std::unique_ptr<frmMain> openMain()
    {
        auto w = std::make_unique<frmMain>();
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    // Closes the main window answering the exit question; true when it closed.
    bool closeMain(frmMain *w, Dialogs::Answer answer)
    {
        dialogs.answer(answer);
        return w->close();
    }

    ScriptedDialogs dialogs;
};

// --- Position and size in section "Settings" -------------------------------

TEST_F(MainWindowTest, FirstStartOpensAtTheDesignedSizeCentredOnTheScreen)
{
    auto w = openMain();
    EXPECT_EQ(w->size(), kDesign);
    const QPoint middle = QGuiApplication::primaryScreen()->availableVirtualGeometry().center();
    EXPECT_LE((w->frameGeometry().center() - middle).manhattanLength(), 6)
        << "centred, give or take the frame";
    // Every menu of the menu bar shows, 退出(Q) not folded behind "»".
    auto allShown = [&] {
        for (QAction *menu : w->menuBar()->actions()) {
            const QRect at = w->menuBar()->actionGeometry(menu);
            if (!at.isValid() || at.right() >= w->menuBar()->width()) return false;
        }
        return true;
    };
    EXPECT_TRUE(allShown()) << "at 433 px, as it used to open, 退出(Q) went behind the bar's »";
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Lorvane"));
    EXPECT_FALSE(w->isMaximized());
}

TEST_F(MainWindowTest, NormalCloseStoresPositionAndSizeInTwips)
{
    auto w = openMain();
    w->move(100, 120);
    w->resize(500, 400);
    // The stored size is the outer one, frame included.
    const QRect outer = w->frameGeometry();
    ASSERT_EQ(outer.topLeft(), QPoint(100, 120));
    ASSERT_TRUE(closeMain(w.get(), Dialogs::Answer::Yes));
    EXPECT_EQ(stored(QStringLiteral("MainLeft")), QStringLiteral("1500"));
    EXPECT_EQ(stored(QStringLiteral("MainTop")), QStringLiteral("1800"));
    EXPECT_EQ(stored(QStringLiteral("MainWidth")), QString::number(outer.width() * 15));
    EXPECT_EQ(stored(QStringLiteral("MainHeight")), QString::number(outer.height() * 15));

    // Reopened at the same place and size, without growing by the frame.
    auto again = openMain();
    EXPECT_EQ(again->frameGeometry(), outer);
    dialogs.answer(Dialogs::Answer::Yes);
    ASSERT_TRUE(again->close());
    EXPECT_EQ(stored(QStringLiteral("MainWidth")), QString::number(outer.width() * 15));
}

TEST_F(MainWindowTest, MinimisedCloseStoresNothing)
{
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainLeft"), QStringLiteral("3000"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainTop"), QStringLiteral("1500"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainWidth"), QStringLiteral("9000"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainHeight"), QStringLiteral("6000"));
    auto w = openMain();
    EXPECT_EQ(w->frameGeometry(), QRect(200, 100, 600, 400));
    w->move(10, 10);
    w->showMinimized();
    ASSERT_TRUE(w->isMinimized());
    ASSERT_TRUE(closeMain(w.get(), Dialogs::Answer::Yes));
    EXPECT_EQ(stored(QStringLiteral("MainLeft")), QStringLiteral("3000"));
    EXPECT_EQ(stored(QStringLiteral("MainTop")), QStringLiteral("1500"));
    EXPECT_EQ(stored(QStringLiteral("MainWidth")), QStringLiteral("9000"));
    EXPECT_EQ(stored(QStringLiteral("MainHeight")), QStringLiteral("6000"));
}

TEST_F(MainWindowTest, MaximisedCloseStoresTheNormalGeometryAndNextStartIsNormalOnTheScreen)
{
    auto w = openMain();
    w->move(40, 30);
    QTest::qWait(20);
    const QRect normal = w->frameGeometry();
    w->showMaximized();
    QTest::qWait(20);
    ASSERT_GT(w->frameGeometry().width(), normal.width());
    ASSERT_TRUE(closeMain(w.get(), Dialogs::Answer::Yes));
    EXPECT_EQ(stored(QStringLiteral("MainWidth")), QString::number(normal.width() * 15));
    EXPECT_EQ(stored(QStringLiteral("MainHeight")), QString::number(normal.height() * 15));

    auto again = openMain();
    EXPECT_FALSE(again->isMaximized());
    EXPECT_EQ(again->frameGeometry(), normal);
    EXPECT_TRUE(
        QGuiApplication::primaryScreen()->availableVirtualGeometry().contains(again->frameGeometry()));
}

TEST_F(MainWindowTest, StoredTextThatIsNotANumberFallsBackToTheDefault)
{
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainLeft"), QStringLiteral("left"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainWidth"), QStringLiteral("1e99"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainTop"), QStringLiteral("3000"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainHeight"), QStringLiteral("1e30"));
    auto w = openMain();
    EXPECT_EQ(w->frameGeometry(), QRect(QPoint(centred().x(), 200), kDesign));
}

// A frame no screen can show: far off every screen, or a million pixels wide.
TEST_F(MainWindowTest, StoredFrameNoScreenCanShowGivesWayToTheDefaults)
{
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainLeft"), QStringLiteral("-14999985"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainTop"), QStringLiteral("-14999985"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainWidth"), QStringLiteral("14999985"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainHeight"), QStringLiteral("14999985"));
    auto w = openMain();
    const QRect screen = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    EXPECT_EQ(w->frameGeometry().topLeft(), centred());
    EXPECT_EQ(w->frameGeometry().size(), screen.size()) << "cut to the screen";
    w->grab(); // paints
    ASSERT_TRUE(closeMain(w.get(), Dialogs::Answer::Yes));
    EXPECT_EQ(stored(QStringLiteral("MainLeft")), QString::number(centred().x() * 15));
    EXPECT_EQ(stored(QStringLiteral("MainTop")), QString::number(centred().y() * 15));

    // A frame whose title bar lies just off the top, and sizes too small to use.
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainLeft"), QStringLiteral("1500"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainTop"), QStringLiteral("-300"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainWidth"), QStringLiteral("-1"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainHeight"), QStringLiteral("150"));
    auto again = openMain();
    EXPECT_EQ(again->frameGeometry(), QRect(centred(), kDesign));
    dialogs.answer(Dialogs::Answer::Yes);
    ASSERT_TRUE(again->close());

    // Partly off the screen but with its title bar in reach: kept where it was.
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainLeft"),
                               QString::number((screen.right() - 200) * 15));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainTop"), QStringLiteral("1500"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainWidth"), QStringLiteral("9000"));
    SettingsStore::SaveSetting(kApp, kSection, QStringLiteral("MainHeight"), QStringLiteral("6000"));
    auto third = openMain();
    EXPECT_EQ(third->frameGeometry(), QRect(screen.right() - 200, 100, 600, 400));
    dialogs.answer(Dialogs::Answer::Yes);
    ASSERT_TRUE(third->close());
}

// --- The exit question -------------------------------------------------------

TEST_F(MainWindowTest, ExitAsksTheQuestionFromMenuToolbarAndCloseBox)
{
    auto w = openMain();
    for (int i = 0; i < 3; ++i) dialogs.answer(Dialogs::Answer::No);
    findNamed<QAction>(w.get(), QStringLiteral("mnuExit"))->trigger();
    findNamed<QAction>(w.get(), QStringLiteral("quit"))->trigger();
    w->close();

    const auto asked = dialogs.messages();
    ASSERT_EQ(asked.size(), 3);
    for (const auto &m : asked) {
        EXPECT_EQ(m.text, QStringLiteral("确认要退出系统吗?"));
        EXPECT_EQ(m.caption, QStringLiteral("提示"));
        EXPECT_EQ(m.buttons, Dialogs::Buttons::YesNo);
        EXPECT_EQ(m.icon, Dialogs::Icon::Information);
    }
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(stored(QStringLiteral("MainLeft")), QStringLiteral("<none>"));
}

TEST_F(MainWindowTest, AnsweringNoKeepsEveryChildOpenAndUnchanged)
{
    FormFactory::ScopedRegistration a(QStringLiteral("frmCalculateIso"),
                                      [] { return new StandInForm(QStringLiteral("甲")); });
    FormFactory::ScopedRegistration b(QStringLiteral("frmGLS"),
                                      [] { return new StandInForm(QStringLiteral("乙")); });
    auto w = openMain();
    auto *first = static_cast<StandInForm *>(w->ShowForm(QStringLiteral("frmCalculateIso")));
    first->refuseClose = true; // keeps it loaded while the second one opens
    auto *second = static_cast<StandInForm *>(w->ShowForm(QStringLiteral("frmGLS")));
    first->refuseClose = false;
    first->text->setText(QStringLiteral("一"));
    second->text->setText(QStringLiteral("二"));
    second->list->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("0.9")}));

    EXPECT_FALSE(closeMain(w.get(), Dialogs::Answer::No));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(first->unloads + second->unloads, 0);
    EXPECT_EQ(first->queries, 1); // only the refusal above
    EXPECT_EQ(first->text->text(), QStringLiteral("一"));
    EXPECT_EQ(second->text->text(), QStringLiteral("二"));
    EXPECT_EQ(second->list->topLevelItemCount(), 1);
    EXPECT_EQ(w->mdiArea()->currentSubWindow(), second->subWindow());
}

TEST_F(MainWindowTest, YesClosesEveryChildWithItsOwnCloseLogicBeforeStoring)
{
    FormFactory::ScopedRegistration a(QStringLiteral("frmCalculateIso"),
                                      [] { return new StandInForm(QStringLiteral("甲")); });
    auto w = openMain();
    QPointer<StandInForm> child = static_cast<StandInForm *>(w->ShowForm(QStringLiteral("frmCalculateIso")));
    ASSERT_TRUE(closeMain(w.get(), Dialogs::Answer::Yes));
    ASSERT_TRUE(child);
    EXPECT_EQ(child->unloads, 1);
    // The child's layout is in its own section; the frame's in "Settings".
    EXPECT_NE(SettingsStore::GetSetting(kApp, QStringLiteral("甲"), QStringLiteral("frmWidth")), QString());
    EXPECT_NE(stored(QStringLiteral("MainWidth")), QStringLiteral("<none>"));
}

TEST_F(MainWindowTest, AChildThatRefusesStopsTheWholeClosing)
{
    FormFactory::ScopedRegistration a(QStringLiteral("frmIsoMgr"),
                                      [] { return new StandInForm(QStringLiteral("管理")); });
    FormFactory::ScopedRegistration b(QStringLiteral("frmCalculateIso"),
                                      [] { return new StandInForm(QStringLiteral("甲")); });
    auto w = openMain();
    // A calculator opened before the manager, and left open beside it.
    auto *calculator = static_cast<StandInForm *>(w->ShowForm(QStringLiteral("frmCalculateIso")));
    calculator->refuseClose = true;
    auto *manager = static_cast<StandInForm *>(w->ShowForm(QStringLiteral("frmIsoMgr")));
    calculator->refuseClose = false;
    manager->refuseClose = true;
    EXPECT_FALSE(closeMain(w.get(), Dialogs::Answer::Yes));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->loadedForm(QStringLiteral("frmIsoMgr")), manager);
    // Every child was asked before any was unloaded: the calculator is still there.
    EXPECT_EQ(w->loadedForm(QStringLiteral("frmCalculateIso")), calculator);
    EXPECT_EQ(calculator->unloads, 0);
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(stored(QStringLiteral("MainLeft")), QStringLiteral("<none>"));

    // Asked again, both agree: each is asked once more and unloaded once.
    manager->refuseClose = false;
    const int asked = calculator->queries;
    EXPECT_TRUE(closeMain(w.get(), Dialogs::Answer::Yes));
    EXPECT_EQ(calculator->queries, asked + 1);
    EXPECT_EQ(calculator->unloads, 1);
    EXPECT_EQ(manager->unloads, 1);
}

// --- Menus, toolbar, status bar ------------------------------------------------

TEST_F(MainWindowTest, MenusCarryTheirCaptionsInOrder)
{
    auto w = openMain();
    QStringList top;
    for (QAction *a : w->menuBar()->actions()) top << a->text();
    EXPECT_EQ(top, QStringList({QStringLiteral("同位素温度计(&I)"), QStringLiteral("微量元素温度计(&T)"),
                                QStringLiteral("其他(&O)"), QStringLiteral("视图(&V)"),
                                QStringLiteral("帮助(&H)"), QStringLiteral("退出(&Q)")}));

    auto entries = [&](const char *menu) {
        QStringList names;
        for (QAction *a : findNamed<QMenu>(w.get(), QString::fromLatin1(menu))->actions())
            names << a->objectName() + QLatin1Char('=') +
                         (a->isSeparator() ? QStringLiteral("-") : a->text());
        return names;
    };
    EXPECT_EQ(entries("mnuIsotope"), QStringList({QStringLiteral("mnuIsotopeCalculate=温度计算(&C)"),
                                                  QStringLiteral("mnuIsotopeDBMgr=数据库管理(&M)"),
                                                  QStringLiteral("mnuIsotopeBatch=批量计算(&B)")}));
    EXPECT_EQ(entries("mnuTraceElement"),
              QStringList({QStringLiteral("mnuTraceElementCalculate=温度计算(&C)"),
                           QStringLiteral("mnuTraceElementDBMgr=数据库管理(&M)"),
                           QStringLiteral("mnuTraceElementBatch=批量计算(&B)")}));
    EXPECT_EQ(entries("mnuOther"),
              QStringList({QStringLiteral("mnuOtherOlivine=橄榄石温度计"),
                           QStringLiteral("mnuOtherOlivineLiquid=橄榄石-熔体温度计（氧化物）")}));
    EXPECT_EQ(entries("mnuView"),
              QStringList({QStringLiteral("mnuViewBack=背景..."), QStringLiteral("mnuViewS=-"),
                           QStringLiteral("mnuViewToolBar=工具栏(&T)"),
                           QStringLiteral("mnuViewStatusBar=状态栏(&B)"), QStringLiteral("mnuViewS2=-"),
                           QStringLiteral("mnuViewLanguageMenu=语言/Language")}));
    EXPECT_EQ(entries("mnuViewLanguage"),
              QStringList({QStringLiteral("mnuLanguageZh=中文"), QStringLiteral("mnuLanguageEn=English")}));
    EXPECT_EQ(entries("mnuHelp"),
              QStringList({QStringLiteral("mnuHelpContents=目录(&C)"),
                           QStringLiteral("mnuHelpSearchForHelpOn=搜索帮助目录(&S)..."),
                           QStringLiteral("mnuHelpBar0=-"), QStringLiteral("mnuHelpAbout=关于(&A)")}));
    EXPECT_EQ(findNamed<QAction>(w.get(), QStringLiteral("mnuExit"))->text(), QStringLiteral("退出(&Q)"));
}

TEST_F(MainWindowTest, EntriesOfWindowsNotInTheProgramAreDisabled)
{
    FormFactory::ScopedRegistration olivine(QStringLiteral("frmGLS"),
                                            [] { return new StandInForm(QStringLiteral("橄榄石温度计")); });
    FormFactory::ScopedRegistration none(QStringLiteral("frmTraceMgr"), nullptr);
    auto w = openMain();
    EXPECT_TRUE(findNamed<QAction>(w.get(), QStringLiteral("mnuOtherOlivine"))->isEnabled());
    QAction *traceMgr = findNamed<QAction>(w.get(), QStringLiteral("mnuTraceElementDBMgr"));
    EXPECT_FALSE(traceMgr->isEnabled());
    traceMgr->trigger();
    EXPECT_TRUE(w->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(w->ShowForm(QStringLiteral("frmTraceMgr")), nullptr);
}

TEST_F(MainWindowTest, ViewEntriesToggleTheBarsWithTheirCheckMarks)
{
    auto w = openMain();
    QToolBar *toolbar = findNamed<QToolBar>(w.get(), QStringLiteral("Toolbar1"));
    QStatusBar *status = findNamed<QStatusBar>(w.get(), QStringLiteral("sbStatusBar"));
    QAction *viewToolBar = findNamed<QAction>(w.get(), QStringLiteral("mnuViewToolBar"));
    QAction *viewStatusBar = findNamed<QAction>(w.get(), QStringLiteral("mnuViewStatusBar"));
    EXPECT_TRUE(viewToolBar->isChecked());
    EXPECT_TRUE(viewStatusBar->isChecked());
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_TRUE(status->isVisible());

    viewToolBar->trigger();
    EXPECT_FALSE(viewToolBar->isChecked());
    EXPECT_FALSE(toolbar->isVisible());
    EXPECT_TRUE(status->isVisible());
    viewStatusBar->trigger();
    EXPECT_FALSE(status->isVisible());
    viewToolBar->trigger();
    EXPECT_TRUE(viewToolBar->isChecked());
    EXPECT_TRUE(toolbar->isVisible());
    // No context menu on the bars that could hide one behind the check mark's back.
    EXPECT_EQ(w->createPopupMenu(), nullptr);
}

TEST_F(MainWindowTest, ToolbarShowsThreePicturesWithTextBelow)
{
    auto w = openMain();
    QToolBar *toolbar = findNamed<QToolBar>(w.get(), QStringLiteral("Toolbar1"));
    EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(toolbar->iconSize(), QSize(24, 24));
    QStringList buttons;
    for (QAction *a : toolbar->actions()) {
        buttons << a->objectName() + QLatin1Char('=') + a->text();
        EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    }
    EXPECT_EQ(buttons, QStringList({QStringLiteral("calculate=计算器"), QStringLiteral("notepad=记事本"),
                                    QStringLiteral("quit=退出")}));
}

TEST_F(MainWindowTest, StatusBarShowsStatusDateAndTime)
{
    auto w = openMain();
    QLabel *status = findNamed<QLabel>(w.get(), QStringLiteral("sbStatusBar_1"));
    QLabel *date = findNamed<QLabel>(w.get(), QStringLiteral("sbStatusBar_2"));
    QLabel *time = findNamed<QLabel>(w.get(), QStringLiteral("sbStatusBar_3"));
    EXPECT_EQ(status->text(), QStringLiteral("状态"));
    EXPECT_EQ(date->text(), QDate::currentDate().toString(QStringLiteral("yyyy/M/d")));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d{1,2}:\\d\\d:\\d\\d$")).match(time->text()).hasMatch());
    EXPECT_GE(date->width(), 96);
    EXPECT_GE(time->width(), 96);
    EXPECT_GT(status->width(), date->width()); // the first panel takes what is left
    EXPECT_LT(status->x(), date->x());
    EXPECT_LT(date->x(), time->x());

    const QString before = time->text();
    EXPECT_TRUE(QTest::qWaitFor([&] { return time->text() != before; }, 2500));
}

// --- Help, About, background, programs ------------------------------------------

TEST_F(MainWindowTest, BothHelpEntriesSayThereIsNoHelp)
{
    auto w = openMain();
    findNamed<QAction>(w.get(), QStringLiteral("mnuHelpContents"))->trigger();
    findNamed<QAction>(w.get(), QStringLiteral("mnuHelpSearchForHelpOn"))->trigger();
    const auto shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 2);
    for (const auto &m : shown) {
        EXPECT_EQ(m.text, QStringLiteral("无法显示帮助目录，该工程没有相关联的帮助。"));
        EXPECT_EQ(m.caption, QStringLiteral("Lorvane"));
        EXPECT_EQ(m.buttons, Dialogs::Buttons::Ok);
        EXPECT_EQ(m.icon, Dialogs::Icon::Information);
    }
}

// With the guide beside the program, both entries open it in the interface's
// language; a desktop that cannot show it says so.
TEST_F(MainWindowTest, BothHelpEntriesOpenTheGuideInTheInterfacesLanguage)
{
    ProgramFolders::SetCurrent(ProgramFolders::Locate(QStringLiteral(LORVANE_BIN_DIR)));
    QStringList opened;
    bool opens = true;
    Launcher::SetDocumentOpener([&](const QString &path) {
        opened << QFileInfo(path).fileName();
        return opens;
    });
    auto w = openMain();
    findNamed<QAction>(w.get(), QStringLiteral("mnuHelpContents"))->trigger();
    Language::Install(Language::Choice::English);
    findNamed<QAction>(w.get(), QStringLiteral("mnuHelpSearchForHelpOn"))->trigger();
    Language::Install(Language::Choice::Chinese);
    EXPECT_EQ(opened, QStringList({QStringLiteral("guide.zh.html"), QStringLiteral("guide.en.html")}));
    EXPECT_TRUE(dialogs.messages().isEmpty());

    opens = false;
    findNamed<QAction>(w.get(), QStringLiteral("mnuHelpContents"))->trigger();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("无法打开") +
                                              QStringLiteral(LORVANE_BIN_DIR "/doc/guide.zh.html") +
                                              QStringLiteral("：没有程序能显示它。"));
    Launcher::SetDocumentOpener({});
    ProgramFolders::ResetCurrent();
}

// The language is chosen for the next start: stored, and said in both languages
// when it differs from the one shown.
TEST_F(MainWindowTest, TheLanguageMenuStoresTheChoiceForTheNextStart)
{
    auto w = openMain();
    auto *chinese = findNamed<QAction>(w.get(), QStringLiteral("mnuLanguageZh"));
    auto *english = findNamed<QAction>(w.get(), QStringLiteral("mnuLanguageEn"));
    EXPECT_TRUE(chinese->isChecked());
    english->trigger();
    EXPECT_TRUE(english->isChecked());
    EXPECT_FALSE(chinese->isChecked());
    EXPECT_EQ(SettingsStore::GetSetting(kApp, QStringLiteral("Options"), QStringLiteral("Language")),
              QStringLiteral("en"));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text,
              QStringLiteral(
                  "界面语言将在下次启动时更改。\nThe language of the interface changes at the next start."));
    chinese->trigger();
    EXPECT_EQ(SettingsStore::GetSetting(kApp, QStringLiteral("Options"), QStringLiteral("Language")),
              QStringLiteral("zh"));
    EXPECT_EQ(dialogs.messages().size(), 1);

    // The next main window checks the stored choice.
    english->trigger();
    auto next = std::make_unique<frmMain>();
    EXPECT_TRUE(findNamed<QAction>(next.get(), QStringLiteral("mnuLanguageEn"))->isChecked());
}

TEST_F(MainWindowTest, AboutEntryShowsTheProgramsAboutWindowOwnedByTheMainWindow)
{
    auto w = openMain();
    QWidget *owner = nullptr;
    dialogs.onModal([&](QDialog *dlg) {
        owner = dlg->parentWidget();
        EXPECT_TRUE(dlg->isModal());
        dlg->accept();
    });
    findNamed<QAction>(w.get(), QStringLiteral("mnuHelpAbout"))->trigger();
    ASSERT_EQ(dialogs.calls().size(), 1);
    EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("modal"));
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("frmAbout"));
    EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("关于 Lorvane"));
    EXPECT_EQ(owner, w.get());
}

TEST_F(MainWindowTest, BackgroundDialogAsksForAPictureInTheBackFolder)
{
    auto w = openMain();
    dialogs.cancelFile();
    findNamed<QAction>(w.get(), QStringLiteral("mnuViewBack"))->trigger();
    ASSERT_EQ(dialogs.calls().size(), 1);
    const auto &request = dialogs.calls()[0];
    EXPECT_EQ(request.kind, QStringLiteral("open"));
    EXPECT_EQ(request.file.title, QStringLiteral("选择背景图片"));
    EXPECT_EQ(request.file.filter,
              QStringLiteral("位图(*.bmp)|*.bmp|GIF图像(*.gif)|*.gif|JPEG图像(*.jpg)|*.jpg"));
    EXPECT_EQ(request.file.filterIndex, 1);
    EXPECT_EQ(request.file.initialDir, QCoreApplication::applicationDirPath() + QStringLiteral("/back"));
    // Cancelled on the first use: still the built-in picture.
    EXPECT_TRUE(w->backgroundImage().isNull());
}

TEST_F(MainWindowTest, APictureBecomesTheBackgroundAndAnythingElseIsIgnoredSilently)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("ground.bmp"));
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(picture));
    const QString notPicture = dir.filePath(QStringLiteral("notes.jpg"));
    QFile f(notPicture);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();

    auto w = openMain();
    dialogs.answerFile(picture);
    w->ChooseBackground();
    ASSERT_FALSE(w->backgroundImage().isNull());
    EXPECT_EQ(w->backgroundImage().size(), QSize(40, 30));

    dialogs.answerFile(notPicture);
    w->ChooseBackground();
    dialogs.answerFile(dir.filePath(QStringLiteral("missing.gif")));
    w->ChooseBackground();
    dialogs.cancelFile();
    w->ChooseBackground();
    EXPECT_EQ(w->backgroundImage().size(), QSize(40, 30));
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // The chosen picture fills the client area.
    const QImage shown = w->mdiArea()->viewport()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::red));
}

TEST_F(MainWindowTest, CalculatorAndEditorMissingAreReportedNotSwallowed)
{
    Launcher::SetCalculators(
        {QStringLiteral("no-such-calculator-1"), QStringLiteral("no-such-calculator-2")});
    Launcher::SetEditors({QStringLiteral("no-such-editor")});
    auto w = openMain();
    findNamed<QAction>(w.get(), QStringLiteral("calculate"))->trigger();
    findNamed<QAction>(w.get(), QStringLiteral("notepad"))->trigger();
    const auto shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].text, QStringLiteral("未找到计算器程序。\r\n请安装以下任一程序：no-such-"
                                            "calculator-1、no-such-calculator-2"));
    EXPECT_EQ(shown[0].caption, QStringLiteral("Lorvane"));
    EXPECT_EQ(shown[1].text, QStringLiteral("未找到文本编辑器程序。\r\n请安装以下任一程序：no-such-editor"));
}

TEST_F(MainWindowTest, TheFirstInstalledCandidateIsStarted)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("started"));
    const QString script = dir.filePath(QStringLiteral("fake-calculator"));
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(Launcher::FindProgram({QStringLiteral("no-such-program"), script}), script);
    Launcher::SetCalculators({QStringLiteral("no-such-program"), script});
    auto w = openMain();
    findNamed<QAction>(w.get(), QStringLiteral("calculate"))->trigger();
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
}

} // namespace
