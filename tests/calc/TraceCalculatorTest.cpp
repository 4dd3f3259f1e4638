// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalcTestSupport.h"
#include "calc/frmCalculateTrace.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"

#include <QLabel>

namespace {

class TraceCalculator : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (1,'Mg','橄榄石','熔体',1000,0,'10','decimal')"));
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (2,'Mg','橄榄石','熔体',2000,1,'e','natural')"));
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (3,'Mg','橄榄石','熔体',1000,0,'ln','odd type')"));
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (4,'Mg','橄榄石','熔体',-1000,0,'10','negative')"));
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (5,'Fe','橄榄石','辉石',3911,-2.5,'10','')"));
        form = new frmCalculateTrace();
        form->show();
        form->Load();
        lst1 = findNamed<QComboBox>(form, QStringLiteral("lst1"));
        lst2 = findNamed<QComboBox>(form, QStringLiteral("lst2"));
        lst3 = findNamed<QComboBox>(form, QStringLiteral("lst3"));
        list = findNamed<QTreeWidget>(form, QStringLiteral("ListView1"));
        txtA = findNamed<QLineEdit>(form, QStringLiteral("txtA"));
        txtB = findNamed<QLineEdit>(form, QStringLiteral("txtB"));
        txtK = findNamed<QLineEdit>(form, QStringLiteral("txtK"));
        txtT = findNamed<QLineEdit>(form, QStringLiteral("txtT"));
        calc = findNamed<QPushButton>(form, QStringLiteral("btnCal"));
        status = findNamed<QLabel>(form, QStringLiteral("StatusBar1_2"));
    }
    void TearDown() override { delete form; }

    void chooseMg()
    {
        choose(lst1, QStringLiteral("Mg"));
        choose(lst2, QStringLiteral("橄榄石"));
        choose(lst3, QStringLiteral("熔体"));
    }
    void pickRow(int r)
    {
        QTreeWidgetItem *item = list->topLevelItem(r);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    TempDatabase db;
    ScriptedDialogs dialogs;
    frmCalculateTrace *form = nullptr;
    QComboBox *lst1, *lst2, *lst3;
    QTreeWidget *list;
    QLineEdit *txtA, *txtB, *txtK, *txtT;
    QPushButton *calc;
    QLabel *status;
};

} // namespace

TEST_F(TraceCalculator, ComputesWithBothLogarithms)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("微量元素温度计_温度计算"));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("StatusBar1_1"))->text(), QStringLiteral("状态:"));
    chooseMg();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(rowTexts(list, 0), QStringList({"1000", "0", "10", "decimal", ""}));
    EXPECT_EQ(status->text(), QStringLiteral("当前参数：A=1000，B=0"));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("lblA"))->text(), QStringLiteral("橄榄石"));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("lblB"))->text(), QStringLiteral("熔体"));

    setText(txtK, QStringLiteral("10"));
    click(calc);
    EXPECT_EQ(txtT->text(), QStringLiteral("726.85"));

    pickRow(1);
    EXPECT_EQ(status->text(), QStringLiteral("当前参数：A=2000，B=1"));
    setText(txtK, QStringLiteral("7.389056"));
    click(calc);
    EXPECT_EQ(txtT->text(), QStringLiteral("1726.85"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(TraceCalculator, KComesFromTheConcentrationsWhenEitherIsGiven)
{
    chooseMg();
    setText(txtK, QStringLiteral("99"));
    setText(txtA, QStringLiteral("2"));
    setText(txtB, QStringLiteral("4"));
    click(calc);
    EXPECT_EQ(txtK->text(), QStringLiteral("0.5"));
    // log10(0.5) < 0 with A = 1000: the calibration has no temperature for it.
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("计算结果无效：温度低于绝对零度"));
    setText(txtA, QStringLiteral("4"));
    setText(txtB, QStringLiteral("2"));
    click(calc);
    EXPECT_EQ(txtK->text(), QStringLiteral("2"));
    EXPECT_EQ(txtT->text(), QStringLiteral("3048.778"));

    setText(txtB, QString());
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("必须为数字"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(form->focusWidget(), txtB);

    setText(txtA, QString());
    setText(txtK, QStringLiteral("abc"));
    click(calc);
    EXPECT_EQ(form->focusWidget(), txtK);
    EXPECT_EQ(txtK->selectedText(), QStringLiteral("abc"));
}

TEST_F(TraceCalculator, FailuresAreReportedAndTheResultKept)
{
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("请选择参数！"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("Lorvane"));

    chooseMg();
    pickRow(1); // "e", B = 1
    setText(txtK, QStringLiteral("7.389056"));
    click(calc);
    ASSERT_EQ(txtT->text(), QStringLiteral("1726.85"));

    setText(txtK, QStringLiteral("0"));
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("无效的过程调用或参数"));
    EXPECT_EQ(txtT->text(), QStringLiteral("1726.85"));

    pickRow(0); // "10", B = 0: K = 1 divides by zero
    setText(txtK, QStringLiteral("1"));
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("除数为零"));

    pickRow(2); // log type "ln" is neither "10" nor "e"
    setText(txtK, QStringLiteral("10"));
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("函数类型无效：\"ln\""));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("Lorvane"));
    EXPECT_EQ(txtT->text(), QStringLiteral("1726.85"));

    pickRow(3); // A < 0 puts T below absolute zero
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("计算结果无效：温度低于绝对零度"));
    EXPECT_EQ(txtT->text(), QStringLiteral("1726.85"));
}

TEST_F(TraceCalculator, ChangingTheChoiceClearsTheResults)
{
    chooseMg();
    setText(txtK, QStringLiteral("10"));
    click(calc);
    choose(lst1, QStringLiteral("Fe"));
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(txtT->text().isEmpty());
    EXPECT_TRUE(txtK->text().isEmpty());
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_TRUE(entries(lst3).isEmpty());
    EXPECT_EQ(entries(lst2), QStringList{QStringLiteral("橄榄石")});
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("请选择参数！"));
}
