// SPDX-License-Identifier: GPL-3.0-or-later
// The batch core against values worked out here from the forward equations.
#include "core/base/NumberText.h"
#include "core/files/Workbook.h"
#include "core/thermometry/BatchRun.h"
#include "support/core/LorvaneCalc.h"
#include "support/core/QtPrinting.h"
#include "support/core/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <cmath>

#include <gtest/gtest.h>

using namespace Batch;

namespace {

double isoDelta(double a, double b, double c, double celsius)
{
    const double t = celsius + 273.15;
    return a * 1e6 / (t * t) + b * 1e3 / t + c;
}

Row row(const QStringList &cells)
{
    Row r;
    r.cells = cells;
    return r;
}

Calibration iso(const QString &a, const QString &b, double ca, double cb, double cc,
                const QString &remark = {})
{
    Calibration c;
    c.type = QStringLiteral("氧同位素");
    c.mineralA = a;
    c.mineralB = b;
    c.a = float(ca);
    c.b = float(cb);
    c.c = float(cc);
    c.remark = remark;
    return c;
}

QString num(double v) { return QString::number(v, 'f', 9); }

} // namespace

TEST(BatchTable, HeadersInEitherLanguageAnyOrder)
{
    const QList<Row> raw{row({"delta_b", " Sample ", "TYPE", "矿物A", "mineral_b", "δA", "comment"}),
                         row({"2", "Q1", "氧同位素", "石英", "水", "10", "ignored"})};
    const Mapped m = MapColumns(Kind::Isotope, raw);
    ASSERT_TRUE(m.error.isEmpty());
    EXPECT_TRUE(m.hadHeader);
    ASSERT_EQ(m.rows.size(), 1);
    EXPECT_EQ(m.rows[0].cells, QStringList({"Q1", "氧同位素", "石英", "水", "10", "", "2", ""}));
    EXPECT_EQ(m.sourceColumn[ValueA], 6);
    EXPECT_EQ(m.sourceColumn[SigmaA], 0);

    // Without a header the cells are taken in the window's order.
    const Mapped plain = MapColumns(Kind::Trace, {row({"S", "Ti", "锆石", "单矿物", "", "", "", "", "12"})});
    EXPECT_FALSE(plain.hadHeader);
    EXPECT_EQ(plain.rows[0].cells[K], QStringLiteral("12"));
    EXPECT_EQ(ColumnOfHeader(Kind::Trace, QStringLiteral("conc_a")), ValueA);
    EXPECT_EQ(ColumnOfHeader(Kind::Trace, QStringLiteral("含量B")), ValueB);
    EXPECT_EQ(ColumnOfHeader(Kind::Isotope, QStringLiteral("conc_a")), -1);

    // A header that names no values cannot be computed from.
    EXPECT_FALSE(MapColumns(Kind::Isotope, {row({"sample", "type", "mineral_a"}), row({"1", "2", "3"})})
                     .error.isEmpty());
}

TEST(BatchTable, DelimitedTextQuotesLinesAndSeparators)
{
    const QList<Row> rows = SplitDelimited(
        QStringLiteral("a,\"b, with comma\",\"say \"\"hi\"\"\"\r\n\r\n\"two\nlines\",x\n last , y "),
        QLatin1Char(','));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].cells, QStringList({"a", "b, with comma", "say \"hi\""}));
    EXPECT_EQ(rows[0].line, 1);
    EXPECT_EQ(rows[1].cells, QStringList({"two\nlines", "x"}));
    EXPECT_EQ(rows[1].line, 3);
    EXPECT_EQ(rows[2].line, 5);
    EXPECT_EQ(GuessSeparator(QStringLiteral("sample;delta_a"), true), QLatin1Char(';'));
    EXPECT_EQ(GuessSeparator(QStringLiteral("sample,delta_a"), true), QLatin1Char(','));
    EXPECT_EQ(GuessSeparator(QStringLiteral("sample,delta_a"), false), QLatin1Char('\t'));
}

TEST(BatchTable, BadCellsAreNamedNotSkipped)
{
    QList<CellProblem> problems;
    const Values v =
        ReadValues(Kind::Isotope, row({"Q", "氧同位素", "石英", "水", "12a", "-0.1", "2", ""}), 7, &problems);
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems[0].row, 7);
    EXPECT_EQ(problems[0].column, ValueA);
    EXPECT_EQ(problems[0].why, QStringLiteral("不是数字：12a"));
    EXPECT_EQ(problems[1].column, SigmaA);
    EXPECT_EQ(problems[1].why, QStringLiteral("σ不能为负：-0.1"));
    EXPECT_FALSE(v.a);
    EXPECT_EQ(*v.b, 2);
    EXPECT_FALSE(v.sigmaB); // empty σ: no uncertainty, no problem

    Library lib;
    lib.add(iso(QStringLiteral("石英"), QStringLiteral("水"), 3.38, 0, -3.4));
    const Results r =
        Compute(Kind::Isotope, {row({"Q", "氧同位素", "石英", "水", "12a", "", "2", ""})}, lib, Options{});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].status, Status::BadInput);
    EXPECT_EQ(r[0].column, ValueA);
    EXPECT_EQ(r[0].problem, QStringLiteral("不是数字：12a"));
}

