// The default library as make_database builds it from data/calibrations: every
// row sourced and computable, the trace-element rows against their forward
// equation, and the checks that keep a wrong row out of the build.
#include "core/base/NumberText.h"
#include "core/database/SharedConnection.h"
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

} // namespace

TEST(DefaultLibrary, EveryIsotopeTypeAndElementWithItsCount)
{
    TempDatabase db(true);
    // The counts README.md gives.
    const std::map<QString, int> types{{"氧同位素", 153}, {"氢同位素", 2}, {"硫同位素", 13}, {"碳同位素", 2}};
    EXPECT_EQ(countsBy(db, "select IsoType_S, count(*) from Isoplot group by IsoType_S"), types);
    const std::map<QString, int> elements{{"Al", 4}, {"Ca", 1}, {"Fe", 1}, {"Mg", 1},
                                          {"Ni", 2}, {"Ti", 9}, {"Zr", 8}};
    EXPECT_EQ(countsBy(db, "select Element_s, count(*) from TraceElement group by Element_s"), elements);
    // Every type the calculator offers has a calibration.
    EXPECT_EQ(db.scalar("select count(*) from IsotopeType where Name not in (select IsoType_S from Isoplot)"),
              "0");
    EXPECT_GE(db.count("Isoplot"), 170);
    EXPECT_GE(db.count("TraceElement"), 25);
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
    TempDatabase db(true);
    Recordset rs = db.conn().Execute(QStringLiteral("select * from TraceElement"));
    int checked = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const float a = rs.Fields("ConstA_sng").Single(), b = rs.Fields("ConstB_sng").Single();
        const QString logType = rs.Fields("logType_s").Text();
        const QString mark = rs.Fields("Mark_s").Text();
        const std::optional<CalibrationRange> range = ReadRange(mark);
        std::vector<double> points{400, 800, 1200};
        if (range) points = {*range->low, (*range->low + *range->high) / 2, *range->high};
        for (double celsius : points) {
            // Forward: log K = A/T + B in the row's base.
            const double x = double(a) / (celsius + 273.15) + double(b);
            const double k = logType == QLatin1String("10") ? std::pow(10.0, x) : std::exp(x);
            ASSERT_TRUE(std::isfinite(k) && k > 0) << mark.toStdString();
            EXPECT_NEAR(TraceEquation::CalculateTemperature(logType, float(k), a, b), celsius, 1.0)
                << rs.Fields("Element_s").Text().toStdString() << ' ' << mark.toStdString() << " at "
                << celsius;
            ++checked;
        }
    }
    EXPECT_GE(checked, 78);
}

