// SPDX-License-Identifier: GPL-3.0-or-later
// The range notice and the temperature column of both calculators, as a user
// meets them: values typed, "计算" clicked, the panel and the list read back.
#include "CalcTestSupport.h"
#include "calc/frmCalculateIso.h"
#include "calc/frmCalculateTrace.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"

#include <QLabel>
#include <QRadioButton>
#include <cmath>

namespace {

// The positive root of Δ = A·10^6/T² + B·10^3/T + C that lies on the upper branch,
// in °C, from the quadratic in double precision.
double isoCelsius(double a, double b, double c, double delta)
{
    const double d = delta - c, bp = 1e3 * b, ap = 1e6 * a;
    const double disc = bp * bp + 4 * ap * d;
    const double r1 = (bp + std::sqrt(disc)) / (2 * d), r2 = (bp - std::sqrt(disc)) / (2 * d);
    return std::max(r1, r2) - 273.15;
}

double isoDelta(double a, double b, double c, double celsius)
{
    const double t = celsius + 273.15;
    return a * 1e6 / (t * t) + b * 1e3 / t + c;
}

QString whole(double celsius) { return QString::number(std::nearbyint(celsius), 'f', 0); }

class IsoRanges : public ::testing::Test {
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
            "values (3,'氧同位素','石英','水',4.28,-3.5,0,'','Sharp')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (4,'氧同位素','磁铁矿','水',1.7764,-7.3851,0,'200-900','Vho')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (5,'氧同位素','钠长石','方解石',-0.57,0,0,'>=600','Clayton 1989')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (6,'氧同位素','钠长石','方解石',-0.57,0,0,'≤300','low side')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (7,'氢同位素','高岭石','水',-2.2,0,-7.7,'0-330','Gilg & Sheppard')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (8,'氧同位素','金红石','水',2.6146,-7.0671,0,'200-900','Vho')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,"
            "Source_S) values "
            "(9,'碳同位素','方解石','二氧化碳',2.988,-7.6663,2.4612,'','Bottinga')"));
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
        calc = findNamed<QPushButton>(form, QStringLiteral("Command1"));
        notice = findNamed<QLabel>(form, QStringLiteral("StatusBar1_3"));
    }
    void TearDown() override { delete form; }

    void compute(const QString &type, const QString &a, const QString &b, double deltaA, double deltaB)
    {
        choose(lst1, type);
        choose(lst2, a);
        choose(lst3, b);
        setText(txtA, QString::number(deltaA, 'f', 4));
        setText(txtB, QString::number(deltaB, 'f', 4));
        click(calc);
    }
    void clickRow(int row)
    {
        QTreeWidgetItem *item = list->topLevelItem(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    TempDatabase db;
    ScriptedDialogs dialogs;
    frmCalculateIso *form = nullptr;
    QComboBox *lst1, *lst2, *lst3;
    QTreeWidget *list;
    QLineEdit *txtA, *txtB, *txtT;
    QPushButton *calc;
    QLabel *notice;
};

} // namespace

