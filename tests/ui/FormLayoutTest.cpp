// SPDX-License-Identifier: GPL-3.0-or-later
// Window layout in the settings store: position, size, state and column
// widths in twips, one section per window caption.
#include "ui/FormLayout.h"
#include "core/base/SettingsStore.h"
#include "ui/ChildForm.h"
#include "ui/ImageList.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kApp = QStringLiteral("Lorvane");
const QString kSection = QStringLiteral("橄榄石温度计");

class ListForm : public ChildForm {
  public:
    ListForm()
    {
        setWindowTitle(kSection);
        resize(300, 200);
        // A tree before the list, as the managers have: it must not take the widths.
        tree = new QTreeWidget(this);
        tree->setObjectName(QStringLiteral("TreeView1"));
        tree->setColumnCount(1);
        tree->header()->setStretchLastSection(false);
        tree->setColumnWidth(0, 33);
        list = new QTreeWidget(this);
        list->setObjectName(QStringLiteral("ListView1"));
        list->setRootIsDecorated(false);
        list->setColumnCount(5);
        for (int i = 0; i < 5; ++i) list->setColumnWidth(i, 40 + 4 * i);
    }
    QTreeWidget *tree;
    QTreeWidget *list;

  protected:
    void Form_Load() override { mdlFunction::LoadFormLayout(this); }
    void Form_Unload() override { mdlFunction::SaveFormLayout(this); }
};

class FormLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        QFile::remove(SettingsStore::FilePath(kApp));
        area = std::make_unique<QMdiArea>();
        area->resize(900, 700);
        area->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(area.get()));
    }
    void TearDown() override
    {
        area.reset();
        QFile::remove(SettingsStore::FilePath(kApp));
    }

    // Opens the window framed, as the main window does.
    ListForm *open()
    {
        auto *form = new ListForm;
        QMdiSubWindow *sub = area->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setGeometry(30, 40, 340, 250);
        form->Load();
        sub->show();
        return form;
    }
    void close(ListForm *form)
    {
        ASSERT_TRUE(form->Unload());
        lastWidths.clear();
        for (int i = 0; i < form->list->columnCount(); ++i) lastWidths << form->list->columnWidth(i);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString stored(const QString &key)
    {
        return SettingsStore::GetSetting(kApp, kSection, key, QStringLiteral("<none>"));
    }
    void store(const QString &key, const QString &value)
    {
        SettingsStore::SaveSetting(kApp, kSection, key, value);
    }

    std::unique_ptr<QMdiArea> area;
    QList<int> lastWidths;
};

TEST_F(FormLayoutTest, FirstOpeningKeepsTheDesignAndClosingCreatesEveryKey)
{
    ListForm *form = open();
    EXPECT_EQ(form->subWindow()->geometry(), QRect(30, 40, 340, 250));
    EXPECT_FALSE(form->subWindow()->isMaximized());
    EXPECT_EQ(form->list->columnWidth(2), 48);
    close(form);

    QSettings ini(SettingsStore::FilePath(kApp), QSettings::IniFormat);
    ini.beginGroup(kSection);
    QStringList keys = ini.childKeys();
    keys.sort();
    EXPECT_EQ(keys, QStringList({"column1", "column2", "column3", "column4", "column5", "frmHeight",
                                 "frmLeft", "frmTop", "frmWidth", "wndMode"}));
    EXPECT_EQ(stored(QStringLiteral("frmLeft")), QStringLiteral("450"));
    EXPECT_EQ(stored(QStringLiteral("frmTop")), QStringLiteral("600"));
    EXPECT_EQ(stored(QStringLiteral("frmWidth")), QStringLiteral("5100"));
    EXPECT_EQ(stored(QStringLiteral("frmHeight")), QStringLiteral("3750"));
    EXPECT_EQ(stored(QStringLiteral("wndMode")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("column1")), QStringLiteral("600"));
    EXPECT_EQ(stored(QStringLiteral("column4")), QStringLiteral("780"));
    EXPECT_EQ(stored(QStringLiteral("column5")), QString::number(lastWidths[4] * 15));
}

TEST_F(FormLayoutTest, PositionSizeAndColumnWidthsComeBackByIndex)
{
    ListForm *form = open();
    form->subWindow()->setGeometry(12, 18, 400, 300);
    form->list->setColumnWidth(1, 150); // widened by the user
    close(form);

    form = open();
    EXPECT_EQ(form->subWindow()->geometry(), QRect(12, 18, 400, 300));
    EXPECT_EQ(form->list->columnWidth(1), 150);
    EXPECT_EQ(form->list->columnWidth(0), 40);
    EXPECT_EQ(form->tree->columnWidth(0), 33);
}

