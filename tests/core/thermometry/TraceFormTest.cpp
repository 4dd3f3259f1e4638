// SPDX-License-Identifier: GPL-3.0-or-later
// Trace-element thermometers in their published forms, against the worked values
// of the science package (computed there by an independent script) and against
// their own forward equation.
#include "core/thermometry/BatchRun.h"
#include "core/thermometry/Equations.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using TraceEquation::Conditions;
using TraceEquation::Form;

Form form(const char *base, double a, double b, double c = 0, double n = 1, double e = 0, double f = 0,
          double nuSi = 0, double nuTi = 0)
{
    Form fm;
    fm.logType = QString::fromLatin1(base);
    fm.a = a;
    fm.b = b;
    fm.c = c;
    fm.n = n;
    fm.e = e;
    fm.f = f;
    fm.nuSiO2 = nuSi;
    fm.nuTiO2 = nuTi;
    return fm;
}

// The package's coefficients (trace_full_forms.csv), full precision.
const Form TF01 = form("10", -5080, 6.01);
const Form TF02 = form("10", -4800, 5.711, 0, 1, 0, 0, -1, 1);
const Form TF03 = form("10", -4470, 7.36);
const Form TF04 = form("10", -4530, 7.42, 0, 1, 0, 0, -1, 0);
const Form TF05a = form("e", -10090.9265852016, 17.1750216492, -49.3120369479);
const Form TF05b = form("e", -10307.4184547291, 17.4757048013, -56.8892523814);
const Form TF05c = form("e", -10596.0742807659, 16.9825844318, -24.7762917348);
const Form TF06 = form("10", -3765, 5.69);
const Form TF07 = form("e", -7330.807625233, 0.1828131577, -209.3932286969, 1, 0, 0, 0, 1);
const Form TF07p = form("e", -7330.807625233, 13.7710231078, -209.3932286969, 1, 0, 0, 0, 1);
const Form TF08 = form("10", -2794.3, 5.6459, -660, 0.35);
const Form TF09 = form("10", -7708, 10.52, -96, 1, 0, 0, -1, -1);
const Form TF10 = form("e", -10989.010989011, 0.5626373626, 0, 1, 0, 0.9593406593);
const Form TF11 = form("e", -11148.2720178372, 0.641025641, 0, 1, 0, 0.9855072464);
const Form TF12 = form("e", -12368, 6.395, 0, 1, 0, -3.235);
const Form TF13 = form("e", -8772, 2.53);
const Form TF14 = form("e", -5291.0052910053, 7.9682539683);

Conditions at(double p = 0, double x = 0, double aSiO2 = 1, double aTiO2 = 1)
{
    return Conditions{p, x, aSiO2, aTiO2};
}

struct Worked {
    const char *id;
    const Form *form;
    double k;
    Conditions conditions;
    double celsius; // the package's own value, °C = K - 273.15
};

const Worked kWorked[] = {
    {"TE-TF01-1", &TF01, 10, at(), 740.822056},
    {"TE-TF01-2", &TF01, 25, at(), 828.310087},
    {"TE-TF02-1", &TF02, 10.46178465494583, at(), 750.000000},
    {"TE-TF02-2", &TF02, 10, at(0, 0, 1, 0.6), 796.094437},
    {"TE-TF02-3", &TF02, 10, at(0, 0, 0.8, 0.7), 758.440736},
    {"TE-TF03-1", &TF03, 500, at(), 685.865497},
    {"TE-TF04-1", &TF04, 982.8714076786658, at(), 750.000000},
    {"TE-TF04-2", &TF04, 500, at(0, 0, 0.7), 655.903162},
    {"TE-TF05a-1", &TF05a, 1000, at(10), 757.703450},
    {"TE-TF05a-2", &TF05a, 100, at(5), 549.253256},
    {"TE-TF05b-1", &TF05b, 1000, at(20), 809.860803},
    {"TE-TF05c-1", &TF05c, 1000, at(30), 852.364176},
    {"TE-TF06-1", &TF06, 50, at(), 670.215498},
    {"TE-TF07-1", &TF07, 6.276165370e-05, at(10), 682.804921},
    {"TE-TF07-2", &TF07, 1.255212324e-05, at(5), 457.357221},
    {"TE-TF07-3", &TF07, 1.255259013e-04, at(2, 0, 1, 0.6), 622.240716},
    {"TE-TF07p-50", &TF07p, 50, at(10), 682.802918},
    {"TE-TF07p-1000", &TF07p, 1000, at(10), 1100.064647},
    {"TE-TF08-1", &TF08, 50, at(10), 809.173719},
    {"TE-TF08-2", &TF08, 10, at(2), 509.370074},
    {"TE-TF09-1", &TF09, 100, at(10), 744.220892},
    {"TE-TF09-2", &TF09, 100, at(5, 0, 1, 0.7), 670.722339},
    {"TE-TF10-1", &TF10, 0.08 / 40.09866, at(0, 0.311945), 1279.195914},
    {"TE-TF10-2", &TF10, 0.08 / 40.09866, at(0, 0.312003), 1279.183783},
    {"TE-TF10-3", &TF10, 0.002, at(0, 0.4), 1261.417663},
    {"TE-TF11-1", &TF11, 0.08 / 40.09866, at(0, 0.311945), 1282.671477},
    {"TE-TF11-2", &TF11, 0.08 / 40.09866, at(0, 0.312003), 1282.659138},
    {"TE-TF11-3", &TF11, 0.002, at(0, 0.4), 1264.577341},
    {"TE-TF12-1", &TF12, 0.005, at(0, 0.90), 1135.214520},
    {"TE-TF13-1", &TF13, 20.0 / 3000.0, at(), 890.147210},
    {"TE-TF14-1", &TF14, 20, at(), 790.898709},
};

} // namespace

