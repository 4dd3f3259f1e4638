// SPDX-License-Identifier: GPL-3.0-or-later
// The olivine-liquid window as a user meets it: a spreadsheet's columns pasted,
// "计算", the pairs out of equilibrium flagged, the Rhodes diagram, the export.
#include "CalcTestSupport.h"
#include "calc/frmOlivineLiquid.h"
#include "core/base/ProgramFolders.h"
#include "support/ui/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

// Putirka's spreadsheet row "Grove et al. 2003" (in equilibrium, K_D 0.314) and
// Thermobar's test pair without Fe3+/FeT (K_D 0.222: out of Roeder & Emslie's window),
// in Thermobar's names and another order than the window's; "FeO*" for total iron.
const char kPasted[] =
    "sample\tP_kbar\tFe3Fet_Liq\tSiO2_Liq\tTiO2_Liq\tAl2O3_Liq\tFeO*_Liq\tMnO_Liq\tMgO_Liq\tCaO_Liq\tNa2O_"
    "Liq\t"
    "K2O_Liq\tH2O_Liq\tSiO2_Ol\tTiO2_Ol\tAl2O3_Ol\tFeOt_Ol\tMnO_Ol\tMgO_Ol\tCaO_Ol\n"
    "Grove2003\t2.00000003\t0.2\t57.0236015\t0.623106003\t16.3328991\t4.36174011\t0.103850998\t4.19180012\t"
    "6.94857979\t3.59701991\t0.896894991\t5.59000015\t40.5\t0.02\t0.08\t12.4\t0.17\t47.4\t0.3\n"
    "TB\t5\t\t51\t0.48\t19\t5.3\t0.1\t4.5\t9\t4.2\t0.1\t0\t40.5\t0.02\t0.08\t12.40\t0.17\t47.4\t0.30\n";

class OlivineLiquidWindow : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ProgramFolders::Layout layout;
        layout.dataDir = QStringLiteral(LORVANE_BIN_DIR);
        ProgramFolders::SetCurrent(layout);
        form = new frmOlivineLiquid();
        form->show();
        form->Load();
        samples = findNamed<QTableWidget>(form, QStringLiteral("lvwSamples"));
        results = findNamed<QTableWidget>(form, QStringLiteral("lvwResults"));
    }
    void TearDown() override
    {
        delete form;
        ProgramFolders::ResetCurrent();
    }
    void paste(const QString &text)
    {
        QApplication::clipboard()->setText(text);
        samples->setFocus();
        QTest::keyClick(samples, Qt::Key_V, Qt::ControlModifier);
    }
    void trigger(const char *key) { findNamed<QAction>(form, QString::fromLatin1(key))->trigger(); }
    QStringList line(int row)
    {
        QStringList cells;
        for (int c = 0; c < results->columnCount(); ++c) cells << results->item(row, c)->text();
        return cells;
    }

    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    frmOlivineLiquid *form = nullptr;
    QTableWidget *samples = nullptr, *results = nullptr;
};

} // namespace

TEST_F(OlivineLiquidWindow, PastedPairsComputedFlaggedAndExported)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("橄榄石-熔体温度计_氧化物"));
    EXPECT_EQ(samples->horizontalHeaderItem(1)->text(), QStringLiteral("橄榄石SiO₂"));
    EXPECT_EQ(samples->horizontalHeaderItem(20)->text(), QStringLiteral("熔体H₂O"));
    EXPECT_EQ(findNamed<QComboBox>(form, QStringLiteral("cboModel"))->currentText(),
              QStringLiteral("Roeder & Emslie (1970) 0.30±0.03"));

    paste(QString::fromUtf8(kPasted));
    EXPECT_EQ(samples->item(0, 0)->text(), QStringLiteral("Grove2003"));
    EXPECT_EQ(samples->item(0, 12)->text(), QStringLiteral("4.36174011")); // 熔体FeOt, from "FeO*_Liq"
    trigger("calculate");
    ASSERT_EQ(results->rowCount(), 2);
    // Putirka's spreadsheet: B93 1122.2693, eq. 19 at P (own) 1122.3099, HZ 1123.0857, eq. 21
    // 981.6903, eq. 22 1016.7977 (°C).
    EXPECT_EQ(line(0).mid(0, 6), QStringList({"Grove2003", "1122.3", "1122.3", "1123.1", "981.7", "1016.8"}));
    EXPECT_EQ(results->item(0, 1)->toolTip(), QStringLiteral("1395.4 K"));
    const double kdTB = (12.40 / 47.4) / (5.3 / 4.5);
    EXPECT_EQ(line(1).mid(8, 3), QStringList({QString::number(kdTB, 'f', 3), "0.270-0.330", "不平衡"}));
    EXPECT_EQ(line(1)[13], QStringLiteral("Fe³⁺/FeT未给出，按0计算"));
    EXPECT_EQ(line(0)[10], QStringLiteral("平衡"));
    EXPECT_EQ(findNamed<QLabel>(form, QStringLiteral("StatusBar1_2"))->text(),
              QStringLiteral("2对样品；1对不平衡"));

    // The Rhodes diagram: each pair at (Mg# of the liquid, Fo), apart when out of equilibrium.
    int inside = 0, outside = 0;
    for (QAbstractSeries *s : findNamed<QChartView>(form, QStringLiteral("chtRhodes"))->chart()->series())
        if (auto *points = qobject_cast<QScatterSeries *>(s))
            (points->name() == QStringLiteral("不平衡") ? outside : inside) += int(points->count());
    EXPECT_EQ(inside, 1);
    EXPECT_EQ(outside, 1);

    // A cell that is no number is marked where it stands.
    samples->item(1, 6)->setText(QStringLiteral("4,5x")); // 橄榄石MgO
    EXPECT_EQ(samples->item(1, 6)->toolTip(), QStringLiteral("不是数字：4,5x"));

    const QString csv = dir.filePath(QStringLiteral("pairs.csv"));
    dialogs.answerFile(csv, 2);
    trigger("export");
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")); // so that spreadsheets read the Chinese as UTF-8
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[0], frmOlivineLiquid::ResultTitles().join(QLatin1Char(',')));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("TB,"))) << lines[2].toStdString();
}