TEST(BatchTable, WorkbooksWrittenByAnotherProgram)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("samples.xlsx"));
    // openpyxl writes shared strings and numbers as spreadsheet programs do.
    const QString script =
        QStringLiteral("import openpyxl,sys\n"
                       "wb=openpyxl.Workbook(); ws=wb.active\n"
                       "ws.append(['样品','同位素','mineral_a','mineral_b','δA','σA','δB','σB'])\n"
                       "ws.append(['Q1','氧同位素','石英','水',10,0.2,2,None])\n"
                       "ws['A4']='Q2'; ws['E4']=11.5; ws['G4']='1,5'\n"
                       "wb.save(sys.argv[1])\n");
    QProcess py;
    py.start(QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                               : QStringLiteral("python3"),
             {QStringLiteral("-c"), script, path});
    ASSERT_TRUE(py.waitForFinished(30000));
    ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();

    const Mapped m = ReadSampleFile(Kind::Isotope, path);
    ASSERT_TRUE(m.error.isEmpty()) << m.error.toStdString();
    ASSERT_EQ(m.rows.size(), 2);
    EXPECT_EQ(m.rows[0].cells, QStringList({"Q1", "氧同位素", "石英", "水", "10", "0.2", "2", ""}));
    EXPECT_EQ(m.rows[1].line, 4); // the blank third row is dropped, the row number kept
    EXPECT_EQ(m.rows[1].cells[Sample], QStringLiteral("Q2"));
    EXPECT_EQ(m.rows[1].cells[ValueA], QStringLiteral("11.5"));
    EXPECT_EQ(m.rows[1].cells[ValueB], QStringLiteral("1,5"));

    QFile junk(dir.filePath(QStringLiteral("junk.xlsx")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a zip");
    junk.close();
    EXPECT_FALSE(ReadSampleFile(Kind::Isotope, junk.fileName()).error.isEmpty());
}

TEST(BatchRun, ReversedPairsServeWithTheirConstantsNegated)
{
    Library lib;
    lib.add(
        iso(QStringLiteral("磁铁矿"), QStringLiteral("水"), 1.7764, -7.3851, 0, QStringLiteral("200-900")));
    lib.add(iso(QStringLiteral("石英"), QStringLiteral("磁铁矿"), 2.337, 3.9985, 0));
    ASSERT_EQ(lib.forPair(QStringLiteral("氧同位素"), QStringLiteral("水"), QStringLiteral("磁铁矿")).size(),
              1u);
    const Calibration *turned =
        lib.forPair(QStringLiteral("氧同位素"), QStringLiteral("水"), QStringLiteral("磁铁矿"))[0];
    EXPECT_TRUE(turned->reversed);
    EXPECT_FLOAT_EQ(float(turned->a), -1.7764f);
    EXPECT_FLOAT_EQ(float(turned->b), 7.3851f);
    EXPECT_EQ(lib.forPair(QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水")).size(),
              0u);

    // Water-magnetite at 500 °C: δ(water) - δ(magnetite) = -Δ(magnetite-water).
    const double d = isoDelta(1.7764, -7.3851, 0, 500);
    const Results r = Compute(Kind::Isotope,
                              {row({"W", "氧同位素", "水", "磁铁矿", num(-d), "", "0", ""}),
                               row({"M", "氧同位素", "磁铁矿", "水", num(d), "", "0", ""})},
                              lib, Options{});
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[0].celsius, 500, 0.1);
    EXPECT_NEAR(r[1].celsius, 500, 0.1);
    EXPECT_EQ(r[0].status, Status::Ok);
    EXPECT_FALSE(r[0].sigma); // no σ given
}

TEST(BatchRun, LinearSigmaAgreesWithAFiniteDifference)
{
    Library lib;
    lib.add(iso(QStringLiteral("石英"), QStringLiteral("水"), 3.38, 0, -3.4, QStringLiteral("200-500")));
    lib.add(iso(QStringLiteral("石英"), QStringLiteral("水"), 4.28, -3.5, 0));
    Options opt;
    opt.draws = 0;
    for (double t : {220.0, 350.0, 480.0}) {
        const double d = isoDelta(3.38, 0, -3.4, t);
        const Results r = Compute(
            Kind::Isotope, {row({"Q", "氧同位素", "石英", "水", num(d + 2), "0.3", "2", "0.4"})}, lib, opt);
        ASSERT_EQ(r.size(), 2u);
        for (const Result &res : r) {
            // dT/dΔ by central difference on the same solver.
            const double h = 0.01;
            const double up = *SolveCelsius(Kind::Isotope, *res.cal, res.value + h);
            const double down = *SolveCelsius(Kind::Isotope, *res.cal, res.value - h);
            const double expected = 0.5 * std::fabs((up - down) / (2 * h));
            ASSERT_TRUE(res.sigma);
            EXPECT_NEAR(*res.sigmaValue, 0.5, 1e-9);
            EXPECT_NEAR(*res.sigma, expected, expected * 0.01) << t;
        }
        EXPECT_NEAR(r[0].celsius, t, 0.2);
    }
}

TEST(BatchRun, MonteCarloMatchesTheLinearIntervalAndIsReproducible)
{
    Library lib;
    lib.add(iso(QStringLiteral("石英"), QStringLiteral("水"), 3.38, 0, -3.4, QStringLiteral("200-500")));
    const double d = isoDelta(3.38, 0, -3.4, 350);
    const QList<Row> rows{row({"Q", "氧同位素", "石英", "水", num(d + 2), "0.05", "2", "0.05"})};
    Options opt;
    opt.draws = 20000;
    const Result a = Compute(Kind::Isotope, rows, lib, opt)[0];
    ASSERT_TRUE(a.lo95 && a.hi95 && a.sigma);
    // Nearly linear over ±2σ: the interval is the solution ± 1.96σ within a few per cent.
    EXPECT_NEAR(a.celsius - *a.lo95, 1.96 * *a.sigma, 0.05 * 1.96 * *a.sigma);
    EXPECT_NEAR(*a.hi95 - a.celsius, 1.96 * *a.sigma, 0.05 * 1.96 * *a.sigma);
    EXPECT_EQ(a.failedDraws, 0);

    const Result again = Compute(Kind::Isotope, rows, lib, opt, nullptr, 2)[0];
    EXPECT_EQ(*again.lo95, *a.lo95);
    EXPECT_EQ(*again.hi95, *a.hi95);
    opt.seed = 2;
    EXPECT_NE(*Compute(Kind::Isotope, rows, lib, opt)[0].lo95, *a.lo95);

    // Near Δ = C (the curve runs off to infinity) a wide σ leaves draws without a solution.
    const QList<Row> edge{row({"E", "氧同位素", "石英", "水", "-1.3", "1", "2", "1"})};
    const Result e = Compute(Kind::Isotope, edge, lib, opt)[0];
    EXPECT_GT(e.failedDraws, 0);
    EXPECT_EQ(e.draws, opt.draws);
}

TEST(BatchRun, BothRootsInTheRangeAreSaid)
{
    // Magnetite-water turns near 208 °C: at 200 °C the same Δ also fits about 216 °C.
    Library lib;
    lib.add(
        iso(QStringLiteral("磁铁矿"), QStringLiteral("水"), 1.7764, -7.3851, 0, QStringLiteral("200-900")));
    Options opt;
    opt.draws = 0;
    const double d = isoDelta(1.7764, -7.3851, 0, 200);
    const Results r =
        Compute(Kind::Isotope,
                {row({"L", "氧同位素", "磁铁矿", "水", num(d), "", "0", ""}),
                 row({"H", "氧同位素", "磁铁矿", "水", num(isoDelta(1.7764, -7.3851, 0, 500)), "", "0", ""})},
                lib, opt);
    ASSERT_EQ(r.size(), 2u);
    // The roots of the quadratic multiply to -A'/Δ: the mirror of 473.15 K.
    const double mirror = -1.7764e6 / (d * 473.15) - 273.15;
    ASSERT_TRUE(r[0].second);
    EXPECT_EQ(r[0].status, Status::TwoSolutions);
    // The formula's own root comes first: here the lower one.
    EXPECT_NEAR(r[0].celsius, 200, 0.05);
    EXPECT_NEAR(r[0].second->celsius, mirror, 0.05);
    EXPECT_FALSE(r[1].second); // at 500 °C the mirror lies below the range
    EXPECT_EQ(r[1].status, Status::Ok);
}

TEST(BatchRun, ExactFractionationDiffersWhereItShould)
{
    Library lib;
    Calibration c =
        iso(QStringLiteral("高岭石"), QStringLiteral("水"), -2.2, 0, -7.7, QStringLiteral("0-330"));
    c.type = QStringLiteral("氢同位素");
    lib.add(c);
    const QList<Row> rows{row({"K", "氢同位素", "高岭石", "水", "-100", "", "-20", ""})};
    Options opt;
    opt.draws = 0;
    const Result plain = Compute(Kind::Isotope, rows, lib, opt)[0];
    opt.exact = true;
    const Result exact = Compute(Kind::Isotope, rows, lib, opt)[0];
    EXPECT_NEAR(plain.value, -80, 1e-4);
    EXPECT_NEAR(exact.value, 1000 * std::log(900.0 / 980.0), 1e-9);
    EXPECT_GT(std::fabs(exact.value - plain.value), 3);
    // Each solves its own Δ on the curve.
    EXPECT_NEAR(isoDelta(-2.2, 0, -7.7, exact.celsius), exact.value, 1e-3);
    EXPECT_GT(std::fabs(exact.celsius - plain.celsius), 3);
}

TEST(BatchRun, TraceFromConcentrationsOrK)
{
    Library lib;
    Calibration c;
    c.type = QStringLiteral("Mg");
    c.mineralA = QStringLiteral("橄榄石");
    c.mineralB = QStringLiteral("熔体");
    c.a = 3740;
    c.b = -1.87f;
    c.logType = QStringLiteral("10");
    c.remark = QStringLiteral("calibrated 1150-1300 C");
    lib.add(c);
    const double k = std::pow(10.0, 3740 / 1473.15 - 1.87); // 1200 °C
    Options opt;
    opt.draws = 0;
    const Results r =
        Compute(Kind::Trace,
                {row({"1", "Mg", "橄榄石", "熔体", QString::number(k * 2, 'g', 9), "0.1", "2", "0.05", ""}),
                 row({"2", "Mg", "橄榄石", "熔体", "", "", "", "", QString::number(k, 'g', 9)}),
                 row({"3", "Mg", "熔体", "橄榄石", "2", "", QString::number(k * 2, 'g', 9), "", ""}),
                 row({"4", "Mg", "橄榄石", "熔体", "", "", "", "", "0"})},
                lib, opt);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_NEAR(r[0].celsius, 1200, 0.05);
    EXPECT_NEAR(r[1].celsius, 1200, 0.05);
    EXPECT_NEAR(r[2].celsius, 1200, 0.05); // reversed: K(melt/olivine) with A and B negated
    EXPECT_EQ(r[3].status, Status::BadInput);
    // σ(log10 K) from relative errors; σT = σx·T²/|A|.
    const double sx = std::sqrt(std::pow(0.1 / (k * 2), 2) + std::pow(0.05 / 2, 2)) / std::log(10.0);
    EXPECT_NEAR(*r[0].sigmaValue, sx, 1e-9);
    EXPECT_NEAR(*r[0].sigma, sx * 1473.15 * 1473.15 / 3740, 0.05);
    EXPECT_FALSE(r[1].sigma); // K typed directly carries no σ
}

TEST(BatchRun, SummariesCountOnlyInRangeResultsAndCancelGivesNothing)
{
    Library lib;
    lib.add(iso(QStringLiteral("石英"), QStringLiteral("水"), 3.38, 0, -3.4, QStringLiteral("200-500")));
    lib.add(iso(QStringLiteral("石英"), QStringLiteral("水"), 4.1, 0, -3.7, QStringLiteral("500-800")));
    lib.add(iso(QStringLiteral("石英"), QStringLiteral("水"), 4.28, -3.5, 0));
    Options opt;
    opt.draws = 0;
    const QList<Row> rows{row({"Q", "氧同位素", "石英", "水", "10", "", "2", ""}),
                          row({"P", "硫同位素", "黄铁矿", "方铅矿", "3", "", "1", ""})};
    const Results r = Compute(Kind::Isotope, rows, lib, opt);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[1].status, Status::OutOfRange);
    EXPECT_EQ(r[3].status, Status::NoCalibration);
    const std::vector<Summary> s = Summarise(r, 2);
    EXPECT_EQ(s[0].inRange, 2);
    EXPECT_NEAR(s[0].mean, (r[0].celsius + r[2].celsius) / 2, 1e-9);
    EXPECT_EQ(s[0].lowest, std::min(r[0].celsius, r[2].celsius));
    EXPECT_EQ(s[1].inRange, 0);

    Progress progress;
    progress.cancel = true;
    EXPECT_TRUE(Compute(Kind::Isotope, rows, lib, opt, &progress).empty());
}

