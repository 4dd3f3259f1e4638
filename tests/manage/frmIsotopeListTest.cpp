// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerTestSupport.h"

#include "core/store/SaveOutcome.h"
#include "manage/frmIsotopeList.h"

#include <QListWidget>

using namespace ManagerTest;

class IsotopeListTest : public IsoDatabaseTest {
  protected:
    static QStringList lines(frmIsotopeList &dlg)
    {
        QStringList texts;
        for (int i = 0; i < dlg.List1()->count(); ++i) texts << dlg.List1()->item(i)->text();
        return texts;
    }
    static void click(frmIsotopeList &dlg, const char *name)
    {
        QTest::mouseClick(findNamed<QPushButton>(&dlg, name), Qt::LeftButton);
    }
    static void select(frmIsotopeList &dlg, const QString &name)
    {
        QListWidgetItem *line = dlg.List1()->findItems(name, Qt::MatchExactly).value(0);
        ASSERT_NE(line, nullptr);
        QTest::mouseClick(dlg.List1()->viewport(), Qt::LeftButton, {},
                          dlg.List1()->visualItemRect(line).center());
    }
};

TEST_F(IsotopeListTest, ListsTheTypesAndChangesNothingUntilAsked)
{
    frmIsotopeList dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "同位素类型");
    EXPECT_EQ(findNamed<QPushButton>(&dlg, "Command1")->text(), "增加");
    EXPECT_EQ(findNamed<QPushButton>(&dlg, "Command2")->text(), "删除");
    EXPECT_EQ(lines(dlg).size(), 3);
    click(dlg, "Command2"); // nothing selected
    EXPECT_TRUE(dialogs.calls().isEmpty());
    EXPECT_FALSE(dlg.hasChanged());
}

TEST_F(IsotopeListTest, AddsThroughTheInputBoxAndRefusesRepeats)
{
    frmIsotopeList dlg;
    dlg.show();
    dialogs.answerInput("同位素");
    click(dlg, "Command1");
    const auto input = dialogs.calls().last();
    EXPECT_EQ(input.kind, "input");
    EXPECT_EQ(input.text, "请输入同位素类型");
    EXPECT_EQ(input.caption, "增加");
    EXPECT_EQ(input.file.fileName, "同位素");
    EXPECT_EQ(lines(dlg).last(), "同位素");
    EXPECT_TRUE(dlg.hasChanged());
    EXPECT_EQ(db.scalar("select count(*) from IsotopeType where Name='同位素'"), "1");

    dialogs.answerInput("氧同位素");
    click(dlg, "Command1");
    EXPECT_EQ(dialogs.lastMessage(), "存在相同记录,请勿重复添加！");
    EXPECT_EQ(dialogs.messages().last().caption, "Lorvane");
    EXPECT_EQ(lines(dlg).size(), 4);
}

TEST_F(IsotopeListTest, CancelledInputAddsNothing)
{
    frmIsotopeList dlg;
    dlg.show();
    dialogs.answerInput("氢同位素");
    click(dlg, "Command1");
    dialogs.answerInput(""); // the input box's cancel button
    click(dlg, "Command1");
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(db.count("IsotopeType"), 4);
    EXPECT_EQ(lines(dlg).size(), 4);
}

TEST_F(IsotopeListTest, DeleteIsRefusedWhileThermometersRemain)
{
    frmIsotopeList dlg;
    dlg.show();
    select(dlg, "硫同位素");
    click(dlg, "Command2");
    EXPECT_EQ(dialogs.lastMessage(), "还存在【硫同位素】温度计，不能删除此项目!");
    EXPECT_EQ(dialogs.messages().last().caption, "Lorvane");
    EXPECT_TRUE(lines(dlg).contains("硫同位素"));
    EXPECT_FALSE(dlg.hasChanged());

    select(dlg, "碳同位素");
    click(dlg, "Command2");
    EXPECT_FALSE(lines(dlg).contains("碳同位素"));
    EXPECT_TRUE(dlg.hasChanged());
    EXPECT_EQ(db.scalar("select count(*) from IsotopeType where Name='碳同位素'"), "0");
}

// ---- the outcome rules of a save --------------------------------------------

TEST(SaveOutcomeRules, StatusGivesStateIconAndNote)
{
    const auto added = SaveOutcome::ForStatus(true, 0);
    EXPECT_EQ(added.state, "ok");
    EXPECT_EQ(added.icon, "ok");
    EXPECT_EQ(added.toolTip, "");
    EXPECT_TRUE(added.stored);

    const auto dupAdd = SaveOutcome::ForStatus(true, 1);
    EXPECT_EQ(dupAdd.state, "add");
    EXPECT_EQ(dupAdd.icon, "adderror");
    EXPECT_EQ(dupAdd.toolTip, " 记录已存在,添加失败!");
    EXPECT_EQ(SaveOutcome::ForStatus(true, 2).toolTip, "未知原因,添加失败!");

    const auto dupEdit = SaveOutcome::ForStatus(false, 1);
    EXPECT_EQ(dupEdit.state, "edit");
    EXPECT_EQ(dupEdit.icon, "editerror");
    EXPECT_EQ(dupEdit.toolTip, " 记录已存在,更新失败!");
    EXPECT_EQ(SaveOutcome::ForStatus(false, 2).toolTip, "未知原因,更新失败!");

    const auto nan = SaveOutcome::NotANumber(false);
    EXPECT_EQ(nan.icon, "editerror");
    EXPECT_EQ(nan.toolTip, "常数必须为数字");
    EXPECT_FALSE(nan.stored);
}

TEST(SaveOutcomeRules, ConstantsMustConvertToSingles)
{
    const QList<int> isotopeConstants{3, 4, 5};
    EXPECT_TRUE(SaveOutcome::ConstantsConvert({"a", "b", " -3.38 ", "2.5E+6", "0"}, isotopeConstants));
    EXPECT_FALSE(SaveOutcome::ConstantsConvert({"a", "b", "1", "", "0"}, isotopeConstants));
    EXPECT_FALSE(SaveOutcome::ConstantsConvert({"a", "b", "1", "2", "3x"}, isotopeConstants));
    EXPECT_FALSE(SaveOutcome::ConstantsConvert({"a", "b", "1E+99", "2", "3"}, isotopeConstants));
    EXPECT_FALSE(SaveOutcome::ConstantsConvert({"a", "b", "1"}, isotopeConstants)); // columns missing
    EXPECT_TRUE(SaveOutcome::ConstantsConvert({"a", "b", "1", "2", "x"}, {3, 4}));
}