TEST_F(IsoRanges, TheThreeCalibrationsThatUsedToGiveTheWrongRootOrNone)
{
    // Magnetite-water at 500 °C: the formula's first root was 76 °C.
    compute(QStringLiteral("氧同位素"), QStringLiteral("磁铁矿"), QStringLiteral("水"), 0, 6.5802);
    EXPECT_EQ(txtT->text(), QStringLiteral("500"));
    EXPECT_TRUE(notice->text().isEmpty());
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // Albite-calcite (A < 0) at 700 °C.
    compute(QStringLiteral("氧同位素"), QStringLiteral("钠长石"), QStringLiteral("方解石"), 0,
            -isoDelta(-0.57, 0, 0, 700));
    EXPECT_EQ(txtT->text(), QStringLiteral("700"));
    EXPECT_TRUE(notice->text().isEmpty());

    // Hydrogen kaolinite-water (A < 0, C < 0) at 100 °C.
    compute(QStringLiteral("氢同位素"), QStringLiteral("高岭石"), QStringLiteral("水"),
            isoDelta(-2.2, 0, -7.7, 100), 0);
    EXPECT_EQ(txtT->text(), QStringLiteral("100"));
    EXPECT_TRUE(notice->text().isEmpty());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(IsoRanges, ASecondTemperatureAnUnstatedRangeAndARangeEnd)
{
    // Rutile-water turns near 460 °C: Δ at 300 °C fits its mirror as well, inside 200-900.
    const double delta = isoDelta(2.6146, -7.0671, 0, 300);
    const double mirror = -2.6146e6 / (delta * 573.15) - 273.15; // the roots multiply to -A'/Δ
    ASSERT_NEAR(mirror, 770.5, 0.5);
    compute(QStringLiteral("氧同位素"), QStringLiteral("金红石"), QStringLiteral("水"), delta, 0);
    EXPECT_EQ(txtT->text(), QStringLiteral("300"));
    EXPECT_EQ(notice->text(), QStringLiteral("另一解%1℃亦在适用范围内").arg(whole(mirror)));
    EXPECT_EQ(list->topLevelItem(0)->text(5), QStringLiteral("300/") + whole(mirror));

    // Calcite-CO2 states no range; δA -5, δB -7 has roots near 126 and 15950 °C,
    // and only the first lies in 0-1200 ℃.
    const double d = 2 - 2.4612, bp = -7666.3, ap = 2.988e6;
    const double r1 = (bp + std::sqrt(bp * bp + 4 * ap * d)) / (2 * d) - 273.15;
    ASSERT_NEAR(r1, 126, 1);
    compute(QStringLiteral("碳同位素"), QStringLiteral("方解石"), QStringLiteral("二氧化碳"), -5, -7);
    EXPECT_EQ(txtT->text(), whole(r1));
    EXPECT_EQ(notice->text(), QStringLiteral("未注明适用范围"));
    EXPECT_EQ(list->topLevelItem(0)->text(5), whole(r1));

    // Δ at the very end of Clayton's 200-500 reads 200, inside.
    compute(QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"),
            isoDelta(3.38, 0, -3.4, 200) + 2, 2);
    EXPECT_EQ(txtT->text(), QStringLiteral("200"));
    EXPECT_TRUE(notice->text().isEmpty());
    EXPECT_NE(list->topLevelItem(0)->foreground(5).color(), QColor(Qt::gray));
}

TEST_F(IsoRanges, EveryCalibrationOfThePairGetsItsTemperature)
{
    EXPECT_EQ(list->headerItem()->text(5), QStringLiteral("温度(℃)"));
    compute(QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"), 10, 2);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(txtT->text(), QStringLiteral("271"));
    EXPECT_TRUE(notice->text().isEmpty()); // 271 lies in 200-500

    EXPECT_EQ(list->topLevelItem(0)->text(5), whole(isoCelsius(3.38, 0, -3.4, 8)));
    EXPECT_EQ(list->topLevelItem(1)->text(5), whole(isoCelsius(4.1, 0, -3.7, 8)));
    EXPECT_EQ(list->topLevelItem(2)->text(5), whole(isoCelsius(4.28, -3.5, 0, 8)));
    // The second lies outside its 500-800: grey, with the warning as tool tip.
    EXPECT_EQ(list->topLevelItem(1)->foreground(5).color(), QColor(Qt::gray));
    EXPECT_EQ(list->topLevelItem(1)->toolTip(5), QStringLiteral("超出适用范围（500-800℃）"));
    EXPECT_NE(list->topLevelItem(0)->foreground(5).color(), QColor(Qt::gray));
    EXPECT_TRUE(list->topLevelItem(0)->toolTip(5).isEmpty());
    // No range stated: said, not greyed.
    EXPECT_EQ(list->topLevelItem(2)->toolTip(5), QStringLiteral("未注明适用范围"));
    EXPECT_NE(list->topLevelItem(2)->foreground(5).color(), QColor(Qt::gray));

    // Choosing that calibration and computing again: the panel warns.
    clickRow(1);
    EXPECT_TRUE(notice->text().isEmpty());
    click(calc);
    EXPECT_EQ(txtT->text(), whole(isoCelsius(4.1, 0, -3.7, 8)));
    EXPECT_EQ(notice->text(), QStringLiteral("超出适用范围（500-800℃）"));

    // Any edit or another calibration empties it.
    setText(txtA, QStringLiteral("11"));
    EXPECT_TRUE(notice->text().isEmpty());
    click(calc);
    EXPECT_FALSE(notice->text().isEmpty());
    clickRow(2);
    EXPECT_TRUE(notice->text().isEmpty());

    // A Δ for which no calibration has a root: every cell empty, the message as before.
    setText(txtA, QStringLiteral("0"));
    setText(txtB, QStringLiteral("10"));
    clickRow(0);
    click(calc);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("Δ<0"));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(list->topLevelItem(i)->text(5).isEmpty()) << i;

    // Refilling the list empties the column.
    setText(txtB, QStringLiteral("2"));
    click(calc);
    choose(lst3, QStringLiteral("水"));
    EXPECT_TRUE(list->topLevelItem(0)->text(5).isEmpty());
}

TEST_F(IsoRanges, OneSidedRangesAndWaterMode)
{
    // 400 °C is below ≥600 and above ≤300.
    const double delta = isoDelta(-0.57, 0, 0, 400);
    compute(QStringLiteral("氧同位素"), QStringLiteral("钠长石"), QStringLiteral("方解石"), 0, -delta);
    EXPECT_EQ(txtT->text(), QStringLiteral("400"));
    EXPECT_EQ(notice->text(), QStringLiteral("超出适用范围（≥600℃）"));
    EXPECT_EQ(list->topLevelItem(1)->toolTip(4), QString()); // no tool tip on other columns
    EXPECT_EQ(list->topLevelItem(1)->toolTip(5), QStringLiteral("超出适用范围（≤300℃）"));
    clickRow(1);
    click(calc);
    EXPECT_EQ(notice->text(), QStringLiteral("超出适用范围（≤300℃）"));

    // Water mode checks the typed temperature.
    choose(lst1, QStringLiteral("氧同位素"));
    choose(lst2, QStringLiteral("石英"));
    choose(lst3, QStringLiteral("水"));
    click(findNamed<QRadioButton>(form, QStringLiteral("Option2")));
    setText(txtA, QStringLiteral("10"));
    setText(txtT, QStringLiteral("600"));
    click(calc);
    EXPECT_FALSE(txtB->text().isEmpty());
    EXPECT_EQ(notice->text(), QStringLiteral("超出适用范围（200-500℃）"));
    setText(txtT, QStringLiteral("271"));
    EXPECT_TRUE(notice->text().isEmpty());
    click(calc);
    EXPECT_EQ(txtB->text(), QStringLiteral("1.98"));
    EXPECT_TRUE(notice->text().isEmpty());
}

namespace {

class TraceRanges : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (1,'Mg','橄榄石','熔体',3740,-1.87,'10',"
            "'K = X(ol)/X(liq) of MgO; calibrated 1150-1300 C at 1 atm; Roeder & Emslie "
            "(1970) Contrib. Mineral. Petrol. 29:275-289')"));
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (2,'Mg','橄榄石','熔体',1000,0,'10','decimal')"));
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (3,'Mg','橄榄石','熔体',1000,0,'ln','odd type')"));
        form = new frmCalculateTrace();
        form->show();
        form->Load();
        choose(findNamed<QComboBox>(form, QStringLiteral("lst1")), QStringLiteral("Mg"));
        choose(findNamed<QComboBox>(form, QStringLiteral("lst2")), QStringLiteral("橄榄石"));
        choose(findNamed<QComboBox>(form, QStringLiteral("lst3")), QStringLiteral("熔体"));
        list = findNamed<QTreeWidget>(form, QStringLiteral("ListView1"));
        txtK = findNamed<QLineEdit>(form, QStringLiteral("txtK"));
        txtT = findNamed<QLineEdit>(form, QStringLiteral("txtT"));
        calc = findNamed<QPushButton>(form, QStringLiteral("btnCal"));
        notice = findNamed<QLabel>(form, QStringLiteral("StatusBar1_3"));
    }
    void TearDown() override { delete form; }

    TempDatabase db;
    ScriptedDialogs dialogs;
    frmCalculateTrace *form = nullptr;
    QTreeWidget *list;
    QLineEdit *txtK, *txtT;
    QPushButton *calc;
    QLabel *notice;
};

} // namespace