TEST(LorvaneCalc, RunAsAProgram)
{
    TempDatabase db;
    db.exec(QStringLiteral(
        "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) values "
        "(1,'氧同位素','石英','水',3.38,0,-3.4,'200-500','Clayton, 1972')"));
    db.exec(QStringLiteral(
        "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) values "
        "(2,'氧同位素','水','磁铁矿',-1.7764,7.3851,0,'200-900','Vho')"));
    db.exec(QStringLiteral(
        "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
        "values (1,'Mg','橄榄石','熔体',1000,0,'10','decimal')"));
    // Ferry & Watson's Ti-in-zircon and Tomkins' Zr-in-rutile (α-quartz) in full form.
    db.exec(QStringLiteral("insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,"
                           "logType_s,Mark_s,NuSiO2_sng,NuTiO2_sng) "
                           "values (2,'Ti','锆石','单矿物',-4800,5.711,'10','FW07',-1,1)"));
    db.exec(
        QStringLiteral("insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,"
                       "logType_s,Mark_s,ConstC_sng) "
                       "values (3,'Zr','金红石','单矿物',-10090.93,17.17502,'e','10-30 kbar',-49.31204)"));
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &text) {
        return WriteTestFile(dir.path(), name, text);
    };
    const QString samples =
        write(QStringLiteral("s.csv"), "mineral_b,sample,type,mineral_a,delta_a,delta_b,sigma_a\n"
                                       "水,Q1,氧同位素,石英,10,2,\n"
                                       "水,M1,氧同位素,磁铁矿,0,6.5802,\n"
                                       "方铅矿,P1,硫同位素,黄铁矿,3,1,\n");
    // Clayton at Δ = 8: T = sqrt(4·3.38e6·11.4)/22.8 - 273.15.
    const double q = std::sqrt(4 * 3.38e6 * 11.4) / 22.8 - 273.15;
    const CalcRun ok = RunLorvaneCalc({QStringLiteral("iso"), samples, QStringLiteral("--db"), db.path(),
                                       QStringLiteral("--draws"), QStringLiteral("0")});
    EXPECT_EQ(ok.code, 0) << ok.err.toStdString();
    EXPECT_EQ(
        ok.out,
        QStringList({
            "sample,type,mineral_a,mineral_b,A,B,C,source,T_C,sigma_T_C,T_lo95_C,T_hi95_C,draws_failed,"
            "T2_C,sigma_T2_C,T2_lo95_C,T2_hi95_C,T2_draws_failed,range,status,derived,sigma_T_analytical_C,"
            "sigma_T_calibration_C,mineral_a_en,mineral_b_en",
            "Q1,氧同位素,石英,水,3.38,0,-3.4,\"Clayton, 1972\"," + QString::number(q, 'f', 1) +
                ",,,,,,,,,,200-500,ok,,,,quartz,water",
            "M1,氧同位素,磁铁矿,水,1.7764,-7.3851,0,Vho,500.0,,,,,,,,,,200-900,ok,,,,magnetite,water",
            "P1,硫同位素,黄铁矿,方铅矿,,,,,,,,,,,,,,,,no_calibration,,,,pyrite,galena",
        }));

    // -o writes the same to a file; trace reads tab-separated text.
    const QString traceSamples = write(QStringLiteral("t.txt"), "sample\telement\tmineral_a\tmineral_b\tK\n"
                                                                "T1\tMg\t橄榄石\t熔体\t10\n");
    const QString outFile = dir.filePath(QStringLiteral("out.csv"));
    const CalcRun trace = RunLorvaneCalc({QStringLiteral("trace"), traceSamples, QStringLiteral("-o"),
                                          outFile, QStringLiteral("--db"), db.path()});
    EXPECT_EQ(trace.code, 0) << trace.err.toStdString();
    QFile written(outFile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QString::fromUtf8(written.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        QStringList(
            {"sample,element,mineral_a,mineral_b,A,B,log_type,remark,K,T_C,sigma_T_C,T_lo95_C,T_hi95_C,"
             "draws_failed,T2_C,sigma_T2_C,T2_lo95_C,T2_hi95_C,T2_draws_failed,range,status,"
             "P_kbar,a_TiO2,a_SiO2,X,conditions,sigma_T_analytical_C,sigma_T_calibration_C,mineral_a_en,"
             "mineral_b_en",
             "T1,Mg,橄榄石,熔体,1000,0,10,decimal,10,726.9,,,,,,,,,,,no_range,,,,,,,,olivine,melt"}));

    // Conditions: the one-mineral concentration as K, an activity given and one defaulted;
    // a calibration that needs a pressure the row lacks says so and the run goes on.
    const QString conditions =
        write(QStringLiteral("c.csv"), "sample,element,mineral_a,mineral_b,conc_a,a_TiO2,P_kbar\n"
                                       "Z1,Ti,锆石,单矿物,10,0.7,\n"
                                       "R1,Zr,金红石,单矿物,300,,\n"
                                       "R2,Zr,金红石,单矿物,300,,35\n");
    const CalcRun withConditions =
        RunLorvaneCalc({QStringLiteral("trace"), conditions, QStringLiteral("--db"), db.path(),
                        QStringLiteral("--draws"), QStringLiteral("0")});
    EXPECT_EQ(withConditions.code, 0) << withConditions.err.toStdString();
    const double z1 = 4800.0 / (5.711 + std::log10(0.7) - 1) - 273.15;
    const double r2 = (83.9 + 0.41 * 35) / (0.1428 - 0.0083144 * std::log(300.0)) - 273.15;
    EXPECT_EQ(withConditions.out.mid(1),
              QStringList(
                  {"Z1,Ti,锆石,单矿物,-4800,5.711,10,FW07,10," + QString::number(z1, 'f', 1) +
                       ",,,,,,,,,,,no_range,,0.7,1,,aSiO2=1,,,zircon,single phase",
                   "R1,Zr,金红石,单矿物,-10090.93,17.17502,e,10-30 kbar,300,,,,,,,,,,,,missing_input,,,,,"
                   "missing_P_kbar,,,rutile,single phase",
                   "R2,Zr,金红石,单矿物,-10090.93,17.17502,e,10-30 kbar,300," + QString::number(r2, 'f', 1) +
                       ",,,,,,,,,,,no_range,35,,,,pressure_out_of_range,,,rutile,single phase"}));

    // Unreadable input names file, line and column; a database that cannot be opened exits 2.
    const QString bad = write(QStringLiteral("bad.csv"), "sample,type,mineral_a,mineral_b,delta_a,delta_b\n"
                                                         "Q1,氧同位素,石英,水,10,2\n"
                                                         "Q2,氧同位素,石英,水,1O,2\n");
    const CalcRun badRun = RunLorvaneCalc({QStringLiteral("iso"), bad, QStringLiteral("--db"), db.path()});
    EXPECT_EQ(badRun.code, 1);
    EXPECT_TRUE(badRun.err.contains(bad + QStringLiteral(":3:5: 不是数字：1O"))) << badRun.err.toStdString();
    EXPECT_TRUE(badRun.out.isEmpty());
    EXPECT_EQ(RunLorvaneCalc({QStringLiteral("iso"), samples, QStringLiteral("--db"),
                              dir.filePath(QStringLiteral("none.mdb"))})
                  .code,
              2);
    EXPECT_EQ(RunLorvaneCalc({QStringLiteral("iso"), dir.filePath(QStringLiteral("missing.csv")),
                              QStringLiteral("--db"), db.path()})
                  .code,
              1);
    const CalcRun help = RunLorvaneCalc({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.join(QLatin1Char('\n')).contains(QStringLiteral("no_calibration")));
}

// The shipped Δ47 calibrations through the batch: Δ47 in δA, δB left empty;
// the temperatures the science package worked out (D47calib prints the first three).
TEST(Batch, ClumpedDelta47FromTheShippedCalibrations)
{
    TempDatabase db(true);
    const Library lib = Library::Load(db.conn(), Kind::Isotope);
    const struct {
        const char *a; // ConstA as stored
        double d47, celsius;
    } worked[] = {
        {"0.04265723", 0.6777, 0.505683},  {"0.04265723", 0.5894, 26.335143},
        {"0.04265723", 0.4873, 68.211811}, {"0.04265723", 0.25, 367.470039},
        {"0.03835141", 0.6, 23.218903},    {"0.0391", 0.5939, 24.983925},
        {"0.04442728", 0.3, 236.933050},   {"0.04544314", 0.3, 235.800620},
        {"0.03676242", 0.6, 24.535667},    {"0.0449", 0.6, 48.867313},
        {"0.0383", 0.577, 33.612439},
    };
    for (const auto &w : worked) {
        Row row;
        row.cells = {QStringLiteral("s"),
                     QStringLiteral("团簇同位素(Δ47)"),
                     QStringLiteral("碳酸盐"),
                     QStringLiteral("单矿物"),
                     QString::number(w.d47),
                     QString(),
                     QString(),
                     QString()};
        Options exact; // the exact form is no matter for a Δ47: it is not a δ
        exact.draws = 0;
        exact.exact = true;
        const Results results = Compute(Kind::Isotope, {row}, lib, exact);
        ASSERT_EQ(results.size(), 12u);
        int found = 0;
        for (const Result &r : results)
            if (Num::Str(float(r.cal->a)) == QLatin1String(w.a)) {
                ++found;
                ASSERT_TRUE(Solved(r.status)) << w.a << ' ' << w.d47;
                EXPECT_NEAR(r.celsius, w.celsius, 1e-3) << w.a << ' ' << w.d47;
                EXPECT_DOUBLE_EQ(r.value, w.d47);
            }
        EXPECT_EQ(found, 1) << w.a;
    }
}

// The calibration's own error: linear through the published covariance of the
// coefficients, against D47calib's standard errors and a finite difference over
// the coefficients; added in quadrature to the analytical part.
TEST(Batch, CalibrationErrorFromTheCoefficientsCovariance)
{
    TempDatabase db(true);
    const Library lib = Library::Load(db.conn(), Kind::Isotope);
    const struct {
        const char *a;
        double d47,
            se; // the science package's linear SE (D47calib prints 0.41, 0.35, 0.69 for the first three)
    } worked[] = {
        {"0.04265723", 0.6777, 0.4044}, {"0.04265723", 0.5894, 0.3526}, {"0.04265723", 0.4873, 0.6885},
        {"0.04265723", 0.3, 3.5147},    {"0.04265723", 0.25, 6.2116},   {"0.03835141", 0.6, 1.5019},
        {"0.03835141", 0.5, 2.0752},    {"0.04442728", 0.6, 0.6848},    {"0.04442728", 0.3, 4.6342},
    };
    for (const auto &w : worked) {
        Row row;
        row.cells = {QStringLiteral("s"),
                     QStringLiteral("团簇同位素(Δ47)"),
                     QStringLiteral("碳酸盐"),
                     QStringLiteral("单矿物"),
                     QString::number(w.d47),
                     QStringLiteral("0.01"),
                     QString(),
                     QString()};
        Options options;
        options.draws = 0;
        for (const Result &r : Compute(Kind::Isotope, {row}, lib, options)) {
            if (Num::Str(float(r.cal->a)) != QLatin1String(w.a)) continue;
            ASSERT_TRUE(r.sigmaCalibration && r.sigmaAnalytical && r.sigma) << w.a << ' ' << w.d47;
            EXPECT_NEAR(*r.sigmaCalibration, w.se, 5e-4) << w.a << ' ' << w.d47;
            EXPECT_NEAR(*r.sigma, std::hypot(*r.sigmaAnalytical, *r.sigmaCalibration), 1e-12);

            // dT/dθ by central differences of the solver itself, then Jᵀ Σ J.
            const std::array<double, 6> &k = *r.cal->covariance;
            const double cov[3][3] = {{k[0], k[1], k[2]}, {k[1], k[3], k[4]}, {k[2], k[4], k[5]}};
            double jacobian[3];
            for (int i = 0; i < 3; ++i) {
                Calibration up = *r.cal, down = *r.cal;
                // Steps well above single precision, in which the solver takes A' and B'.
                const double h = 1e-3 * std::max(1e-3, std::fabs(i == 0 ? up.a : i == 1 ? up.b : up.c));
                (i == 0 ? up.a : i == 1 ? up.b : up.c) += h;
                (i == 0 ? down.a : i == 1 ? down.b : down.c) -= h;
                jacobian[i] =
                    (*SolveCelsius(Kind::Isotope, up, w.d47) - *SolveCelsius(Kind::Isotope, down, w.d47)) /
                    (2 * h);
            }
            double variance = 0;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) variance += jacobian[i] * cov[i][j] * jacobian[j];
            EXPECT_NEAR(*r.sigmaCalibration, std::sqrt(variance), 2e-3 * std::sqrt(variance))
                << w.a << ' ' << w.d47;
        }
    }
}

