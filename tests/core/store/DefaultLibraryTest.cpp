// SPDX-License-Identifier: GPL-3.0-or-later
// The default library as make_database builds it from data/calibrations: every
// row sourced and computable, the trace-element rows against their forward
// equation, and the checks that keep a wrong row out of the build.
#include "core/base/NumberText.h"
#include "core/database/SharedConnection.h"
#include "core/store/TraceTerms.h"
#include "core/thermometry/CalibrationRange.h"
#include "core/thermometry/Equations.h"
#include "support/core/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

std::map<QString, int> countsBy(TempDatabase &db, const QString &sql)
{
    std::map<QString, int> counts;
    Recordset rs = db.conn().Execute(sql);
    for (; !rs.Eof(); rs.MoveNext()) counts[rs.Fields(0).Text()] = rs.Fields(1).Text().toInt();
    return counts;
}

// Runs make_database on a folder of CSVs; its exit code.
int makeDatabase(const QString &csvDir, const QString &output, QString *errors = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(LORVANE_BIN_DIR) + QStringLiteral("/../tools/make_database"),
            {QStringLiteral(LORVANE_SCHEMA), csvDir, output});
    p.waitForFinished(-1);
    if (errors) *errors = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode();
}

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

const char *kIsoHead = "IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S\r\n";
const char *kTraceHead = "Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s\r\n";
const char *kIsoRow = "氧同位素,石英,水,3.38,0,-3.4,200-500,Clayton (1972)\r\n";
const char *kTraceRow = "Mg,橄榄石,熔体,3740,-1.87,10,1150-1300; Roeder & Emslie (1970)\r\n";

// A trace row's equation as the program reads it from the table.
TraceEquation::Form formOf(const Recordset &rs)
{
    return FormOf(rs.Fields("logType_s").Text(), rs.Fields("ConstA_sng").Single(),
                  rs.Fields("ConstB_sng").Single(),
                  TraceColumns::Read(rs, rs.AbsolutePosition(), TraceColumns::Find(rs)));
}

// log K of the published form, written out here apart from the program.
double forwardLogK(const TraceEquation::Form &f, double kelvin, const TraceEquation::Conditions &c)
{
    const bool ten = f.logType == QLatin1String("10");
    auto lg = [ten](double v) { return ten ? std::log10(v) : std::log(v); };
    return (f.a + f.c * std::pow(c.pressureKbar, f.n) + f.e * c.x) / kelvin + f.b + f.f * c.x +
           f.nuSiO2 * lg(c.aSiO2) + f.nuTiO2 * lg(c.aTiO2);
}

double kOf(const TraceEquation::Form &f, double logK)
{
    return f.logType == QLatin1String("10") ? std::pow(10.0, logK) : std::exp(logK);
}

// The one row that the condition picks; its temperature (°C) for K under the conditions.
double celsiusFrom(TempDatabase &db, const QString &where, double k, const TraceEquation::Conditions &c = {})
{
    Recordset rs = db.conn().Execute(QStringLiteral("select * from TraceElement where ") + where);
    EXPECT_EQ(rs.RecordCount(), 1) << where.toStdString();
    if (rs.Eof()) return 0;
    const std::optional<double> kelvin = TraceEquation::Kelvin(formOf(rs), k, c);
    EXPECT_TRUE(kelvin) << where.toStdString();
    return kelvin ? *kelvin - 273.15 : 0;
}

} // namespace

TEST(DefaultLibrary, EveryIsotopeTypeAndElementWithItsCount)
{
    TempDatabase db(true);
    // The counts README.md gives.
    const std::map<QString, int> types{
        {"氧同位素", 153}, {"氢同位素", 2}, {"硫同位素", 19}, {"碳同位素", 2}, {"团簇同位素(Δ47)", 12}};
    EXPECT_EQ(countsBy(db, "select IsoType_S, count(*) from Isoplot group by IsoType_S"), types);
    const std::map<QString, int> elements{{"Al", 2}, {"Ca", 1}, {"Fe", 1}, {"Mg", 1},
                                          {"Ni", 2}, {"Ti", 5}, {"Zr", 6}};
    EXPECT_EQ(countsBy(db, "select Element_s, count(*) from TraceElement group by Element_s"), elements);
    // Every type the calculator offers has a calibration.
    EXPECT_EQ(db.scalar("select count(*) from IsotopeType where Name not in (select IsoType_S from Isoplot)"),
              "0");
    EXPECT_GE(db.count("Isoplot"), 188);
    EXPECT_EQ(db.count("TraceElement"), 18);
}