TEST_F(TraceRanges, PanelAndColumn)
{
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->headerItem()->text(4), QStringLiteral("温度(℃)"));

    // K for 1200 °C by the first calibration: log K = 3740/T - 1.87.
    const double k = std::pow(10.0, 3740 / 1473.15 - 1.87);
    setText(txtK, QString::number(k, 'g', 7));
    click(calc);
    EXPECT_NEAR(txtT->text().toDouble(), 1200, 0.05);
    EXPECT_TRUE(notice->text().isEmpty());
    EXPECT_EQ(list->topLevelItem(0)->text(4), txtT->text());
    EXPECT_NEAR(list->topLevelItem(1)->text(4).toDouble(), 1000 / std::log10(k) - 273.15, 0.05);
    // Log K = 1000/T: about 1330 °C, past what a calibration without a range is held to.
    EXPECT_EQ(list->topLevelItem(1)->toolTip(4), QStringLiteral("未注明适用范围，超出0-1200℃"));
    EXPECT_EQ(list->topLevelItem(1)->foreground(4).color(), QColor(Qt::gray));
    EXPECT_TRUE(list->topLevelItem(2)->text(4).isEmpty()); // log type "ln": no temperature

    // K for 1000 °C: outside 1150-1300.
    setText(txtK, QString::number(std::pow(10.0, 3740 / 1273.15 - 1.87), 'g', 7));
    EXPECT_TRUE(list->topLevelItem(0)->toolTip(4).isEmpty()); // the column stays until the next "计算"
    click(calc);
    EXPECT_NEAR(txtT->text().toDouble(), 1000, 0.05);
    EXPECT_EQ(notice->text(), QStringLiteral("超出适用范围（1150-1300℃）"));
    EXPECT_EQ(list->topLevelItem(0)->toolTip(4), QStringLiteral("超出适用范围（1150-1300℃）"));
    EXPECT_EQ(list->topLevelItem(0)->foreground(4).color(), QColor(Qt::gray));

    // Another calibration chosen: the notice goes; that one states no range, and says so.
    QTreeWidgetItem *second = list->topLevelItem(1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(second).center());
    EXPECT_TRUE(notice->text().isEmpty());
    click(calc);
    EXPECT_EQ(notice->text(), QStringLiteral("未注明适用范围"));
}