// With no analytical σ, the draws come from the coefficients alone: near-linear
// here, their 95 % interval is T ± 1.96 σ_calibration.
TEST(Batch, CoefficientDrawsFromTheCovariance)
{
    TempDatabase db(true);
    const Library lib = Library::Load(db.conn(), Kind::Isotope);
    Row row;
    row.cells = {QStringLiteral("s"),
                 QStringLiteral("团簇同位素(Δ47)"),
                 QStringLiteral("碳酸盐"),
                 QStringLiteral("单矿物"),
                 QStringLiteral("0.5894"),
                 QString(),
                 QString(),
                 QString()};
    Options options;
    options.draws = 40000;
    int checked = 0;
    for (const Result &r : Compute(Kind::Isotope, {row}, lib, options)) {
        if (!r.cal->covariance) {
            EXPECT_FALSE(r.lo95) << "no σ of any kind: nothing to draw";
            continue;
        }
        ASSERT_TRUE(r.sigmaCalibration && r.lo95 && r.hi95);
        EXPECT_FALSE(r.sigmaAnalytical);
        EXPECT_EQ(r.failedDraws, 0);
        // Near-linear where σ is small. Elsewhere A and C, strongly correlated, each carry a large
        // error that mostly cancels in σ_T; through T = √(10^6·A/(Δ47 - C)) their second-order
        // terms do not, and shift the draws' middle by a fraction of σ.
        const bool nearLinear = *r.sigmaCalibration < 0.5;
        EXPECT_NEAR(*r.hi95 - *r.lo95, 2 * 1.96 * *r.sigmaCalibration,
                    (nearLinear ? 0.05 : 0.1) * *r.sigmaCalibration)
            << r.cal->remark.toStdString();
        EXPECT_NEAR((*r.hi95 + *r.lo95) / 2, r.celsius, (nearLinear ? 0.1 : 0.25) * *r.sigmaCalibration)
            << r.cal->remark.toStdString();
        EXPECT_TRUE(*r.lo95 < r.celsius && r.celsius < *r.hi95);
        ++checked;
    }
    EXPECT_EQ(checked, 9);
}