TEST(DefaultLibrary, EveryRowHasItsReferenceNumericConstantsAndNoTwin)
{
    TempDatabase db(true);
    EXPECT_EQ(db.scalar("select count(*) from Isoplot where trim(Source_S)='' or Source_S is null"), "0");
    EXPECT_EQ(
        db.scalar("select count(*) from Isoplot where typeof(ConstA_N)<>'real' or typeof(ConstB_N)<>'real' "
                  "or typeof(ConstC_N)<>'real'"),
        "0");
    EXPECT_EQ(db.scalar("select count(*) from TraceElement where typeof(ConstA_sng)<>'real' or "
                        "typeof(ConstB_sng)<>'real'"),
              "0");
    EXPECT_EQ(db.scalar("select count(*) from TraceElement where logType_s not in ('10','e')"), "0");
    // The trace table has no source column: its remark names K and the reference (a year in brackets).
    Recordset rs = db.conn().Execute(QStringLiteral("select Mark_s from TraceElement"));
    const QRegularExpression year(QStringLiteral(R"(\((19|20)\d\d\))"));
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString mark = rs.Fields(0).Text();
        EXPECT_TRUE(mark.contains(QStringLiteral("K = "))) << mark.toStdString();
        EXPECT_TRUE(year.match(mark).hasMatch()) << mark.toStdString();
    }
    // The same calibration twice would be offered twice.
    EXPECT_EQ(db.scalar("select count(*) from (select 1 from Isoplot group by IsoType_S, MinA_S, MinB_S, "
                        "ConstA_N, ConstB_N, ConstC_N having count(*) > 1)"),
              "0");
    EXPECT_EQ(
        db.scalar("select count(*) from (select 1 from TraceElement group by Element_s, MinA_s, MinB_s, "
                  "ConstA_sng, ConstB_sng, logType_s having count(*) > 1)"),
        "0");
}

TEST(DefaultLibrary, OneChineseSpellingPerMineral)
{
    TempDatabase db(true);
    QStringList names;
    for (const char *sql : {"select MinA_S from Isoplot union select MinB_S from Isoplot",
                            "select MinA_s from TraceElement union select MinB_s from TraceElement"}) {
        Recordset rs = db.conn().Execute(QString::fromUtf8(sql));
        for (; !rs.Eof(); rs.MoveNext()) names << rs.Fields(0).Text();
    }
    const QRegularExpression notChinese(QStringLiteral(R"([A-Za-z0-9\s()（）,，-])"));
    for (const QString &name : names) EXPECT_FALSE(notChinese.match(name).hasMatch()) << name.toStdString();
    // Names in common use for one mineral: only the first may appear. Water is
    // "水" alone, the name the calculator's water mode looks for.
    const std::vector<std::pair<const char *, const char *>> synonyms{
        {"夕线石", "矽线石"},     {"榍石", "楔石"},       {"电气石", "碧玺"},     {"蓝晶石", "兰晶石"},
        {"磁黄铁矿", "磁硫铁矿"}, {"单矿物", "单一矿物"}, {"水", "H₂O"},          {"硫化氢", "H2S"},
        {"二氧化碳", "CO2"},      {"熔体", "熔浆"},       {"石榴石", "石榴子石"}, {"绿帘石", "帘石"}};
    for (const auto &[kept, other] : synonyms)
        EXPECT_FALSE(names.contains(QString::fromUtf8(other))) << other << " for " << kept;
}

