// SPDX-License-Identifier: GPL-3.0-or-later
// Olivine-liquid thermometry from oxides against the worked cases of the
// science package (an independent script, Thermobar's tests and Putirka's
// spreadsheet outputs).
#include "core/thermometry/OlivineLiquid.h"
#include "core/thermometry/OlivineTable.h"
#include "support/core/LorvaneCalc.h"

#include "core/thermometry/Equations.h"
#include <QTemporaryDir>

#include <cmath>
#include <gtest/gtest.h>

using namespace OlivineLiquid;

namespace {

// Oxides in the order SiO2 TiO2 Al2O3 FeOt MnO MgO CaO Na2O K2O.
Pair pair(std::initializer_list<double> liquid, std::initializer_list<double> olivine, double kbar,
          double h2o, double fe3)
{
    Pair p;
    int i = 0;
    for (double v : liquid) p.liquid[size_t(i++)] = v;
    i = 0;
    for (double v : olivine) p.olivine[size_t(i++)] = v;
    p.pressureKbar = kbar;
    p.h2o = h2o;
    p.fe3 = fe3;
    return p;
}

// Thermobar's unit-test composition (case A).
Pair caseA(double kbar = 5, double fe3 = 0)
{
    Pair p = pair({51, 0.48, 19, 5.3, 0.1, 4.5, 9, 4.2, 0.1}, {40.5, 0.02, 0.08, 12.40, 0.17, 47.4, 0.30},
                  kbar, 0, fe3);
    p.liquid[Cr2O3] = 0.11; // given, left out
    p.liquid[P2O5] = 0.11;
    return p;
}

// Putirka's spreadsheet rows (case C); P stored as float32 there.
const Pair k2003 = pair({57.0236015, 0.623106003, 16.3328991, 4.36174011, 0.103850998, 4.19180012, 6.94857979,
                         3.59701991, 0.896894991},
                        {40.5, 0.02, 0.08, 12.4, 0.17, 47.4, 0.3}, 2.00000003, 5.59000015, 0.2);
const Pair k2010 = pair({49.0546989, 0.488831997, 14.6649999, 5.83167982, 0.120063998, 4.27085018, 7.58975983,
                         1.03770006, 0.248704001},
                        {39.6, 0.04, 0.06, 18.7, 0.19, 42.3, 0.33}, 8.00000012, 14.2399998, 0.2);
const Pair k2012 = pair({51.4033012, 0.663879991, 18.0195999, 5.98439980, 0.142260000, 5.34897995, 9.76852036,
                         3.07281995, 0.407811999},
                        {39.7, 0.03, 0.06, 16.9, 0.2, 44.0, 0.33}, 2.00000003, 5.15999985, 0.2);

double celsius(Equation e, const Pair &p) { return *Kelvin(e, p) - 273.15; }

} // namespace

TEST(OlivineLiquid, CaseATermsKdAndEquilibriumOlivine)
{
    const Terms t = TermsOf(caseA());
    EXPECT_NEAR(t.dMg, 8.875891, 1e-6);
    EXPECT_NEAR(t.cNM, 0.202817, 1e-6);
    EXPECT_NEAR(t.cSiO2, 0.495663, 1e-6);
    EXPECT_NEAR(t.nf, -0.883603, 1e-6);
    // Eq. 19 with the published 10^5 Pa (Thermobar's 10^-5 gives 1395.6477 K).
    EXPECT_NEAR(*Kelvin(Eq19, caseA(5)), 1395.6425, 1e-3);
    EXPECT_NEAR(*KD(caseA(5, 0.1)), 0.2467956373, 1e-10);
    EXPECT_NEAR(*KD(caseA(5, 0.5)), 0.4442321471, 1e-10);
    // The peer's Fo_eq takes MgO as 40.3044 g/mol, ours 40.304: 1.2e-6 apart.
    EXPECT_NEAR(*EquilibriumForsterite(caseA(5, 0.2), 0.3), 0.8631287764, 2e-6);
    EXPECT_NEAR(*EquilibriumForsterite(caseA(5, 0.2), 0.352), 0.843126, 2e-6);
    // Total iron: no Fe3+ correction.
    EXPECT_NEAR(*KD(caseA(5, 0.5), true), *KD(caseA(5, 0)), 1e-15);
}