// A trace row's published ± (no covariance printed: A and B independent). T =
// A'/(B - log K) with A' = -A, so ∂T/∂A = -T/A', ∂T/∂B = -T²/A'; the draws of
// A and B give the same spread where the curve is near-linear.
TEST(Batch, TraceCalibrationErrorFromThePublishedSigmas)
{
    TempDatabase db(true);
    const Library lib = Library::Load(db.conn(), Kind::Trace);
    const struct {
        const char *a;
        double sa, sb;
    } rows[] = {{"-5080", 30, 0.03}, {"-4800", 86, 0.072}};
    for (const double ppm : {3.0, 30.0, 300.0}) {
        Row row;
        row.cells = QVector<QString>(ColumnCount(Kind::Trace)).toList();
        row.cells[Sample] = QStringLiteral("z");
        row.cells[Type] = QStringLiteral("Ti");
        row.cells[MineralA] = QStringLiteral("锆石");
        row.cells[MineralB] = QStringLiteral("单矿物");
        row.cells[K] = QString::number(ppm);
        Options options;
        options.draws = 40000;
        int checked = 0;
        for (const Result &r : Compute(Kind::Trace, {row}, lib, options)) {
            for (const auto &w : rows) {
                if (Num::Str(float(r.cal->a)) != QLatin1String(w.a)) continue;
                ++checked;
                const double aPrime = -r.cal->a, b = r.cal->b;
                const double kelvin = aPrime / (b - std::log10(ppm));
                ASSERT_TRUE(r.sigmaCalibration) << w.a << ' ' << ppm;
                EXPECT_NEAR(r.celsius, kelvin - 273.15, 1e-6);
                const double expected = std::hypot(kelvin / aPrime * w.sa, kelvin * kelvin / aPrime * w.sb);
                EXPECT_NEAR(*r.sigmaCalibration, expected, 1e-6 * expected) << w.a << ' ' << ppm;
                EXPECT_FALSE(r.sigmaAnalytical) << "no σ of K given";
                ASSERT_TRUE(r.lo95 && r.hi95);
                EXPECT_NEAR(*r.hi95 - *r.lo95, 2 * 1.96 * expected, 0.06 * expected) << w.a << ' ' << ppm;
            }
        }
        EXPECT_EQ(checked, 2) << ppm;
    }
}