TEST(TraceForm, TheScienceWorkedValues)
{
    for (const Worked &w : kWorked) {
        const std::optional<double> kelvin = TraceEquation::Kelvin(*w.form, w.k, w.conditions);
        ASSERT_TRUE(kelvin) << w.id;
        EXPECT_NEAR(*kelvin - 273.15, w.celsius, 1e-3) << w.id;
    }
}

// log K computed from a known temperature comes back as that temperature, over
// 300-1400 ℃, for every form and the conditions it uses.
TEST(TraceForm, InvertsItsForwardEquation)
{
    for (const Worked &w : kWorked)
        for (double celsius = 300; celsius <= 1400; celsius += 50) {
            const double logK = TraceEquation::LogK(*w.form, celsius + 273.15, w.conditions);
            const double k = w.form->logType == QLatin1String("e") ? std::exp(logK) : std::pow(10.0, logK);
            const std::optional<double> kelvin = TraceEquation::Kelvin(*w.form, k, w.conditions);
            ASSERT_TRUE(kelvin) << w.id << " at " << celsius;
            EXPECT_NEAR(*kelvin - 273.15, celsius, 1e-6) << w.id;
        }
}

TEST(TraceForm, FrozenRowsAgreeWithTheirFullFormAndBadConditionsGiveNothing)
{
    // Ferry & Watson Ti-in-zircon frozen at aTiO2 = 0.7 (B = 5.711 + log 0.7), and
    // Tomkins α-quartz Zr-in-rutile frozen at 10 kbar, as the library stores them.
    const struct {
        Form frozen, full;
        Conditions conditions;
        double k;
    } pairs[] = {{form("10", -4800, 5.5561), TF02, at(0, 0, 1, 0.7), 10},
                 {form("e", -10584.0, 17.175), TF05a, at(10), 300}};
    for (const auto &p : pairs)
        EXPECT_NEAR(*TraceEquation::Kelvin(p.frozen, p.k, Conditions{}),
                    *TraceEquation::Kelvin(p.full, p.k, p.conditions), 0.1);
    // With C = E = F = ν = 0 the form is today's equation.
    EXPECT_DOUBLE_EQ(*TraceEquation::Kelvin(TF01, 10, at(7, 0.3, 0.5, 0.5)), -5080 / (1 - 6.01));

    EXPECT_FALSE(TraceEquation::Kelvin(TF02, 10, at(0, 0, 1, 0)));     // aTiO2 of 0
    EXPECT_FALSE(TraceEquation::Kelvin(TF08, 10, at(-2)));             // negative P under P^0.35
    EXPECT_FALSE(TraceEquation::Kelvin(TF03, 0, at()));                // K of 0
    EXPECT_FALSE(TraceEquation::Kelvin(form("e", -1000, 0), 1, at())); // ln 1 - B = 0: no temperature
    EXPECT_TRUE(TF09.usesPressure() && TF09.usesSiO2() && TF09.usesTiO2() && !TF09.usesComposition());
    EXPECT_TRUE(TF12.usesComposition() && !TF12.usesPressure());
}

namespace {

Batch::Calibration calibrationOf(const char *id, const Form &f)
{
    Batch::Calibration c;
    c.type = QStringLiteral("E");
    c.mineralA = QString::fromLatin1(id);
    c.mineralB = Batch::kSingleMineral;
    c.logType = f.logType;
    c.a = f.a;
    c.b = f.b;
    c.terms = TraceTerms{float(f.c),
                         float(f.n),
                         float(f.e),
                         float(f.f),
                         float(f.nuSiO2),
                         float(f.nuTiO2),
                         QStringLiteral("Cr#"),
                         QString()};
    return c;
}

// Runs rows of a CSV (header included) through the batch.
Batch::Results runBatch(const QString &csv, const Batch::Library &lib, int draws = 0)
{
    const Batch::Mapped m =
        Batch::MapColumns(Batch::Kind::Trace, Batch::SplitDelimited(csv, QLatin1Char(',')));
    EXPECT_TRUE(m.error.isEmpty()) << m.error.toStdString();
    Batch::Options options;
    options.draws = draws;
    return Batch::Compute(Batch::Kind::Trace, m.rows, lib, options);
}

} // namespace

