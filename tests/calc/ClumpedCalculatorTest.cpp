// SPDX-License-Identifier: GPL-3.0-or-later
// The isotope calculator with a one-phase calibration: clumped Δ47 of a carbonate,
// typed in the δA box, solved against the shipped calibrations.
#include "CalcTestSupport.h"
#include "calc/frmCalculateIso.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"

#include <QLabel>
#include <QRadioButton>
#include <QToolBar>
#include <cmath>

TEST(ClumpedCalculator, Delta47InTheFirstBoxTheSecondFixedAtZero)
{
    TempDatabase db(true);
    ScriptedDialogs dialogs;
    frmCalculateIso form;
    form.show();
    form.Load();
    choose(findNamed<QComboBox>(&form, QStringLiteral("lst1")), QStringLiteral("团簇同位素(Δ47)"));
    EXPECT_EQ(findNamed<QLabel>(&form, QStringLiteral("Label8"))->text(), QStringLiteral("Δ47(‰)"));
    // The type's whole name shows, the list clear of the toolbar's last button.
    auto *types = findNamed<QComboBox>(&form, QStringLiteral("lst1"));
    EXPECT_GT(types->width(), types->fontMetrics().horizontalAdvance(types->currentText()) + 20);
    const auto buttons = findNamed<QToolBar>(&form, QStringLiteral("Toolbar1"))->actions();
    const QWidget *last =
        findNamed<QToolBar>(&form, QStringLiteral("Toolbar1"))->widgetForAction(buttons.last());
    EXPECT_LT(last->mapTo(&form, QPoint(last->width(), 0)).x(), types->x());
    choose(findNamed<QComboBox>(&form, QStringLiteral("lst2")), QStringLiteral("碳酸盐"));
    choose(findNamed<QComboBox>(&form, QStringLiteral("lst3")), QStringLiteral("单矿物"));
    auto *list = findNamed<QTreeWidget>(&form, QStringLiteral("ListView1"));
    ASSERT_EQ(list->topLevelItemCount(), 12);
    auto *deltaB = findNamed<QLineEdit>(&form, QStringLiteral("txtMinBValue"));
    EXPECT_EQ(deltaB->text(), QStringLiteral("0"));
    EXPECT_FALSE(deltaB->isEnabled());
    EXPECT_FALSE(findNamed<QRadioButton>(&form, QStringLiteral("Option2"))->isEnabled()); // no water mode

    // OGLS23 at Δ47 = 0.5894 gives 26.34 ℃ (D47calib); the list shows whole degrees.
    setText(findNamed<QLineEdit>(&form, QStringLiteral("txtMinAValue")), QStringLiteral("0.5894"));
    click(findNamed<QPushButton>(&form, QStringLiteral("Command1")));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    int ogls = -1;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        if (list->topLevelItem(r)->text(3).contains(QStringLiteral("Combined I-CDES"))) ogls = r;
    ASSERT_GE(ogls, 0);
    EXPECT_EQ(list->topLevelItem(ogls)->text(5), QStringLiteral("26"));

    // Another type gives the second box back.
    choose(findNamed<QComboBox>(&form, QStringLiteral("lst1")), QStringLiteral("氧同位素"));
    EXPECT_TRUE(deltaB->isEnabled());
    EXPECT_EQ(findNamed<QLabel>(&form, QStringLiteral("Label8"))->text(), QStringLiteral("δ18O"));
}

TEST(DerivedInCalculator, ADatasetsPairFollowsTheStoredOnesWithItsSourceGreyed)
{
    TempDatabase db(true);
    ScriptedDialogs dialogs;
    frmCalculateIso form;
    form.show();
    form.Load();
    choose(findNamed<QComboBox>(&form, QStringLiteral("lst1")), QStringLiteral("氧同位素"));
    choose(findNamed<QComboBox>(&form, QStringLiteral("lst2")), QStringLiteral("方解石"));
    choose(findNamed<QComboBox>(&form, QStringLiteral("lst3")),
           QStringLiteral("磁铁矿")); // stored for no study
    auto *list = findNamed<QTreeWidget>(&form, QStringLiteral("ListView1"));
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QTreeWidgetItem *row = list->topLevelItem(0);
    EXPECT_EQ(row->text(4), QStringLiteral("由DBOXYGEN 2.0.3导出：方解石–水 − 磁铁矿–水"));
    EXPECT_EQ(row->foreground(4).color(), QColor(Qt::gray));
    // A = 3.719 - 1.7764, B = -3.5391 + 7.3851 (calcite-water less magnetite-water).
    EXPECT_EQ(row->text(0), QStringLiteral("1.9426"));
    EXPECT_EQ(row->text(1), QStringLiteral("3.846"));
    setText(findNamed<QLineEdit>(&form, QStringLiteral("txtMinAValue")), QStringLiteral("10"));
    setText(findNamed<QLineEdit>(&form, QStringLiteral("txtMinBValue")), QStringLiteral("4"));
    click(findNamed<QPushButton>(&form, QStringLiteral("Command1")));
    // 1.9426e6/T² + 3846/T = 6: T = (3846 + √(3846² + 24·1.9426e6))/12 - 273.15.
    const double t = (3846 + std::sqrt(3846.0 * 3846.0 + 24 * 1.9426e6)) / 12 - 273.15;
    EXPECT_EQ(findNamed<QLineEdit>(&form, QStringLiteral("txtT"))->text(), QString::number(std::round(t)));
}