// lorvane-calc reads a workbook as it streams and a text file in pieces while
// it writes: both give the same lines for the same samples, and a bad cell far
// down (in a later piece) names its row and leaves no output file.
// A geologist writes quartz, Qz or 石英 and oxygen, O or δ18O: each finds the
// same calibration and gives the same line; the output names them as stored and
// in English. A name known nowhere is said with its nearest spelling, in the
// locale's language, as are the messages of a bad cell.
TEST(LorvaneCalc, AnySpellingOfANameGivesTheSameResultsAndMessagesFollowTheLocale)
{
    TempDatabase db;
    db.exec(QStringLiteral(
        "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) values "
        "(1,'氧同位素','石英','水',3.38,0,-3.4,'200-500','Clayton, 1972')"));
    QTemporaryDir dir;
    const QString samples = WriteTestFile(dir.path(), QStringLiteral("s.csv"),
                                          "sample,type,mineral_a,mineral_b,delta_a,sigma_a,delta_b,sigma_b\n"
                                          "A,oxygen,Qz,H2O,12.5,0.1,2,0.1\n"
                                          "B,δ18O,quartz,water,12.5,0.1,2,0.1\n"
                                          "C,氧同位素,石英,水,12.5,0.1,2,0.1\n"
                                          "D,O, QUARTZ ,Water,12.5,0.1,2,0.1\n"
                                          "E,oxygen,quarz,water,12.5,0.1,2,0.1\n");
    const QStringList args{QStringLiteral("iso"),     samples,
                           QStringLiteral("--db"),    db.path(),
                           QStringLiteral("--draws"), QStringLiteral("0")};
    const CalcRun run = RunLorvaneCalc(args);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    ASSERT_EQ(run.out.size(), 6);
    // Without draws every row gives the same numbers. Clayton at Δ = 10.5:
    // 1000 ln α = 3.38e6/T² - 3.4.
    const double t = std::sqrt(3.38e6 / (10.5 + 3.4)) - 273.15;
    const QString line = run.out[1].mid(1);
    EXPECT_TRUE(line.startsWith(",氧同位素,石英,水,3.38,0,-3.4,\"Clayton, 1972\"," +
                                QString::number(t, 'f', 1) + ","))
        << line.toStdString();
    EXPECT_TRUE(line.endsWith(QStringLiteral(",quartz,water"))) << line.toStdString();
    for (int i = 2; i <= 4; ++i) EXPECT_EQ(run.out[i].mid(1), line);
    EXPECT_EQ(run.out[5], QStringLiteral("E,氧同位素,quarz,水,,,,,,,,,,,,,,,,no_calibration,,,,quarz,water"));
    EXPECT_EQ(run.err, QStringLiteral("lorvane-calc: 未知矿物 'quarz'，是否为 'quartz'（石英）？\n"));

    const CalcRun english = RunLorvaneCalc(args, QString(), QStringLiteral("en_GB"));
    EXPECT_EQ(english.out, run.out);
    EXPECT_EQ(english.err,
              QStringLiteral("lorvane-calc: Unknown mineral 'quarz' - did you mean 'quartz' (石英)?\n"));
    const QString bad = WriteTestFile(dir.path(), QStringLiteral("bad.csv"),
                                      "sample,type,mineral_a,mineral_b,delta_a,delta_b\nQ,O,Qz,水,1O,2\n");
    const CalcRun badRun = RunLorvaneCalc({QStringLiteral("iso"), bad, QStringLiteral("--db"), db.path()},
                                          QString(), QStringLiteral("en_GB"));
    EXPECT_EQ(badRun.code, 1);
    EXPECT_TRUE(badRun.err.contains(bad + QStringLiteral(":2:5: Not a number: 1O")))
        << badRun.err.toStdString();
}