TEST_F(FormLayoutTest, AStoredValueThatIsNotANumberIsIgnored)
{
    store(QStringLiteral("frmLeft"), QStringLiteral("abc"));
    store(QStringLiteral("frmTop"), QStringLiteral("150"));
    store(QStringLiteral("frmWidth"), QStringLiteral("12px"));
    store(QStringLiteral("frmHeight"), QString());
    store(QStringLiteral("wndMode"), QStringLiteral("max"));
    store(QStringLiteral("column2"), QStringLiteral("wide"));
    store(QStringLiteral("column3"), QStringLiteral("1500"));
    store(QStringLiteral("column4"), QStringLiteral("1e30")); // a number, but no width
    ListForm *form = open();
    EXPECT_EQ(form->subWindow()->geometry(), QRect(30, 10, 340, 250));
    EXPECT_FALSE(form->subWindow()->isMaximized());
    EXPECT_FALSE(form->subWindow()->isMinimized());
    EXPECT_EQ(form->list->columnWidth(1), 44);
    EXPECT_EQ(form->list->columnWidth(2), 100);
    EXPECT_EQ(form->list->columnWidth(3), 52);
}

// A stored rectangle that no screen can show counts as absent; a size larger
// than the screen is cut to it; a size too small to use counts as absent.
TEST_F(FormLayoutTest, AStoredRectangleNoScreenCanShowIsNotUsed)
{
    const QSize screen = QGuiApplication::primaryScreen()->availableVirtualGeometry().size();
    store(QStringLiteral("frmLeft"), QStringLiteral("-14999985"));
    store(QStringLiteral("frmTop"), QStringLiteral("300"));
    store(QStringLiteral("frmWidth"), QStringLiteral("14999985"));
    store(QStringLiteral("frmHeight"), QStringLiteral("-1"));
    ListForm *form = open();
    EXPECT_EQ(form->subWindow()->geometry(), QRect(QPoint(30, 40), QSize(screen.width(), 250)));
    close(form);

    store(QStringLiteral("frmLeft"), QStringLiteral("600"));
    store(QStringLiteral("frmTop"), QStringLiteral("14999985"));
    store(QStringLiteral("frmWidth"), QStringLiteral("300")); // 20 pixels
    store(QStringLiteral("frmHeight"), QStringLiteral("14999985"));
    form = open();
    EXPECT_EQ(form->subWindow()->geometry(), QRect(QPoint(30, 40), QSize(340, screen.height())));
    close(form);

    // Partly outside, title bar within reach: as stored.
    store(QStringLiteral("frmLeft"), QStringLiteral("-1500"));
    store(QStringLiteral("frmTop"), QStringLiteral("150"));
    store(QStringLiteral("frmWidth"), QStringLiteral("6000"));
    store(QStringLiteral("frmHeight"), QStringLiteral("4500"));
    form = open();
    EXPECT_EQ(form->subWindow()->geometry(), QRect(-100, 10, 400, 300));
}

TEST_F(FormLayoutTest, MaximisedAndMinimisedStatesAreStoredAndRestored)
{
    ListForm *form = open();
    form->subWindow()->showMaximized();
    close(form);
    EXPECT_EQ(stored(QStringLiteral("wndMode")), QStringLiteral("2"));
    EXPECT_EQ(stored(QStringLiteral("frmWidth")), QString::number(area->viewport()->width() * 15));

    form = open();
    EXPECT_TRUE(form->subWindow()->isMaximized());
    form->subWindow()->showMinimized();
    close(form);
    EXPECT_EQ(stored(QStringLiteral("wndMode")), QStringLiteral("1"));

    form = open();
    EXPECT_TRUE(form->subWindow()->isMinimized());
}

TEST_F(FormLayoutTest, SectionIsTheCaption)
{
    ListForm *form = open();
    form->setWindowTitle(QStringLiteral("同位素温度计_温度计算"));
    close(form);
    EXPECT_EQ(stored(QStringLiteral("frmLeft")), QStringLiteral("<none>"));
    EXPECT_EQ(
        SettingsStore::GetSetting(kApp, QStringLiteral("同位素温度计_温度计算"), QStringLiteral("frmLeft")),
        QStringLiteral("450"));
}

TEST(SetToolbarImages, PicturesByKeySkippingSeparatorsAndMissingKeys)
{
    QToolBar bar;
    QStringList keys = {QStringLiteral("filter"), QString(), QStringLiteral("nothing"),
                        QStringLiteral("about")};
    for (const QString &key : keys) {
        if (key.isEmpty()) {
            bar.addSeparator();
            continue;
        }
        bar.addAction(key)->setObjectName(key);
    }
    const ImageList images = ToolbarImages();
    mdlFunction::SetToolbarImages(&bar, images);
    const QList<QAction *> actions = bar.actions();
    EXPECT_EQ(actions[0]->icon().cacheKey(), images.icon(QStringLiteral("filter")).cacheKey());
    EXPECT_TRUE(actions[1]->icon().isNull());
    EXPECT_TRUE(actions[2]->icon().isNull());
    EXPECT_EQ(actions[3]->icon().cacheKey(), images.icon(QStringLiteral("about")).cacheKey());
    EXPECT_EQ(bar.iconSize(), QSize(24, 24));
}

} // namespace
