// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalcTestSupport.h"
#include "calc/frmCalculateIso.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"

#include "core/base/SettingsStore.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QToolBar>

namespace {

class IsoCalculator : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (1,'氧同位素','石英','水',3.38,0,-3.4,'200-500','Clayton')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (2,'氧同位素','石英','水',4.1,0,-3.7,'500-800','Bottinga')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (3,'氧同位素','石英','磁铁矿',5.57,0,0,'','Chiba')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (4,'硫同位素','黄铁矿','方铅矿',1.01,0,0,'','Ohmoto')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (5,'氧同位素','石英','水',1,10,0,'','negative root')"));
        form = new frmCalculateIso();
        form->show();
        form->Load();
        lst1 = findNamed<QComboBox>(form, QStringLiteral("lst1"));
        lst2 = findNamed<QComboBox>(form, QStringLiteral("lst2"));
        lst3 = findNamed<QComboBox>(form, QStringLiteral("lst3"));
        list = findNamed<QTreeWidget>(form, QStringLiteral("ListView1"));
        txtA = findNamed<QLineEdit>(form, QStringLiteral("txtMinAValue"));
        txtB = findNamed<QLineEdit>(form, QStringLiteral("txtMinBValue"));
        txtT = findNamed<QLineEdit>(form, QStringLiteral("txtT"));
        option1 = findNamed<QRadioButton>(form, QStringLiteral("Option1"));
        option2 = findNamed<QRadioButton>(form, QStringLiteral("Option2"));
        calc = findNamed<QPushButton>(form, QStringLiteral("Command1"));
        status = findNamed<QLabel>(form, QStringLiteral("StatusBar1_2"));
    }
    void TearDown() override { delete form; }

    void choosePair(const QString &type, const QString &a, const QString &b)
    {
        choose(lst1, type);
        choose(lst2, a);
        choose(lst3, b);
    }

    TempDatabase db;
    ScriptedDialogs dialogs;
    frmCalculateIso *form = nullptr;
    QComboBox *lst1, *lst2, *lst3;
    QTreeWidget *list;
    QLineEdit *txtA, *txtB, *txtT;
    QRadioButton *option1, *option2;
    QPushButton *calc;
    QLabel *status;
};

} // namespace

TEST_F(IsoCalculator, TheCascadeNarrowsTheCalibrations)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("同位素温度计_温度计算"));
    EXPECT_EQ(entries(lst1).size(), 2);
    EXPECT_EQ(lst1->currentIndex(), 0); // the first type is chosen at load
    choose(lst1, QStringLiteral("氧同位素"));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("Label8"))->text(), QStringLiteral("δ18O"));
    EXPECT_EQ(entries(lst2), QStringList{QStringLiteral("石英")});
    EXPECT_TRUE(entries(lst3).isEmpty());

    choose(lst2, QStringLiteral("石英"));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("lbMinA"))->text(), QStringLiteral("石英"));
    EXPECT_EQ(entries(lst3).size(), 2);

    choose(lst3, QStringLiteral("水"));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(rowTexts(list, 0), QStringList({"3.38", "0", "-3.4", "200-500", "Clayton", ""}));
    EXPECT_TRUE(list->topLevelItem(0)->isSelected());
    EXPECT_EQ(status->text(), QStringLiteral("A=3.38;B=0;C=-3.4"));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("lbMinB"))->text(), QStringLiteral("水"));
    EXPECT_TRUE(option2->isEnabled()); // oxygen with water: water mode possible

    choose(lst1, QStringLiteral("硫同位素"));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("Label8"))->text(), QStringLiteral("δ34S"));
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_TRUE(status->text().isEmpty());
    EXPECT_TRUE(option1->isChecked());
    EXPECT_FALSE(option1->isEnabled());
    EXPECT_FALSE(option2->isEnabled());
}