TEST(DefaultLibrary, EveryTraceCalibrationInvertsOverItsRange)
{
    // Each row in full form, under conditions a rock may have: log K from the
    // published equation at a known T, then T back from the program.
    TempDatabase db(true);
    Recordset rs = db.conn().Execute(QStringLiteral("select * from TraceElement"));
    const TraceEquation::Conditions conditions[] = {{10, 0.3, 1, 1}, {5, 0.5, 0.8, 0.7}, {20, 0.9, 1, 0.5}};
    int checked = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const TraceEquation::Form form = formOf(rs);
        const QString mark = rs.Fields("Mark_s").Text();
        const std::optional<CalibrationRange> range = ReadRange(mark);
        std::vector<double> points{400, 800, 1200};
        if (range) points = {*range->low, (*range->low + *range->high) / 2, *range->high};
        for (const TraceEquation::Conditions &c : conditions)
            for (double celsius : points) {
                const double k = kOf(form, forwardLogK(form, celsius + 273.15, c));
                ASSERT_TRUE(std::isfinite(k) && k > 0) << mark.toStdString();
                const std::optional<double> kelvin = TraceEquation::Kelvin(form, k, c);
                ASSERT_TRUE(kelvin) << mark.toStdString();
                EXPECT_NEAR(*kelvin - 273.15, celsius, 1e-6 * (celsius + 273.15))
                    << rs.Fields("Element_s").Text().toStdString() << ' ' << mark.toStdString() << " at "
                    << celsius;
                ++checked;
            }
    }
    EXPECT_EQ(checked, 18 * 3 * 3);
}

