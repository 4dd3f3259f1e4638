// SPDX-License-Identifier: GPL-3.0-or-later
// The samples held as columns read every cell as the row reader does, keep
// their texts, and compute exactly as the rows they came from, on any number
// of threads. The draws' generator gives normal deviates and the 95 % interval
// the exact order statistics.
#include "core/thermometry/SampleColumns.h"
#include "core/thermometry/BatchRun.h"
#include "core/thermometry/Uncertainty.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace Batch;

namespace {

Row row(const QStringList &cells, int line = 0)
{
    Row r;
    r.cells = cells;
    r.line = line;
    return r;
}

// Every value of a row and its problems as one text, for comparison.
QString described(const Values &v, const QList<CellProblem> &problems)
{
    QStringList parts;
    for (const std::optional<double> *x :
         {&v.a, &v.sigmaA, &v.b, &v.sigmaB, &v.k, &v.pressure, &v.sigmaPressure, &v.aTiO2, &v.sigmaATiO2,
          &v.aSiO2, &v.sigmaASiO2, &v.x, &v.sigmaX})
        parts << (*x ? QString::number(**x, 'g', 17) : QStringLiteral("-"));
    for (const CellProblem &p : problems) parts << QString::number(p.column) + QLatin1Char('=') + p.why;
    return parts.join(QLatin1Char(' '));
}

const QList<QStringList> kTraceRows = {
    {"Z1", "Ti", "锆石", "单矿物", "12.5", "0.3", "", "", "", "10", "1", "0.7", "0.05", "1", "", "", ""},
    {"Z2", " Ti ", "锆石", "单矿物", "1x", "-1", "2", "", "", "-3", "", "0", "", "1.5", "", "0.2", "0.01"},
    {"Z3", "Ti", "石英", "金红石", "", "", "", "", "1e999", "", "", "", "", "", "", "", ""},
    {"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
    {"Z5", "Zr", "金红石", "单矿物", " 3,5 ", "0.1", "", "", "", "", "", "", "", "", "", "", ""},
};

Library isoLibrary()
{
    Library lib;
    Calibration a;
    a.type = QStringLiteral("氧同位素");
    a.mineralA = QStringLiteral("石英");
    a.mineralB = QStringLiteral("水");
    a.a = 3.38f;
    a.c = -3.4f;
    a.range = ReadRange(QStringLiteral("200-500"));
    lib.add(a);
    Calibration b = a;
    b.a = 4.1f;
    b.c = -3.7f;
    b.range = ReadRange(QStringLiteral("500-800"));
    lib.add(b);
    return lib;
}

QList<Row> isoRows(int n)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> d(4, 16);
    QList<Row> rows;
    for (int i = 0; i < n; ++i) {
        const bool other = i % 7 == 3, bad = i % 11 == 5;
        rows << row({QStringLiteral("S%1").arg(i), QStringLiteral("氧同位素"),
                     other ? QStringLiteral("方解石") : QStringLiteral("石英"), QStringLiteral("水"),
                     bad ? QStringLiteral("x") : QString::number(d(rng), 'f', 3), QStringLiteral("0.2"),
                     QStringLiteral("-1"), QStringLiteral("0.1")},
                    i + 2);
    }
    return rows;
}

QString resultText(const Result &r)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
        .arg(r.sample)
        .arg(int(r.status))
        .arg(r.celsius, 0, 'g', 17)
        .arg(r.sigma.value_or(-1), 0, 'g', 17)
        .arg(r.lo95.value_or(-1), 0, 'g', 17)
        .arg(r.hi95.value_or(-1), 0, 'g', 17)
        .arg(r.failedDraws)
        .arg(r.problem);
}

QStringList texts(const Results &results)
{
    QStringList out;
    for (const Result &r : results) out << resultText(r);
    return out;
}

} // namespace

