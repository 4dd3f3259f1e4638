// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/CalibrationRange.h"
#include "core/base/NumberText.h"
#include "support/core/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

// "lo-hi", "≥lo", "≤hi" or "none": what a reader of the remark should take from it.
std::string readAs(const QString &remark)
{
    const std::optional<CalibrationRange> r = ReadRange(remark);
    if (!r) return "none";
    return r->text().toStdString();
}

} // namespace

TEST(CalibrationRange, TwoNumbersWithAnyOfTheJoiners)
{
    EXPECT_EQ(readAs(QStringLiteral("200-900")), "200-900℃");
    EXPECT_EQ(readAs(QStringLiteral("1150–1300 C")), "1150-1300℃");
    EXPECT_EQ(readAs(QStringLiteral("500~800℃")), "500-800℃");
    EXPECT_EQ(readAs(QStringLiteral("200至500")), "200-500℃");
    EXPECT_EQ(readAs(QStringLiteral("200到500 °C，水溶液")), "200-500℃");
    EXPECT_EQ(readAs(QStringLiteral("8.5-62")), "8.5-62℃");
    EXPECT_EQ(readAs(QStringLiteral("  0-330")), "0-330℃");
    EXPECT_EQ(readAs(QStringLiteral("900-200")), "200-900℃"); // reversed ends are put in order
    // Below zero only where the range opens the text.
    EXPECT_EQ(readAs(QStringLiteral("-1.8-1100; I-CDES")), "-1.8-1100℃");
    EXPECT_EQ(readAs(QStringLiteral("−2~30")), "-2-30℃");
    EXPECT_EQ(readAs(QStringLiteral("Δ = -3.4; 200-500 ℃")), "200-500℃");
}

TEST(CalibrationRange, OneSidedBounds)
{
    for (const char *text : {">=600", ">600", "≥600", "≥ 600℃"})
        EXPECT_EQ(readAs(QString::fromUtf8(text)), "≥600℃") << text;
    for (const char *text : {"<300", "<=300", "≤300"})
        EXPECT_EQ(readAs(QString::fromUtf8(text)), "≤300℃") << text;
}

TEST(CalibrationRange, ReadOnlyAtTheStartOrBeforeAUnit)
{
    // Inside a text only a range with its unit counts.
    EXPECT_EQ(
        readAs(QStringLiteral("K = X(ol)/X(liq); calibrated 1150-1300 C at 1 atm; Roeder & Emslie (1970) "
                              "Contrib. Mineral. Petrol. 29:275-289")),
        "1150-1300℃");
    EXPECT_EQ(readAs(QStringLiteral("experiments at 600-1000℃")), "600-1000℃");
    // Page numbers, years, a lone number, words: no range.
    EXPECT_EQ(readAs(QStringLiteral("Roeder & Emslie (1970) Contrib. Mineral. Petrol. 29:275-289")), "none");
    EXPECT_EQ(readAs(QStringLiteral("Clayton et al. 1972, pp. 3057-3067")), "none");
    EXPECT_EQ(readAs(QStringLiteral("600")), "none");
    EXPECT_EQ(readAs(QStringLiteral("abc")), "none");
    EXPECT_EQ(readAs(QString()), "none");
    EXPECT_EQ(readAs(QStringLiteral("-")), "none");
    // A "C" that begins a word is no unit.
    EXPECT_EQ(readAs(QStringLiteral("Table 2, rows 10-20 Calcite")), "none");
    // Part of a longer number is not read as a number of its own.
    EXPECT_EQ(readAs(QStringLiteral("doi 10.1016/0012-821X(73)90165-9")), "none");
}