TEST(DefaultLibrary, WorkedValuesOfTheAddedThermometers)
{
    // Temperatures computed here from the published forms, not from the rows.
    TempDatabase db(true);
    using C = TraceEquation::Conditions;
    // Ti-in-zircon (Watson et al. 2006), 10 ppm: T = 5080/(6.01 - log Ti).
    EXPECT_NEAR(celsiusFrom(db, "Element_s='Ti' and ConstA_sng=-5080", 10), 5080.0 / 5.01 - 273.15, 0.05);
    // Ferry & Watson 2007 at aSiO2 = 1, aTiO2 = 0.7, 10 ppm: T = 4800/(5.711 + log 0.7 - 1).
    EXPECT_NEAR(celsiusFrom(db, "Element_s='Ti' and ConstA_sng=-4800", 10, C{0, 0, 1, 0.7}),
                4800.0 / (5.711 + std::log10(0.7) - 1) - 273.15, 0.05);
    // TitaniQ, 50 ppm: T = 3765/(5.69 - log Ti).
    EXPECT_NEAR(celsiusFrom(db, "ConstA_sng=-3765", 50), 3765.0 / (5.69 - std::log10(50.0)) - 273.15, 0.05);
    // Huang & Audétat at 5 kbar, 20 ppm: T = (2794.3 + 660·5^0.35)/(5.6459 - log Ti).
    EXPECT_NEAR(celsiusFrom(db, "ConstA_sng=-2794.3", 20, C{5, 0, 1, 1}),
                (2794.3 + 660 * std::pow(5.0, 0.35)) / (5.6459 - std::log10(20.0)) - 273.15, 0.05);
    // Thomas et al. at 5 and 10 kbar: RT ln X = -60952 + 1.520T - 1741P for X the mole fraction of
    // TiO2, here from ppm Ti by weight without approximation. The row takes ppm with the
    // conversion folded into B, which may cost up to 0.1 K at 1000 ppm.
    auto thomas = [](double kbar, double ppm) {
        const double c = ppm * 1e-6, mTi = 47.867, mSiO2 = 60.083, mTiO2 = 79.865;
        const double x = c * mSiO2 / (mTi + c * (mSiO2 - mTiO2));
        return (60952 + 1741 * kbar) / (1.520 - 8.3145 * std::log(x)) - 273.15;
    };
    EXPECT_NEAR(thomas(10, 50), 682.804921, 1e-5); // the formula itself, against a value worked apart
    EXPECT_NEAR(thomas(5, 10), 457.357221, 1e-5);
    for (double kbar : {5.0, 10.0})
        for (double ppm : {1.0, 50.0, 300.0, 1000.0})
            EXPECT_NEAR(celsiusFrom(db, "MinA_s='石英' and NuTiO2_sng=1", ppm, C{kbar, 0, 1, 1}),
                        thomas(kbar, ppm), 0.1)
                << kbar << " kbar, " << ppm << " ppm";
    // Zr-in-rutile, Tomkins et al., α-quartz at 10 kbar, 300 ppm: T = (83.9 + 0.41P)/(0.1428 - R ln Zr).
    EXPECT_NEAR(celsiusFrom(db, "Mark_s like '%α-quartz field%'", 300, C{10, 0, 1, 1}),
                (83.9 + 4.1) / (0.1428 - 0.0083144 * std::log(300.0)) - 273.15, 0.05);
    // Zr-in-titanite at 1 GPa, 100 ppm, unit activities: T = (7708 + 960P)/(10.52 - log Zr).
    EXPECT_NEAR(celsiusFrom(db, "MinA_s='榍石'", 100, C{10, 0, 1, 1}), 8668.0 / (10.52 - 2) - 273.15, 0.05);
    // Ni in garnet (Ryan et al.), 50 ppm: T = 1000/(1.506 - 0.189 ln Ni).
    EXPECT_NEAR(celsiusFrom(db, "Element_s='Ni' and MinB_s='单矿物'", 50),
                1000.0 / (1.506 - 0.189 * std::log(50.0)) - 273.15, 0.05);
    // Al olivine-spinel, Cr# 0.5, K = 0.002: Coogan et al. T = 10000/(0.575 + 0.884 Cr# - 0.897 ln K),
    // Wan et al. T = 10000/(0.512 + 0.873 Cr# - 0.91 ln K).
    EXPECT_NEAR(celsiusFrom(db, "Element_s='Al' and Mark_s like 'K = %'", 0.002, C{0, 0.5, 1, 1}),
                10000.0 / (0.575 + 0.884 * 0.5 - 0.897 * std::log(0.002)) - 273.15, 0.05);
    EXPECT_NEAR(celsiusFrom(db, "Element_s='Al' and Mark_s like '1250-1450%'", 0.002, C{0, 0.5, 1, 1}),
                10000.0 / (0.512 + 0.873 * 0.5 - 0.91 * std::log(0.002)) - 273.15, 0.05);
    // Ca in olivine at X_Fo 0.9, X(monticellite) 0.005: ln K = 6.395 - 3.235 X_Fo - 12368/T.
    EXPECT_NEAR(celsiusFrom(db, "Element_s='Ca'", 0.005, C{0, 0.9, 1, 1}),
                12368.0 / (6.395 - 3.235 * 0.9 - std::log(0.005)) - 273.15, 0.05);

    // Water-vapour (Majoube): 1000 ln α(liquid-vapour) at 25 °C is 9.3 for oxygen, 76.4 for hydrogen.
    Recordset rs =
        db.conn().Execute(QStringLiteral("select * from Isoplot where MinA_S='水' and MinB_S='水蒸气'"));
    ASSERT_EQ(rs.RecordCount(), 2);
    for (; !rs.Eof(); rs.MoveNext()) {
        const double d =
            IsoEquation::Fractionation(rs.Fields("ConstA_N").Single(), rs.Fields("ConstB_N").Single(),
                                       rs.Fields("ConstC_N").Single(), 298.15);
        EXPECT_NEAR(d, rs.Fields("IsoType_S").Text() == QStringLiteral("氧同位素") ? 9.33 : 76.4, 0.1);
    }
    // Calcite-CO2 is Bottinga's CO2-calcite with every sign changed: calcite is
    // the heavier by about 10 per mil at 25 °C.
    Recordset cc = db.conn().Execute(
        QStringLiteral("select * from Isoplot where IsoType_S='碳同位素' and MinA_S='方解石'"));
    ASSERT_EQ(cc.RecordCount(), 1);
    const double t = 298.15, co2Calcite = -2.4612 + 7.6663e3 / t - 2.988e6 / (t * t);
    EXPECT_NEAR(IsoEquation::Fractionation(cc.Fields("ConstA_N").Single(), cc.Fields("ConstB_N").Single(),
                                           cc.Fields("ConstC_N").Single(), t),
                -co2Calcite, 1e-4);
    EXPECT_GT(-co2Calcite, 10);
}