TEST(SampleColumns, ReadEveryCellAsTheRowReaderAndKeepTheTexts)
{
    SampleColumns table(Kind::Trace);
    for (const QStringList &cells : kTraceRows) table.append(row(cells));
    for (int i = 0; i < kTraceRows.size(); ++i) {
        QList<CellProblem> fromRow, fromTable;
        const Values v = ReadValues(Kind::Trace, row(kTraceRows[i]), i, &fromRow);
        const Values w = table.values(i, &fromTable);
        EXPECT_EQ(described(w, fromTable), described(v, fromRow)) << i;
        for (int c = 0; c < kTraceRows[i].size(); ++c)
            EXPECT_EQ(table.text(i, c), kTraceRows[i][c]) << i << c;
        EXPECT_EQ(table.rowHasText(i), i != 3) << i;
    }
    EXPECT_EQ(table.cellProblem(1, ValueA), QStringLiteral("不是数字：1x"));
    EXPECT_EQ(table.cellProblem(1, Pressure), QStringLiteral("压力不能为负：-3"));
    EXPECT_EQ(table.cellProblem(2, K), QStringLiteral("数值超出范围：1e999"));
    // A pair's names come trimmed.
    EXPECT_EQ(table.pairNames(table.pairOf(1)).type, QStringLiteral("Ti"));

    // An edit reads the cell again and moves the row to its new pair.
    table.setText(1, ValueA, QStringLiteral("7.25"));
    table.setText(1, MineralB, QStringLiteral("金红石"));
    EXPECT_EQ(*table.values(1).a, 7.25);
    EXPECT_TRUE(table.cellProblem(1, ValueA).isEmpty());
    EXPECT_EQ(table.pairNames(table.pairOf(1)).mineralB, QStringLiteral("金红石"));
    EXPECT_NE(table.pairOf(1), table.pairOf(0));
}

TEST(SampleColumns, ATableAppendedWholeIsTheSameAsItsRowsAndBlankRowsGoBeforeARun)
{
    SampleColumns first(Kind::Trace), second(Kind::Trace), rowByRow(Kind::Trace);
    for (int i = 0; i < 3; ++i) first.append(row(kTraceRows[i], i + 1));
    for (int i = 3; i < kTraceRows.size(); ++i) second.append(row(kTraceRows[i], i + 1));
    for (int i = 0; i < kTraceRows.size(); ++i) rowByRow.append(row(kTraceRows[i], i + 1));
    first.append(second);
    ASSERT_EQ(first.rowCount(), rowByRow.rowCount());
    for (int i = 0; i < kTraceRows.size(); ++i) {
        EXPECT_EQ(first.row(i).cells, rowByRow.row(i).cells) << i;
        EXPECT_EQ(first.line(i), i + 1);
        EXPECT_EQ(described(first.values(i), {}), described(rowByRow.values(i), {})) << i;
        const auto a = first.pairNames(first.pairOf(i)), b = rowByRow.pairNames(rowByRow.pairOf(i));
        EXPECT_EQ(a.type + a.mineralA + a.mineralB, b.type + b.mineralA + b.mineralB) << i;
    }
    const SampleColumns run = first.rowsWithText();
    ASSERT_EQ(run.rowCount(), 4);
    EXPECT_EQ(run.text(3, Sample), QStringLiteral("Z5"));
    EXPECT_EQ(run.line(3), 5) << "numbered by its place in the table";
}

TEST(SampleColumns, ComputeOverColumnsIsComputeOverRowsOnAnyNumberOfThreadsAndInPieces)
{
    const Library lib = isoLibrary();
    const QList<Row> rows = isoRows(700);
    SampleColumns table(Kind::Isotope);
    table.append(rows);
    for (const int draws : {0, 500}) {
        Options options;
        options.draws = draws;
        options.seed = 11;
        const QStringList byRows = texts(Compute(Kind::Isotope, rows, lib, options, nullptr, 1));
        EXPECT_EQ(texts(Compute(table, lib, options, nullptr, 1)), byRows) << draws;
        EXPECT_EQ(texts(Compute(table, lib, options, nullptr, 2)), byRows) << draws;
        EXPECT_EQ(texts(Compute(table, lib, options, nullptr, 7)), byRows) << draws;
        // The second half alone, told where it starts, draws as it did in the whole.
        SampleColumns half(Kind::Isotope);
        half.append(rows.mid(350));
        options.firstRow = 350;
        QStringList tail;
        for (Result r : Compute(half, lib, options)) {
            r.sample += 350;
            tail << resultText(r);
        }
        const qsizetype start = byRows.indexOf(QRegularExpression(QStringLiteral("^350 .*")));
        ASSERT_GE(start, 0);
        EXPECT_EQ(tail, byRows.mid(start)) << draws;
    }
}