TEST(DefaultLibrary, WorkedValuesOfTheAddedThermometers)
{
    // Temperatures computed here from the published forms, not from the rows.
    TempDatabase db(true);
    auto trace = [&](const char *element, const char *minA, const char *constA, float k) {
        Recordset rs = db.conn().Execute(
            QStringLiteral(
                "select * from TraceElement where Element_s='%1' and MinA_s='%2' and ConstA_sng=%3")
                .arg(QString::fromUtf8(element), QString::fromUtf8(minA), QString::fromUtf8(constA)));
        EXPECT_EQ(rs.RecordCount(), 1) << element << ' ' << constA;
        if (rs.Eof()) return 0.0f;
        return TraceEquation::CalculateTemperature(rs.Fields("logType_s").Text(), k,
                                                   rs.Fields("ConstA_sng").Single(),
                                                   rs.Fields("ConstB_sng").Single());
    };
    // Ti-in-zircon, 10 ppm: T = 5080/(6.01 - log Ti).
    EXPECT_NEAR(trace("Ti", "锆石", "-5080", 10), 5080.0 / 5.01 - 273.15, 0.05);
    // TitaniQ, 50 ppm: T = 3765/(5.69 - log Ti).
    EXPECT_NEAR(trace("Ti", "石英", "-3765", 50), 3765.0 / (5.69 - std::log10(50.0)) - 273.15, 0.05);
    // Huang & Audétat at 5 kbar, 20 ppm: T = (2794.3 + 660·5^0.35)/(5.6459 - log Ti).
    EXPECT_NEAR(trace("Ti", "石英", "-3953.6", 20),
                (2794.3 + 660 * std::pow(5.0, 0.35)) / (5.6459 - std::log10(20.0)) - 273.15, 0.1);
    // Thomas et al. at 5 and 10 kbar: RT ln X = -60952 + 1.520T - 1741P for X the mole fraction of
    // TiO2, here from ppm Ti by weight without approximation. The rows take ppm with the
    // conversion folded into B, which may cost up to 0.1 K at 1000 ppm.
    auto thomas = [](double kbar, double ppm) {
        const double c = ppm * 1e-6, mTi = 47.867, mSiO2 = 60.083, mTiO2 = 79.865;
        const double x = c * mSiO2 / (mTi + c * (mSiO2 - mTiO2));
        return (60952 + 1741 * kbar) / (1.520 - 8.3145 * std::log(x)) - 273.15;
    };
    EXPECT_NEAR(thomas(10, 50), 682.804921, 1e-5); // the formula itself, against a value worked apart
    EXPECT_NEAR(thomas(5, 10), 457.357221, 1e-5);
    for (const auto &[constA, kbar] : {std::pair{"-8377.8", 5.0}, std::pair{"-9424.7", 10.0}})
        for (double ppm : {1.0, 50.0, 300.0, 1000.0})
            EXPECT_NEAR(trace("Ti", "石英", constA, float(ppm)), thomas(kbar, ppm), 0.1)
                << kbar << " kbar, " << ppm << " ppm";
    // Zr-in-rutile, Tomkins et al., α-quartz at 10 kbar, 300 ppm: T = (83.9 + 0.41P)/(0.1428 - R ln Zr).
    EXPECT_NEAR(trace("Zr", "金红石", "-10584", 300),
                (83.9 + 4.1) / (0.1428 - 0.0083144 * std::log(300.0)) - 273.15, 0.1);
    // Zr-in-titanite at 1 GPa, 100 ppm: T = (7708 + 960P)/(10.52 - log Zr).
    EXPECT_NEAR(trace("Zr", "榍石", "-8668", 100), 8668.0 / (10.52 - 2) - 273.15, 0.05);
    // Ni in garnet (Ryan et al.), 50 ppm: T = 1000/(1.506 - 0.189 ln Ni).
    EXPECT_NEAR(trace("Ni", "石榴石", "-5291", 50), 1000.0 / (1.506 - 0.189 * std::log(50.0)) - 273.15, 0.5);
    // Al olivine-spinel (Coogan et al.), Cr# 0.5, K = 0.002: T = 10000/(0.575 + 0.884 Cr# - 0.897 ln K).
    Recordset al = db.conn().Execute(QStringLiteral(
        "select * from TraceElement where Element_s='Al' and ConstA_sng=-11148.27 order by ConstB_sng"));
    ASSERT_EQ(al.RecordCount(), 2);
    al.MoveNext();
    EXPECT_NEAR(TraceEquation::CalculateTemperature("e", 0.002f, al.Fields("ConstA_sng").Single(),
                                                    al.Fields("ConstB_sng").Single()),
                10000.0 / (0.575 + 0.884 * 0.5 - 0.897 * std::log(0.002)) - 273.15, 0.2);

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
        const double celsius = TraceEquation::CalculateTemperature(q.Fields("logType_s").Text(), 50,
                                                                   q.Fields("ConstA_sng").Single(),
                                                                   q.Fields("ConstB_sng").Single());
        EXPECT_GT(celsius, 500) << mark.toStdString();
        EXPECT_LT(celsius, 1000) << mark.toStdString();
        EXPECT_TRUE(mark.contains(QStringLiteral("K = Ti (ppm) in quartz"))) << mark.toStdString();
    }
    EXPECT_EQ(quartz, 6);

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
        {"TraceElement where ConstA_sng in (-8377.8, -9424.7)", 2, 700, 940, "5-20 kbar"}, // Thomas et al.
        {"TraceElement where Element_s='Zr' and ConstA_sng=-4470", 1, 470, 1070, "natural rutiles"},
        {"TraceElement where MinA_s='榍石'", 2, 800, 1000, "10-24 kbar"},
        {"TraceElement where ConstA_sng=-10989.01", 2, 1250, 1450, "Cr# 0.07-0.69"},
        {"TraceElement where Element_s='Ca'", 1, 1170, 1322, "Fo70 to Fo100"},
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
        conn.Execute(QStringLiteral("insert into Isoplot values (9,'氧同位素','a','b',1,2,3,'','mine')"));
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
              QStringLiteral(
                  "锆石\t单矿物\t-5080\t6.01\t10\tK = Ti (ppm) in zircon; Watson & Harrison (2005)\r\n"));
}