TEST(LorvaneCalc, AWorkbookAndATextFileOfManyPiecesGiveTheSameLines)
{
    TempDatabase db;
    db.exec(QStringLiteral(
        "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) values "
        "(1,'氧同位素','石英','水',3.38,0,-3.4,'200-500','Clayton, 1972')"));
    QTemporaryDir dir;
    constexpr int kRows = 30000, kBad = 26543;
    QByteArray text = "sample,type,mineral_a,mineral_b,delta_a,sigma_a,delta_b,sigma_b\n";
    QVector<QVector<Workbook::Cell>> sheet{{}};
    for (const char *h :
         {"sample", "type", "mineral_a", "mineral_b", "delta_a", "sigma_a", "delta_b", "sigma_b"})
        sheet[0] << Workbook::Cell::Text(QString::fromLatin1(h));
    for (int i = 0; i < kRows; ++i) {
        const QString a = QString::number(8 + i % 9);
        text += QStringLiteral("S%1,氧同位素,石英,水,%2,0.2,0,0.2\n").arg(i).arg(a).toUtf8();
        sheet << QVector<Workbook::Cell>{Workbook::Cell::Text(QStringLiteral("S%1").arg(i)),
                                         Workbook::Cell::Text(QStringLiteral("氧同位素")),
                                         Workbook::Cell::Text(QStringLiteral("石英")),
                                         Workbook::Cell::Text(QStringLiteral("水")),
                                         Workbook::Cell::Text(a),
                                         Workbook::Cell::Text(QStringLiteral("0.2")),
                                         Workbook::Cell::Text(QStringLiteral("0")),
                                         Workbook::Cell::Text(QStringLiteral("0.2"))};
    }
    const QString csv = WriteTestFile(dir.path(), QStringLiteral("s.csv"), text);
    const QString xlsx = WriteTestFile(dir.path(), QStringLiteral("s.xlsx"),
                                       Workbook::Create({{QStringLiteral("样品"), sheet, true, {}}}));
    const QString outCsv = dir.filePath(QStringLiteral("a.csv")),
                  outXlsx = dir.filePath(QStringLiteral("b.csv"));
    for (const auto &[in, out] : {std::pair{csv, outCsv}, std::pair{xlsx, outXlsx}}) {
        const CalcRun run =
            RunLorvaneCalc({QStringLiteral("iso"), in, QStringLiteral("--db"), db.path(),
                            QStringLiteral("--draws"), QStringLiteral("20"), QStringLiteral("-o"), out});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
    }
    QFile a(outCsv), b(outXlsx);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = a.readAll().split('\n');
    EXPECT_EQ(lines.size(), kRows + 2) << "the header, a line a sample, the last line's end";
    EXPECT_EQ(b.readAll().split('\n'), lines);
    // Clayton at Δ = 8 + i % 9 for the last sample.
    const double delta = 8 + (kRows - 1) % 9, t = std::sqrt(3.38e6 / (delta + 3.4)) - 273.15;
    EXPECT_TRUE(lines[kRows].startsWith(QStringLiteral("S%1,").arg(kRows - 1).toUtf8()));
    EXPECT_TRUE(lines[kRows].contains("," + QByteArray::number(t, 'f', 1) + ","))
        << lines[kRows].toStdString();

    QByteArray spoilt = text;
    spoilt.replace(QStringLiteral("S%1,氧同位素,石英,水,").arg(kBad).toUtf8(),
                   QStringLiteral("S%1,氧同位素,石英,水,x").arg(kBad).toUtf8());
    const QString bad = WriteTestFile(dir.path(), QStringLiteral("bad.csv"), spoilt);
    const QString never = dir.filePath(QStringLiteral("never.csv"));
    const CalcRun refused =
        RunLorvaneCalc({QStringLiteral("iso"), bad, QStringLiteral("--db"), db.path(),
                        QStringLiteral("--draws"), QStringLiteral("0"), QStringLiteral("-o"), never});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("bad.csv:%1:5: 不是数字：x").arg(kBad + 2)))
        << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(never));
}
