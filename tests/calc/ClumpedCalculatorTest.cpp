// The isotope calculator with a one-phase calibration: clumped Δ47 of a carbonate,
// typed in the δA box, solved against the shipped calibrations.
#include "CalcTestSupport.h"
#include "calc/frmCalculateIso.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"

#include <QLabel>
#include <QRadioButton>

TEST(ClumpedCalculator, Delta47InTheFirstBoxTheSecondFixedAtZero)
{
    TempDatabase db(true);
    ScriptedDialogs dialogs;
    frmCalculateIso form;
    form.show();
    form.Load();
    choose(findNamed<QComboBox>(&form, QStringLiteral("lst1")), QStringLiteral("团簇同位素(Δ47)"));
    EXPECT_EQ(findNamed<QLabel>(&form, QStringLiteral("Label8"))->text(), QStringLiteral("Δ47(‰)"));
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