TEST_F(IsoCalculator, TemperatureAndWaterModes)
{
    choosePair(QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"));
    setText(txtA, QStringLiteral("10"));
    setText(txtB, QStringLiteral("2"));
    click(calc);
    EXPECT_EQ(txtT->text(), QStringLiteral("271"));
    EXPECT_TRUE(dialogs.messages().isEmpty());

    click(option2);
    EXPECT_FALSE(txtB->isEnabled());
    EXPECT_TRUE(txtT->isEnabled());
    setText(txtT, QStringLiteral("271"));
    click(calc);
    EXPECT_EQ(txtB->text(), QStringLiteral("1.98"));

    // A pair without water keeps temperature mode.
    choose(lst3, QStringLiteral("磁铁矿"));
    EXPECT_TRUE(option1->isChecked());
    EXPECT_FALSE(option2->isEnabled());
    EXPECT_TRUE(txtT->text().isEmpty());

    // Δ a hair above C: a root far past any integer range still shows as itself.
    setText(txtA, QStringLiteral("1e-33"));
    setText(txtB, QStringLiteral("0"));
    click(calc);
    EXPECT_EQ(txtT->text(), QStringLiteral("7.46324303678538E+19"));
}

TEST_F(IsoCalculator, ErrorsOfTheCalculationAreShownAndChangeNothing)
{
    choosePair(QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"));
    setText(txtA, QStringLiteral("10"));
    setText(txtB, QStringLiteral("2"));
    click(calc);
    ASSERT_EQ(txtT->text(), QStringLiteral("271"));

    setText(txtB, QStringLiteral("30")); // Δ - C < 0 with B = 0
    click(calc);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("Δ<0"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("计算错误"));
    EXPECT_EQ(txtT->text(), QStringLiteral("271"));

    // A calibration both of whose roots lie below absolute zero gives no temperature.
    QTreeWidgetItem *third = list->topLevelItem(2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(third).center());
    EXPECT_TRUE(third->isSelected());
    EXPECT_EQ(status->text(), QStringLiteral("A=1;B=10;C=0"));
    setText(txtA, QStringLiteral("0"));
    setText(txtB, QStringLiteral("10"));
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("计算结果无效：温度低于绝对零度"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("计算错误"));
    EXPECT_EQ(txtT->text(), QStringLiteral("271"));

    choose(lst3, QStringLiteral("磁铁矿")); // C = 0: Δ equal to C
    setText(txtA, QStringLiteral("4"));
    setText(txtB, QStringLiteral("4"));
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("除数为零"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("计算错误"));
    EXPECT_TRUE(txtT->text().isEmpty());
}

TEST_F(IsoCalculator, InputsAreCheckedInOrder)
{
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("请选择参数!"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("Lorvane"));

    choosePair(QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"));
    setText(txtA, QStringLiteral("12a"));
    setText(txtB, QStringLiteral("x"));
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("必须为数字"));
    EXPECT_EQ(dialogs.messages().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(form->focusWidget(), txtA);
    EXPECT_EQ(txtA->selectedText(), QStringLiteral("12a"));

    setText(txtA, QStringLiteral("10"));
    click(calc);
    EXPECT_EQ(form->focusWidget(), txtB);
    EXPECT_EQ(txtB->selectedText(), QStringLiteral("x"));
    EXPECT_TRUE(txtT->text().isEmpty());

    click(option2); // water mode checks the temperature box instead
    click(calc);
    EXPECT_EQ(dialogs.messages().size(), 4);
    EXPECT_EQ(form->focusWidget(), txtT);
}

TEST_F(IsoCalculator, RemembersItsLayoutAndClosesFromTheToolbar)
{
    QPointer<frmCalculateIso> guard(form);
    QAction *close = findNamed<QAction>(form, QStringLiteral("close"));
    close->trigger();
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("Lorvane"), QStringLiteral("同位素温度计_温度计算"),
                                        QStringLiteral("column1")),
              QStringLiteral("2535"));
    // The temperature column is kept with the others.
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("Lorvane"), QStringLiteral("同位素温度计_温度计算"),
                                        QStringLiteral("column6")),
              QStringLiteral("2535"));
}