TEST(DefaultLibrary, TiInQuartzTakesPpmAndStatedRangesReadAsGiven)
{
    TempDatabase db(true);
    // One unit for Ti in quartz: a typical 50 ppm is 500-1000 °C on every row. A row that
    // took a mole fraction would give a temperature below absolute zero for 50.
    Recordset q = db.conn().Execute(QStringLiteral(
        "select * from TraceElement where Element_s='Ti' and MinA_s='石英' and MinB_s='单矿物'"));
    int quartz = 0;
    for (; !q.Eof(); q.MoveNext(), ++quartz) {
        const QString mark = q.Fields("Mark_s").Text();
        const std::optional<double> kelvin = TraceEquation::Kelvin(formOf(q), 50, {10, 0, 1, 1});
        ASSERT_TRUE(kelvin) << mark.toStdString();
        const double celsius = *kelvin - 273.15;
        EXPECT_GT(celsius, 500) << mark.toStdString();
        EXPECT_LT(celsius, 1000) << mark.toStdString();
        EXPECT_TRUE(mark.contains(QStringLiteral("K = Ti (ppm) in quartz"))) << mark.toStdString();
    }
    EXPECT_EQ(quartz, 3);

    // Ranges the sources state. What follows the leading range (a pressure span such as
    // "5-20 kbar", a Cr# span) must not read as a range of its own.
    struct Stated {
        const char *rows;
        int count;
        double low, high;
        const char *says;
    };
    const Stated stated[] = {
        {"Isoplot where MinA_S='熔体硫酸根'", 2, 600, 1000, "chloride melts"}, // Miyoshi et al. 1984
        {"TraceElement where MinA_s='石英' and NuTiO2_sng=1", 1, 700, 940, "5-20 kbar"}, // Thomas et al.
        {"TraceElement where Element_s='Zr' and ConstA_sng=-4470", 1, 470, 1070, "natural rutiles"},
        {"TraceElement where MinA_s='榍石'", 1, 800, 1000, "10-24 kbar"},
        {"TraceElement where ConstA_sng=-10989.01", 1, 1250, 1450, "Cr# 0.07-0.69"},
        {"TraceElement where Element_s='Ca'", 1, 1170, 1322, "X_Fo 0.70-1.00"},
    };
    const QRegularExpression leading(QStringLiteral(R"(^\d+-\d+)"));
    for (const Stated &s : stated) {
        Recordset rs = db.conn().Execute(QStringLiteral("select Mark_S from ") + QString::fromUtf8(s.rows));
        EXPECT_EQ(rs.RecordCount(), s.count) << s.rows;
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString mark = rs.Fields(0).Text();
            const std::optional<CalibrationRange> range = ReadRange(mark);
            ASSERT_TRUE(range && range->low && range->high) << mark.toStdString();
            EXPECT_EQ(*range->low, s.low) << mark.toStdString();
            EXPECT_EQ(*range->high, s.high) << mark.toStdString();
            EXPECT_TRUE(mark.contains(QString::fromUtf8(s.says))) << mark.toStdString();
            const QString rest = QString(mark).remove(leading);
            EXPECT_NE(rest, mark) << mark.toStdString();
            EXPECT_FALSE(ReadRange(rest)) << rest.toStdString();
        }
    }
}

