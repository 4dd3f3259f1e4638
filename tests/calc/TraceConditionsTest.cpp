// SPDX-License-Identifier: GPL-3.0-or-later
// The trace calculator on the default library: the pressure, composition and
// activity boxes a calibration takes, and its temperature under them, against
// the published equations written out here.
#include "CalcTestSupport.h"
#include "calc/frmCalculateTrace.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"

#include <QLabel>
#include <cmath>

namespace {

class TraceConditions : public ::testing::Test {
  protected:
    void SetUp() override
    {
        form = new frmCalculateTrace();
        form->show();
        form->Load();
        list = findNamed<QTreeWidget>(form, QStringLiteral("ListView1"));
        for (const char *name : {"txtK", "txtT", "txtP", "txtATiO2", "txtASiO2", "txtX"})
            box[name] = findNamed<QLineEdit>(form, QString::fromLatin1(name));
        panel = findNamed<QLabel>(form, QStringLiteral("StatusBar1_3"));
    }
    void TearDown() override { delete form; }

    void choosePair(const QString &element, const QString &a, const QString &b)
    {
        choose(findNamed<QComboBox>(form, QStringLiteral("lst1")), element);
        choose(findNamed<QComboBox>(form, QStringLiteral("lst2")), a);
        choose(findNamed<QComboBox>(form, QStringLiteral("lst3")), b);
    }
    // Clicks the first row whose remark contains the text.
    void pick(const QString &remark)
    {
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            if (list->topLevelItem(r)->text(3).contains(remark)) {
                QTreeWidgetItem *item = list->topLevelItem(r);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
                return;
            }
        ADD_FAILURE() << "no row " << remark.toStdString();
    }
    QStringList shownBoxes()
    {
        QStringList shown;
        for (const auto &[name, b] : box)
            if (!b->isHidden() && name != "txtK" && name != "txtT") shown << QString::fromLatin1(name);
        shown.sort();
        return shown;
    }
    double result() { return box["txtT"]->text().toDouble(); }

    TempDatabase db{true};
    ScriptedDialogs dialogs;
    frmCalculateTrace *form = nullptr;
    QTreeWidget *list = nullptr;
    std::map<std::string, QLineEdit *> box;
    QLabel *panel = nullptr;
};

const double R = 0.0083144; // kJ/(mol K), Tomkins et al.

} // namespace

TEST_F(TraceConditions, TiInZirconTakesTheActivitiesAndTheListComputesEveryRow)
{
    choosePair(QStringLiteral("Ti"), QStringLiteral("锆石"), QStringLiteral("单矿物"));
    ASSERT_EQ(list->topLevelItemCount(), 2);
    pick(QStringLiteral("Wark D.A."));
    EXPECT_TRUE(shownBoxes().isEmpty());
    pick(QStringLiteral("Ferry J.M."));
    EXPECT_EQ(shownBoxes(), QStringList({"txtASiO2", "txtATiO2"}));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("lblKUnit"))->text(), QStringLiteral("ppm Ti（锆石）"));

    setText(box["txtK"], QStringLiteral("10"));
    setText(box["txtATiO2"], QStringLiteral("0.7"));
    click(findNamed<QPushButton>(form, QStringLiteral("btnCal")));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    const double ferryWatson = 4800.0 / (5.711 + std::log10(0.7) - 1) - 273.15;
    EXPECT_NEAR(result(), ferryWatson, 1e-3);
    EXPECT_EQ(panel->text(), QStringLiteral("未注明适用范围；aSiO₂=1"));
    // The other row keeps its own equation; the chosen one shows what the box shows.
    for (int r = 0; r < 2; ++r) {
        const bool watson = list->topLevelItem(r)->text(3).contains(QStringLiteral("Wark D.A."));
        EXPECT_NEAR(list->topLevelItem(r)->text(4).toDouble(), watson ? 5080.0 / 5.01 - 273.15 : ferryWatson,
                    1e-3);
    }

    // A bad activity is refused, nothing computed from it.
    for (const char *bad : {"0", "1.2", "-0.5"}) {
        setText(box["txtATiO2"], QString::fromLatin1(bad));
        click(findNamed<QPushButton>(form, QStringLiteral("btnCal")));
        EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("活度必须大于0且不大于1")) << bad;
    }

    // The Mg/Fe olivine-melt rows take none of them.
    choosePair(QStringLiteral("Mg"), QStringLiteral("橄榄石"), QStringLiteral("熔体"));
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_TRUE(shownBoxes().isEmpty());
}

TEST_F(TraceConditions, PressureIsRequiredAndItsRangeSaysSo)
{
    choosePair(QStringLiteral("Zr"), QStringLiteral("金红石"), QStringLiteral("单矿物"));
    pick(QStringLiteral("α-quartz field"));
    EXPECT_EQ(shownBoxes(), QStringList({"txtP"}));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("lblP"))->text(), QStringLiteral("压力(kbar)"));
    setText(box["txtK"], QStringLiteral("300"));
    click(findNamed<QPushButton>(form, QStringLiteral("btnCal")));
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("请输入压力"));
    EXPECT_TRUE(box["txtT"]->text().isEmpty());
    setText(box["txtP"], QStringLiteral("10"));
    click(findNamed<QPushButton>(form, QStringLiteral("btnCal")));
    EXPECT_NEAR(result(), (83.9 + 0.41 * 10) / (0.1428 - R * std::log(300.0)) - 273.15, 2e-3);

    // Thomas et al. hold for 5-20 kbar: a 2 kbar granite is computed and flagged.
    choosePair(QStringLiteral("Ti"), QStringLiteral("石英"), QStringLiteral("单矿物"));
    pick(QStringLiteral("Thomas J.B."));
    EXPECT_EQ(shownBoxes(), QStringList({"txtATiO2", "txtP"}));
    setText(box["txtK"], QStringLiteral("700"));
    setText(box["txtP"], QStringLiteral("2"));
    click(findNamed<QPushButton>(form, QStringLiteral("btnCal")));
    EXPECT_EQ(panel->text(), QStringLiteral("超出适用压力范围（5-20 kbar）；aTiO₂=1"));
}

TEST_F(TraceConditions, CompositionTakesItsNameAndRange)
{
    choosePair(QStringLiteral("Al"), QStringLiteral("橄榄石"), QStringLiteral("尖晶石"));
    pick(QStringLiteral("Wan Z."));
    EXPECT_EQ(shownBoxes(), QStringList({"txtX"}));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("lblX"))->text(), QStringLiteral("Cr#"));
    setText(box["txtK"], QStringLiteral("0.002"));
    click(findNamed<QPushButton>(form, QStringLiteral("btnCal")));
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("请输入Cr#"));
    setText(box["txtX"], QStringLiteral("0.8"));
    click(findNamed<QPushButton>(form, QStringLiteral("btnCal")));
    EXPECT_NEAR(result(), 10000.0 / (0.512 + 0.873 * 0.8 - 0.91 * std::log(0.002)) - 273.15, 2e-3);
    EXPECT_TRUE(panel->text().contains(QStringLiteral("超出适用成分范围（Cr# 0.07-0.69）")))
        << panel->text().toStdString();
}