TEST(CalibrationRange, PressureAndCompositionSpans)
{
    // A pressure span opening the remark is no temperature range.
    EXPECT_EQ(readAs(QStringLiteral("10-30 kbar; Tomkins et al.")), "none");
    EXPECT_EQ(readAs(QStringLiteral("1-2 GPa")), "none");
    EXPECT_EQ(readAs(QStringLiteral("700-940; 5-20 kbar")), "700-940℃");

    const struct {
        const char *remark, *xName;
        const char *pressure, *composition; // asciiText, or "" for none
    } cases[] = {
        {"700-940; 5-20 kbar; K = Ti (ppm)", "", "5-20", ""},
        {"800-1000 (experiments at 10-24 kbar); 960 P/T", "", "10-24", ""},
        {"1250-1450 (experiments at 1 atm); Cr# 0.07-0.69; T = 10000/(0.512 + 0.873 Cr# - 0.91 ln K)", "Cr#",
         "", "0.07-0.69"},
        {"0.873 Cr# − 0.91 ln K; Cr# = 0.1-0.5", "Cr#", "", "0.1-0.5"},
        {"X_Fo: 0.70-1.00", "X_Fo", "", "0.7-1"},
        {"Contrib. Mineral. Petrol. 25:703-713", "X", "", ""},
        {"experiments at 0.001, 10, 20 and 30 kbar", "", "", ""},
    };
    for (const auto &c : cases) {
        const QString remark = QString::fromUtf8(c.remark);
        const auto p = ReadPressureRange(remark);
        const auto x = ReadCompositionRange(remark, QString::fromUtf8(c.xName));
        EXPECT_EQ(p ? p->asciiText().toStdString() : "", std::string(c.pressure)) << c.remark;
        EXPECT_EQ(x ? x->asciiText().toStdString() : "", std::string(c.composition)) << c.remark;
    }
    EXPECT_EQ(PressureWarning({5, 20}), QStringLiteral("超出适用压力范围（5-20 kbar）"));
    EXPECT_EQ(CompositionWarning({0.07, 0.69}, QStringLiteral("Cr#")),
              QStringLiteral("超出适用成分范围（Cr# 0.07-0.69）"));
}

TEST(CalibrationRange, EndsCountAsInsideAndWarningsNameTheRange)
{
    const CalibrationRange both = *ReadRange(QStringLiteral("200-500"));
    EXPECT_TRUE(both.contains(200));
    EXPECT_TRUE(both.contains(500));
    EXPECT_FALSE(both.contains(199.5));
    EXPECT_FALSE(both.contains(500.5));
    EXPECT_TRUE(both.containsKelvin(473.15));
    EXPECT_EQ(both.warning(), QStringLiteral("超出适用范围（200-500℃）"));
    EXPECT_EQ(ReadRange(QStringLiteral(">=600"))->warning(), QStringLiteral("超出适用范围（≥600℃）"));
    EXPECT_EQ(ReadRange(QStringLiteral("<=300"))->warning(), QStringLiteral("超出适用范围（≤300℃）"));
    EXPECT_TRUE(ReadRange(QStringLiteral(">=600"))->contains(5000));
    EXPECT_FALSE(ReadRange(QStringLiteral(">=600"))->contains(599));
}

TEST(CalibrationRange, EveryRemarkOfTheDefaultLibrary)
{
    TempDatabase db(true);
    int ranged = 0, unranged = 0;
    for (const QString &sql :
         {QStringLiteral("select Mark_S from Isoplot"), QStringLiteral("select Mark_s from TraceElement")}) {
        Recordset rs = db.conn().Execute(sql);
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString remark = rs.Fields(0).IsNull() ? QString() : rs.Fields(0).Text();
            const std::optional<CalibrationRange> r = ReadRange(remark);
            if (!r) {
                // A remark without a range must not look like one: no leading digit or bound.
                EXPECT_FALSE(!remark.isEmpty() &&
                             (remark[0].isDigit() || QStringLiteral("<>≤≥").contains(remark[0])))
                    << remark.toStdString();
                ++unranged;
                continue;
            }
            ++ranged;
            if (r->low && r->high) {
                EXPECT_LT(*r->low, *r->high) << remark.toStdString();
            }
            if (r->low) {
                // Below freezing only for carbonates grown in cold water (the Δ47 calibrations).
                EXPECT_GE(*r->low, remark.contains(QStringLiteral("I-CDES")) ? -2 : 0)
                    << remark.toStdString();
            }
            if (r->high) {
                EXPECT_LE(*r->high, 2000) << remark.toStdString();
            }
        }
    }
    EXPECT_GT(ranged, 80);
    EXPECT_GT(unranged, 0);
}