// The worked values again, each as a sample row of the batch: K as 含量A of a
// one-mineral thermometer, conditions in their columns.
TEST(TraceForm, TheWorkedValuesThroughTheBatch)
{
    Batch::Library lib;
    QString csv = QStringLiteral("sample,element,mineral_a,mineral_b,conc_a,P_kbar,a_TiO2,a_SiO2,X\n");
    for (const Worked &w : kWorked) {
        lib.add(calibrationOf(w.id, *w.form));
        csv += QStringLiteral("%1,E,%1,单矿物,%2,%3,%4,%5,%6\n")
                   .arg(QString::fromLatin1(w.id))
                   .arg(w.k, 0, 'g', 17)
                   .arg(w.conditions.pressureKbar, 0, 'g', 17)
                   .arg(w.conditions.aTiO2, 0, 'g', 17)
                   .arg(w.conditions.aSiO2, 0, 'g', 17)
                   .arg(w.conditions.x, 0, 'g', 17);
    }
    const Batch::Results results = runBatch(csv, lib);
    ASSERT_EQ(results.size(), std::size(kWorked));
    for (size_t i = 0; i < results.size(); ++i) {
        ASSERT_TRUE(Batch::Solved(results[i].status))
            << kWorked[i].id << ' ' << QString(results[i].problem).toStdString();
        // Coefficients as the table stores them (single precision) move T by far less.
        EXPECT_NEAR(results[i].celsius, kWorked[i].celsius, 2e-3) << kWorked[i].id;
    }
}

TEST(TraceForm, ConditionsInTheBatchAndTheirUncertainty)
{
    Batch::Library lib;
    lib.add(calibrationOf("zr", TF05a)); // pressure
    Batch::Calibration wan = calibrationOf("al", TF10);
    wan.mineralB = QStringLiteral("尖晶石");
    wan.remark = QStringLiteral("1250-1450; Cr# 0.07-0.69");
    lib.add(wan);
    Batch::Calibration ferry = calibrationOf("zrn", TF02);
    lib.add(ferry);

    const QString head =
        QStringLiteral("sample,element,mineral_a,mineral_b,k,P_kbar,sigma_P,a_TiO2,X,sigma_X\n");
    const Batch::Results r = runBatch(head + QStringLiteral("s1,E,zr,单矿物,1000,,,,,\n"
                                                            "s2,E,zr,单矿物,1000,10,0.5,,,\n"
                                                            "s3,E,al,尖晶石,0.002,,,,0.8,0.02\n"
                                                            "s4,E,zrn,单矿物,10,,,0.7,,\n"),
                                      lib, 40000);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].status, Batch::Status::MissingInput);
    EXPECT_EQ(r[0].problem, QStringLiteral("缺少压力"));
    EXPECT_EQ(r[0].column, Batch::Pressure);

    // σ of P alone: the linear σ is |∂T/∂P|·σP, ∂T/∂P here by a central difference of
    // the closed form; the draws' 95 % interval is about ±1.96σ around T.
    const double h = 1e-3;
    const double dTdP =
        (*TraceEquation::Kelvin(TF05a, 1000, at(10 + h)) - *TraceEquation::Kelvin(TF05a, 1000, at(10 - h))) /
        (2 * h);
    EXPECT_NEAR(r[1].celsius, 757.703450, 2e-3);
    ASSERT_TRUE(r[1].sigma);
    EXPECT_NEAR(*r[1].sigma, std::fabs(dTdP) * 0.5, 1e-4);
    ASSERT_TRUE(r[1].lo95 && r[1].hi95);
    EXPECT_NEAR(*r[1].hi95 - *r[1].lo95, 2 * 1.96 * *r[1].sigma, 0.05 * *r[1].sigma);

    // X outside the stated Cr# span: computed and flagged; σ of X from the same difference.
    EXPECT_EQ(r[2].conditions, Batch::CompositionOutside);
    const double dTdX = (*TraceEquation::Kelvin(TF10, 0.002, at(0, 0.8 + h)) -
                         *TraceEquation::Kelvin(TF10, 0.002, at(0, 0.8 - h))) /
                        (2 * h);
    EXPECT_NEAR(*r[2].sigma, std::fabs(dTdX) * 0.02, 1e-4);

    // aTiO2 given, aSiO2 not: 1 is used and said; no σ at all, no interval.
    EXPECT_EQ(r[3].conditions, Batch::SiO2Defaulted);
    EXPECT_NEAR(r[3].celsius, 4800.0 / (5.711 + std::log10(0.7) - 1) - 273.15, 1e-3);
    EXPECT_FALSE(r[3].sigma);
    EXPECT_FALSE(r[3].lo95);
}