TEST(DefaultLibrary, MakeDatabaseRefusesARowThatWouldGiveAWrongCalibration)
{
    struct Case {
        const char *what;
        QString iso, trace;
        int row = 1;
    };
    const QString isoOk = QString::fromUtf8(kIsoHead) + QString::fromUtf8(kIsoRow);
    const QString traceOk = QString::fromUtf8(kTraceHead) + QString::fromUtf8(kTraceRow);
    const std::vector<Case> cases{
        {"a constant that is no number",
         QString::fromUtf8(kIsoHead) + "氧同位素,石英,水,3.38a,0,-3.4,200-500,ref\r\n", traceOk},
        {"an empty constant", QString::fromUtf8(kIsoHead) + "氧同位素,石英,水,3.38,,-3.4,200-500,ref\r\n",
         traceOk},
        {"no reference", QString::fromUtf8(kIsoHead) + "氧同位素,石英,水,3.38,0,-3.4,200-500,\r\n", traceOk},
        {"no mineral B", QString::fromUtf8(kIsoHead) + "氧同位素,石英,,3.38,0,-3.4,200-500,ref\r\n", traceOk},
        {"the same calibration twice", isoOk + "氧同位素,石英,水,3.380,0,-3.40,other text,other ref\r\n",
         traceOk, 2},
        {"a tab in a field",
         QString::fromUtf8(kIsoHead) + "氧同位素,石英,水,3.38,0,-3.4,\"200\t500\",ref\r\n", traceOk},
        {"a trace row without a remark", isoOk,
         QString::fromUtf8(kTraceHead) + "Mg,橄榄石,熔体,3740,-1.87,10,\r\n"},
        {"an unknown log type", isoOk,
         QString::fromUtf8(kTraceHead) + "Mg,橄榄石,熔体,3740,-1.87,ln,r (1970)\r\n"},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        writeFile(dir.filePath("isotope_calibrations.csv"), c.iso);
        writeFile(dir.filePath("trace_calibrations.csv"), c.trace);
        QString errors;
        EXPECT_EQ(makeDatabase(dir.path(), dir.filePath("out/Vantor.mdb"), &errors), 1) << c.what;
        EXPECT_TRUE(errors.contains(QStringLiteral("row %1:").arg(c.row)))
            << c.what << ": " << errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("out/Vantor.mdb"))) << c.what;
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("out/library"))) << c.what;
    }
}

TEST(DefaultLibrary, AnExistingDatabaseIsKeptAndTheImportFilesFollowTheLibrary)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("csv");
    QDir().mkpath(csv);
    writeFile(csv + "/isotope_calibrations.csv",
              QString::fromUtf8(kIsoHead) + QString::fromUtf8(kIsoRow) +
                  "硫同位素,磁黄铁矿,硫化氢,0.1,0,0,Hydrothermal,Ohmoto & Rye (1979)\r\n");
    writeFile(csv + "/trace_calibrations.csv", QString::fromUtf8(kTraceHead) + QString::fromUtf8(kTraceRow));
    const QString out = dir.filePath("bin/Vantor.mdb");
    ASSERT_EQ(makeDatabase(csv, out), 0);
    const QString library = dir.filePath("bin/library");
    EXPECT_EQ(QDir(library + "/isotope").entryList(QDir::Files),
              QStringList({"氧同位素.txt", "硫同位素.txt"}));

    // The user's database: a row of their own.
    {
        Connection conn;
        conn.setConnectionString(mdlFunction::kConnectionStringPrefix + out);
        conn.Open();
        conn.Execute(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (9,'氧同位素','a','b',1,2,3,'','mine')"));
    }
    // The library loses its sulfur row and gains a trace row.
    writeFile(csv + "/isotope_calibrations.csv", QString::fromUtf8(kIsoHead) + QString::fromUtf8(kIsoRow));
    writeFile(csv + "/trace_calibrations.csv",
              QString::fromUtf8(kTraceHead) + QString::fromUtf8(kTraceRow) +
                  "Ti,锆石,单矿物,-5080,6.01,10,K = Ti (ppm) in zircon; Watson & Harrison (2005)\r\n");
    ASSERT_EQ(makeDatabase(csv, out), 0);

    Connection conn;
    conn.setConnectionString(mdlFunction::kConnectionStringPrefix + out);
    conn.Open();
    Recordset rs = conn.Execute(QStringLiteral("select count(*) from Isoplot"));
    EXPECT_EQ(rs.Fields(0).Text(), "3") << "the database is never rebuilt over the user's rows";
    EXPECT_EQ(QDir(library + "/isotope").entryList(QDir::Files), QStringList({"氧同位素.txt"}))
        << "a type the library no longer has leaves no file";
    QFile ti(library + "/trace/Ti.txt");
    ASSERT_TRUE(ti.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(ti.readAll()),
              QStringLiteral("锆石\t单矿物\t-5080\t6.01\t10\tK = Ti (ppm) in zircon; Watson & Harrison (2005)"
                             "\t\t0\t1\t0\t0\t\t0\t0\t\t\t\t\t\r\n"))
        << "the terms a CSV leaves out are written with their defaults, no error fields where none is given";
}