TEST(CalibrationRange, RowsOfTheLibraryWithoutARangeAreTheListedOnes)
{
    // The source states no range for these (or it could not be read); their
    // remarks say so in words, without a number that could pass for a range.
    const QStringList expected{
        // Isotope rows: type, minerals, constants A, B, C.
        "氧同位素 石英-水 4.28,-3.5,0",
        "氧同位素 燧石-水 3.09,0,-3.29",
        "氧同位素 方解石-水 2.78,0,-2.89",
        "氧同位素 方解石-水 0,18.03,-32.42",
        "氧同位素 白云石-水 2.73,0,0.26",
        "氧同位素 文石-水 2.559,0,0.715",
        "氧同位素 高岭石-水 2.76,0,-6.75",
        "氧同位素 蒙脱石-水 2.55,0,-4.05",
        "氧同位素 伊利石-水 2.39,0,-3.76",
        "氧同位素 方解石-水 0,17.4,-28.6",
        "氧同位素 方解石-水 0,17.747,-29.777",
        "硫同位素 磁黄铁矿-硫化氢 0.1,0,0",
        "硫同位素 磁黄铁矿-硫化氢 0.25,0,0",
        "硫同位素 黄铜矿-硫化氢 0.05,0,0",
        "硫同位素 硫化氢-斑铜矿 0.07,0,0",
        "硫同位素 方黄铜矿-硫化氢 0.04,0,0",
        "硫同位素 硫化氢-紫硫镍矿 0.27,0,0",
        "硫同位素 磁黄铁矿-黄铜矿 0.2,0,0",
        "硫同位素 磁黄铁矿-斑铜矿 0.32,0,0",
        "硫同位素 黄铜矿-斑铜矿 0.12,0,0",
        "硫同位素 硫化氢-熔体硫化物 1.1,0,-0.19",
        "硫同位素 硫化氢-熔体硫化物 10.84,0,-2.5",
        "碳同位素 方解石-二氧化碳 2.988,-7.6663,2.4612",
        "碳同位素 碳酸氢根-二氧化碳 1.1,0,-4.5",
        // Sulfide pairs of Li & Liu (2006), theoretical, and Petersen et al. (2019) Δ47.
        "硫同位素 磁黄铁矿-方黄铜矿 0.21,0,0",
        "硫同位素 磁黄铁矿-紫硫镍矿 0.52,0,0",
        "硫同位素 黄铜矿-紫硫镍矿 0.32,0,0",
        "硫同位素 方黄铜矿-斑铜矿 0.11,0,0",
        "硫同位素 斑铜矿-紫硫镍矿 0.2,0,0",
        "硫同位素 方黄铜矿-紫硫镍矿 0.31,0,0",
        "团簇同位素(Δ47) 碳酸盐-单矿物 0.0383,0,0.17",
        // Trace rows: element, minerals, constants A, B.
        "Ti 锆石-单矿物 -4800,5.711",
        "Zr 金红石-单矿物 -4530,7.42",
        "Zr 金红石-单矿物 -10090.93,17.17502",
        "Zr 金红石-单矿物 -10307.42,17.4757",
        "Zr 金红石-单矿物 -10596.07,16.98258",
        "Ti 石英-单矿物 -2794.3,5.6459",
        "Ni 石榴石-单矿物 -5291.005,7.968254",
        "Al 橄榄石-尖晶石 -11148.27,0.6410257",
    };

    TempDatabase db(true);
    QStringList unranged;
    Recordset iso = db.conn().Execute(QStringLiteral("select * from Isoplot order by ID_N"));
    for (; !iso.Eof(); iso.MoveNext())
        if (!ReadRange(iso.Fields("Mark_S").Text()))
            unranged << iso.Fields("IsoType_S").Text() + ' ' + iso.Fields("MinA_S").Text() + '-' +
                            iso.Fields("MinB_S").Text() + ' ' + Num::Str(iso.Fields("ConstA_N").Single()) +
                            ',' + Num::Str(iso.Fields("ConstB_N").Single()) + ',' +
                            Num::Str(iso.Fields("ConstC_N").Single());
    Recordset trace = db.conn().Execute(QStringLiteral("select * from TraceElement order by ID_N"));
    for (; !trace.Eof(); trace.MoveNext())
        if (!ReadRange(trace.Fields("Mark_s").Text()))
            unranged << trace.Fields("Element_s").Text() + ' ' + trace.Fields("MinA_s").Text() + '-' +
                            trace.Fields("MinB_s").Text() + ' ' +
                            Num::Str(trace.Fields("ConstA_sng").Single()) + ',' +
                            Num::Str(trace.Fields("ConstB_sng").Single());
    EXPECT_EQ(unranged, expected);
}
