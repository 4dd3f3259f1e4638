// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalcTestSupport.h"
#include "calc/frmGLS.h"
#include "support/core/DecimalCommaLocale.h"
#include "support/ui/ScriptedDialogs.h"

#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

class Olivine : public ::testing::Test {
  protected:
    void SetUp() override
    {
        form = new frmGLS();
        form->show();
        form->Load();
        list = findNamed<QTreeWidget>(form, QStringLiteral("ListView1"));
        for (int i = 0; i < 4; ++i) boxes[i] = findNamed<QLineEdit>(form, QStringLiteral("Text1_%1").arg(i));
        add = findNamed<QPushButton>(form, QStringLiteral("Command2"));
        calc = findNamed<QPushButton>(form, QStringLiteral("Command1"));
        mafic = findNamed<QRadioButton>(form, QStringLiteral("Option2"));
    }
    void TearDown() override { delete form; }

    void addSample(const QStringList &values)
    {
        for (int i = 0; i < 4; ++i) setText(boxes[i], values[i]);
        click(add);
    }
    QString temperature(int row) { return list->topLevelItem(row)->text(4); }
    void menu(const char *key) { findNamed<QAction>(form, QLatin1String(key))->trigger(); }

    ScriptedDialogs dialogs;
    frmGLS *form = nullptr;
    QTreeWidget *list;
    QLineEdit *boxes[4];
    QPushButton *add, *calc;
    QRadioButton *mafic;
};

} // namespace

TEST_F(Olivine, BothRockTypesOverTheWholeList)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("橄榄石温度计"));
    addSample({"0.9", "0.1", "0.2", "0.1"});
    addSample({"0.5", "0", "0.5", "0.5"}); // XFa 0: no temperature
    addSample({"0.25", "0.25", "0.25", "0.25"});
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(rowTexts(list, 0), QStringList({"0.9", "0.1", "0.2", "0.1", ""}));
    for (QLineEdit *box : boxes) EXPECT_TRUE(box->text().isEmpty());

    click(calc);
    EXPECT_EQ(temperature(0), QStringLiteral("761"));
    EXPECT_EQ(temperature(1), QString());
    EXPECT_EQ(temperature(2), QStringLiteral("2270"));

    click(mafic);
    EXPECT_EQ(temperature(0), QStringLiteral("761")); // nothing changes before "计算"
    click(calc);
    EXPECT_EQ(temperature(0), QStringLiteral("1468"));
    EXPECT_EQ(temperature(2), QStringLiteral("1695"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Olivine, ARowThatNoLongerGivesATemperatureLosesTheOldOne)
{
    addSample({"0.9", "0.1", "0.2", "0.1"});
    click(calc);
    ASSERT_EQ(temperature(0), QStringLiteral("761"));
    list->topLevelItem(0)->setText(1, QStringLiteral("0"));
    click(calc);
    EXPECT_EQ(temperature(0), QString());

    // A K so large that T falls below absolute zero is no result either.
    list->topLevelItem(0)->setText(0, QStringLiteral("1e6"));
    list->topLevelItem(0)->setText(1, QStringLiteral("1e-6"));
    click(calc);
    EXPECT_EQ(temperature(0), QString());
}

TEST_F(Olivine, AddingChecksTheBoxesInOrder)
{
    setText(boxes[0], QStringLiteral("0.9"));
    setText(boxes[1], QStringLiteral("x"));
    setText(boxes[3], QStringLiteral("y"));
    click(add);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("必须是数字！"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("Lorvane"));
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(form->focusWidget(), boxes[1]);
    EXPECT_EQ(boxes[1]->selectedText(), QStringLiteral("x"));
    EXPECT_EQ(list->topLevelItemCount(), 0);
    click(calc); // an empty list: nothing happens
    EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST_F(Olivine, DeleteKeyAndClear)
{
    addSample({"1", "1", "1", "1"});
    addSample({"2", "2", "2", "2"});
    addSample({"3", "3", "3", "3"});
    QTest::keyClick(list, Qt::Key_Delete); // nothing selected
    EXPECT_EQ(list->topLevelItemCount(), 3);
    QTreeWidgetItem *middle = list->topLevelItem(1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(middle).center());
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("3"));
    menu("clear");
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Olivine, ExportAndImportThroughTheFileDialogs)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/samples.csv");
    addSample({"0.9", "0.1", "0.2", "0.1"});
    click(calc);

    dialogs.answerFile(path, 2);
    menu("export");
    const auto save = dialogs.calls().last();
    EXPECT_EQ(save.kind, QStringLiteral("save"));
    EXPECT_EQ(save.caption, QStringLiteral("导出"));
    EXPECT_EQ(save.file.filter,
              QStringLiteral("文本文件(制表符分割)|*.txt|文本文件(*.csv)|*.csv|文本文件(空格分隔)|*.txt"));
    EXPECT_EQ(save.file.filterIndex, 1);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QStringLiteral("XFo,XFa,XMg,XFe,温度(K)\r\n0.9,0.1,0.2,0.1,761\r\n").toUtf8());

    dialogs.answerFile(path, 2);
    menu("import");
    EXPECT_EQ(dialogs.calls().last().caption, QStringLiteral("导入"));
    EXPECT_EQ(dialogs.calls().last().file.filterIndex, 2); // kept from the export
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(rowTexts(list, 1), QStringList({"XFo", "XFa", "XMg", "XFe", ""}));
    EXPECT_EQ(rowTexts(list, 2), QStringList({"0.9", "0.1", "0.2", "0.1", ""}));

    dialogs.cancelFile();
    menu("import");
    EXPECT_EQ(list->topLevelItemCount(), 3);

    dialogs.answerFile(dir.path() + QStringLiteral("/missing.txt"), 1);
    menu("import");
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("导入数据未完成！"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("Lorvane"));

    dialogs.answerFile(dir.path() + QStringLiteral("/no/folder/x.txt"), 1);
    menu("export");
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("导出数据失败!"));
}

// Under a decimal-comma locale the samples still read as numbers.
TEST_F(Olivine, ADecimalCommaLocaleChangesNoResult)
{
    DecimalCommaLocale comma;
    if (!comma.available()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    addSample({"0.9", "0.1", "0.2", "0.1"});
    click(calc);
    EXPECT_EQ(temperature(0), QStringLiteral("761"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}