TEST(OlivineLiquid, CaseBEquation22)
{
    const struct {
        Pair p;
        double kelvin;
    } rows[] = {
        {k2003, 1289.9476},
        {pair({60.7312012, 0.862053990, 17.1441994, 4.07780981, 0.0774879977, 2.50867009, 5.22074986,
               4.45556021, 1.41416001},
              {39.7, 0.05, 0.11, 15.6, 0.18, 44.5, 0.31}, 5, 3.14000010, 0.2),
         1285.8572},
        {pair({51.4033012, 0.663879991, 18.0195999, 5.98439980, 0.142260000, 5.34897995, 9.76852036,
               3.07281995, 0.407811999},
              {39.7, 0.03, 0.06, 16.9, 0.2, 44.0, 0.33}, 5, 5.15999985, 0.2),
         1339.4660},
    };
    for (const auto &r : rows) EXPECT_NEAR(*Kelvin(Eq22, r.p), r.kelvin, 1e-4);
}

TEST(OlivineLiquid, CaseCAgainstPutirkasSpreadsheet)
{
    // °C: the package's own values (IUPAC masses) to 1e-3, the spreadsheet's within 0.02.
    const struct {
        const Pair *p;
        Equation e;
        double own, spreadsheet;
    } rows[] = {
        {&k2003, B93, 1122.269088, 1122.2693},  {&k2003, HZ, 1123.085490, 1123.0857},
        {&k2003, Eq21, 981.690382, 981.6903},   {&k2003, Eq22, 1016.797587, 1016.7977},
        {&k2010, B93, 1148.700446, 1148.6902},  {&k2010, HZ, 1153.017574, 1153.0076},
        {&k2010, Eq21, 899.372344, 899.3660},   {&k2010, Eq22, 941.283457, 941.2780},
        {&k2012, B93, 1143.233770, 1143.2244},  {&k2012, HZ, 1143.898978, 1143.8897},
        {&k2012, Eq21, 1043.349643, 1043.3413}, {&k2012, Eq22, 1050.368966, 1050.3625},
        {&k2003, Eq19, 1122.309935, 0},         {&k2010, Eq19, 1148.740377, 0},
        {&k2012, Eq19, 1143.275715, 0},
    };
    for (const auto &r : rows) {
        EXPECT_NEAR(celsius(r.e, *r.p), r.own, 1e-3) << EquationCode(r.e).toStdString();
        if (r.spreadsheet) {
            EXPECT_NEAR(celsius(r.e, *r.p), r.spreadsheet, 0.02) << EquationCode(r.e).toStdString();
        }
    }
    // The spreadsheet's eq. 19 column is eq. 19 at 1 bar whatever the sample's pressure.
    Pair oneBar = k2003;
    oneBar.pressureKbar = 0.001;
    EXPECT_NEAR(celsius(Eq19, oneBar), 1112.2468, 0.02);
}

TEST(OlivineLiquid, TheFractionCalculatorsCalibrationsFromOxides)
{
    // X_Fo/X_Fa of the olivine and X_Mg/X_Fe2+ of the liquid, as the fraction window takes them:
    // K = (Fo/Fa)/(Mg/Fe) is 1/K_D.
    const Pair p = caseA(5, 0.2);
    const std::optional<Fractions> f = MoleFractions(p);
    ASSERT_TRUE(f);
    EXPECT_NEAR((f->fo / f->fa) / (f->mg / f->fe), 1.0 / *KD(p), 1e-12);
    EXPECT_NEAR(f->fo, *Forsterite(p), 1e-15);
    // The window's two calibrations take the fractions' ratios; worked here from the oxides:
    // Mg/Fe of the olivine and Mg/Fe2+ of the liquid, molar.
    const double olivineMgFe = (47.4 / 40.304) / (12.40 / 71.844);
    const double liquidMgFe = (4.5 / 40.304) / (5.3 * 0.8 / 71.844);
    EXPECT_NEAR(f->fo / f->fa, olivineMgFe, 1e-12);
    EXPECT_NEAR(f->mg / f->fe, liquidMgFe, 1e-12);
    QList<Batch::Row> rows{Batch::Row{}};
    rows[0].cells = QStringList(OlivineTable::kColumns, QString());
    const int olivine[] = {1, 2, 3, 4, 5, 6, 7}, liquid[] = {9, 10, 11, 12, 13, 14, 15, 16, 17};
    const double ol[] = {40.5, 0.02, 0.08, 12.40, 0.17, 47.4, 0.30},
                 liq[] = {51, 0.48, 19, 5.3, 0.1, 4.5, 9, 4.2, 0.1};
    for (int i = 0; i < 7; ++i) rows[0].cells[olivine[i]] = QString::number(ol[i]);
    for (int i = 0; i < 9; ++i) rows[0].cells[liquid[i]] = QString::number(liq[i]);
    rows[0].cells[OlivineTable::Fe3] = QStringLiteral("0.2");
    const std::vector<OlivineTable::Result> results = OlivineTable::Compute(rows, 0);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(*results[0].ultramafic,
              OlivineEquation::UltramaficTemperature(float(olivineMgFe), float(liquidMgFe)));
    EXPECT_EQ(*results[0].mafic, OlivineEquation::MaficTemperature(float(olivineMgFe), float(liquidMgFe)));

    // Missing oxides give no temperature, never a number from a logarithm of 0.
    Pair empty;
    for (int e = 0; e < kEquations; ++e) EXPECT_FALSE(Kelvin(Equation(e), empty)) << e;
    EXPECT_FALSE(KD(empty));
    EXPECT_FALSE(MoleFractions(empty));
}

