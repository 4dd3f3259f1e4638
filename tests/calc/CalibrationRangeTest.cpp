#include "calc/CalibrationRange.h"
#include "support/TempDatabase.h"

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
            if (r->low && r->high) EXPECT_LT(*r->low, *r->high) << remark.toStdString();
            if (r->low) EXPECT_GE(*r->low, 0) << remark.toStdString();
            if (r->high) EXPECT_LE(*r->high, 2000) << remark.toStdString();
        }
    }
    EXPECT_GT(ranged, 80);
    EXPECT_GT(unranged, 0);
}