TEST(Interval95, IsTheExactOrderStatisticsWhateverTheOrderOfTheDraws)
{
    std::mt19937 rng(5);
    std::normal_distribution<float> n01;
    for (const int n : {2, 11, 1023, 1024, 5000, 10001}) {
        for (int shape = 0; shape < 4; ++shape) {
            std::vector<float> draws(static_cast<size_t>(n));
            for (float &x : draws) x = shape == 3 ? std::round(n01(rng) * 3) : n01(rng); // 3: many ties
            if (shape == 1) std::sort(draws.begin(), draws.end()); // the first few are the lowest
            if (shape == 2) std::sort(draws.rbegin(), draws.rend());
            std::vector<float> sorted = draws;
            std::sort(sorted.begin(), sorted.end());
            auto exact = [&](double p) {
                const double h = p * double(n - 1);
                const size_t k = size_t(std::floor(h));
                return k + 1 < sorted.size()
                           ? sorted[k] + (h - double(k)) * (double(sorted[k + 1]) - sorted[k])
                           : double(sorted[k]);
            };
            Maybe lo, hi;
            Interval95(draws, &lo, &hi);
            ASSERT_TRUE(lo && hi);
            EXPECT_EQ(*lo, exact(0.025)) << n << ' ' << shape;
            EXPECT_EQ(*hi, exact(0.975)) << n << ' ' << shape;
        }
    }
}

TEST(Normal, TheZigguratClosesAndItsDeviatesAreStandardNormal)
{
    // Each layer holds the same area V: the tail's, R·f(R) plus the tail beyond R,
    // and the top layer's, x·(1 - f(x)) at its edge.
    const double *x = Normal::LayerEdges();
    const double v = Normal::LayerArea(), r = x[1];
    const double tail = r * std::exp(-r * r / 2) + std::sqrt(M_PI / 2) * std::erfc(r / std::sqrt(2.0));
    EXPECT_NEAR(tail / v, 1, 1e-6);
    EXPECT_NEAR(x[255] * (1 - std::exp(-x[255] * x[255] / 2)) / v, 1, 1e-6);

    // A million deviates: moments, the two-sided 5 % and the tail beyond R, and
    // the largest distance of their distribution from Φ (Kolmogorov–Smirnov).
    constexpr int kN = 1000000;
    Normal normal(StreamSeed(3, 17, 2));
    std::vector<double> z(kN);
    normal.fill(z.data(), kN);
    double sum = 0, squares = 0;
    int beyond196 = 0, beyondTail = 0;
    for (double d : z) {
        sum += d;
        squares += d * d;
        beyond196 += std::fabs(d) > 1.959964;
        beyondTail += std::fabs(d) > r;
    }
    EXPECT_NEAR(sum / kN, 0, 0.005);
    EXPECT_NEAR(squares / kN, 1, 0.005);
    EXPECT_NEAR(beyond196 / double(kN), 0.05, 0.001);
    const double pTail = std::erfc(r / std::sqrt(2.0));
    EXPECT_NEAR(beyondTail / double(kN), pTail, 5 * std::sqrt(pTail / kN));
    std::sort(z.begin(), z.end());
    double ks = 0;
    for (int i = 0; i < kN; i += 97) {
        const double phi = 0.5 * std::erfc(-z[size_t(i)] / std::sqrt(2.0));
        ks = std::max({ks, std::fabs(phi - double(i) / kN), std::fabs(phi - double(i + 1) / kN)});
    }
    EXPECT_LT(ks, 1.63 / std::sqrt(double(kN)));

    // fill is next, n times over.
    Normal a(99), b(99);
    double block[300];
    a.fill(block, 300);
    for (double d : block) EXPECT_EQ(d, b.next());
}