TEST(OlivineLiquid, LorvaneCalcReadsThermobarColumnsInAnyOrder)
{
    QTemporaryDir dir;
    // Thermobar's names, the columns shuffled, "FeO*" for total iron; one row without Fe3+/FeT.
    const QString samples =
        WriteTestFile(dir.path(), QStringLiteral("pairs.csv"),
                      "P_kbar,Fe3Fet_Liq,sample,SiO2_Liq,TiO2_Liq,Al2O3_Liq,FeO*_Liq,MnO_Liq,MgO_Liq,CaO_Liq,"
                      "Na2O_Liq,K2O_Liq,"
                      "H2O_Liq,SiO2_Ol,TiO2_Ol,Al2O3_Ol,FeOt_Ol,MnO_Ol,MgO_Ol,CaO_Ol\n"
                      "2.00000003,0.2,Grove2003,57.0236015,0.623106003,16.3328991,4.36174011,0.103850998,4."
                      "19180012,6.94857979,"
                      "3.59701991,0.896894991,5.59000015,40.5,0.02,0.08,12.4,0.17,47.4,0.3\n"
                      "5,,A,51,0.48,19,5.3,0.1,4.5,9,4.2,0.1,0,40.5,0.02,0.08,12.40,0.17,47.4,0.30\n");
    const CalcRun run = RunLorvaneCalc({QStringLiteral("olivine"), samples});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    ASSERT_EQ(run.out.size(), 3);
    EXPECT_EQ(run.out[0], QStringLiteral("sample,T_B93_C,T_eq19_C,T_HZ_C,T_eq21_C,T_eq22_C,T_ultramafic_C,"
                                         "T_mafic_C,KD,KD_low,KD_high,equilibrium,Fo,Fo_eq,notes"));
    const QStringList grove = run.out[1].split(QLatin1Char(','));
    // Putirka's spreadsheet: B93 1122.2693, eq. 19 at P 1122.3099 (own), HZ 1123.0857, eq. 21 981.6903,
    // eq. 22 1016.7977.
    EXPECT_EQ(grove.mid(0, 6), QStringList({"Grove2003", "1122.3", "1122.3", "1123.1", "981.7", "1016.8"}));
    const double kd = (12.4 / 47.4) / (4.36174011 * 0.8 / 4.19180012);
    EXPECT_EQ(grove.mid(8, 4), QStringList({QString::number(kd, 'f', 4), "0.2700", "0.3300", "yes"}));
    // Case A without Fe3+/FeT: 0 is used and said; K_D from the wt% ratios.
    const QStringList a = run.out[2].split(QLatin1Char(','));
    EXPECT_EQ(a.value(8), QString::number((12.40 / 47.4) / (5.3 / 4.5), 'f', 4));
    EXPECT_EQ(a.value(14), QStringLiteral("Fe3Fet=0"));

    // A bad cell names file, line and column.
    const QString bad = WriteTestFile(dir.path(), QStringLiteral("bad.csv"),
                                      "sample,MgO_Ol,FeOt_Ol,SiO2_Liq,MgO_Liq,FeOt_Liq,Fe3Fet_Liq\n"
                                      "x,47,12,50,4.5,5.3,1.2\n");
    const CalcRun refused = RunLorvaneCalc({QStringLiteral("olivine"), bad});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("bad.csv:2:7: 超出范围：1.2")))
        << refused.err.toStdString();
}
