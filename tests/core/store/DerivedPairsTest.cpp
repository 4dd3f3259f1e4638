// SPDX-License-Identifier: GPL-3.0-or-later
// Pairs an internally consistent dataset determines without storing them:
// against the forward equations of their two parent rows, never across
// datasets, and as many as the shipped DBOXYGEN rows allow.
#include "core/store/CalibrationLibrary.h"
#include "core/thermometry/BatchRun.h"
#include "support/core/TempDatabase.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

Batch::Calibration row(const char *a, const char *b, double ca, double cb, double cc, const char *range,
                       const char *dataset)
{
    Batch::Calibration c;
    c.type = QStringLiteral("氧同位素");
    c.mineralA = QString::fromUtf8(a);
    c.mineralB = QString::fromUtf8(b);
    c.a = ca;
    c.b = cb;
    c.c = cc;
    c.remark = QString::fromUtf8(range);
    c.source = QStringLiteral("test");
    c.dataset = QString::fromUtf8(dataset);
    return c;
}

double delta(double a, double b, double c, double celsius)
{
    const double t = celsius + 273.15;
    return a * 1e6 / (t * t) + b * 1e3 / t + c;
}

} // namespace

TEST(DerivedPairs, AgainstTheirParentsAndNeverAcrossDatasets)
{
    Batch::Library lib;
    lib.add(row("方解石", "水", 3.719, -3.5391, 0, "200-900", "D"));
    lib.add(row("水", "磁铁矿", -1.7764, 7.3851, 0, "400-1000", "D")); // stored the other way round
    lib.add(row("石英", "水", 4.1134, -3.3866, 0, "200-900", "D"));
    lib.add(row("石英", "方解石", 0.3944, 0.1525, 0, "200-900", "D")); // stored: not derived again
    lib.add(row("钠长石", "水", 3.0, -3.0, 0, "", "E"));               // another dataset
    lib.add(row("锆石", "水", 2.0, -2.0, 0, "1000-1200", "D"));        // no overlap with 200-900
    lib.deriveWithinDatasets();

    const std::vector<const Batch::Calibration *> found =
        lib.forPair(QStringLiteral("氧同位素"), QStringLiteral("方解石"), QStringLiteral("磁铁矿"));
    ASSERT_EQ(found.size(), 1u);
    const Batch::Calibration &d = *found[0];
    EXPECT_TRUE(d.derived);
    EXPECT_EQ(d.source, QStringLiteral("由D导出：方解石–水 − 磁铁矿–水"));
    EXPECT_EQ(d.range->asciiText(), QStringLiteral("400-900"));
    for (double celsius : {400.0, 600.0, 900.0}) {
        // Δ(calcite-magnetite) = Δ(calcite-water) - Δ(magnetite-water), magnetite-water being
        // -(water-magnetite).
        const double value = delta(3.719, -3.5391, 0, celsius) + delta(-1.7764, 7.3851, 0, celsius);
        EXPECT_NEAR(*Batch::SolveCelsius(Batch::Kind::Isotope, d, value), celsius, 1e-6) << celsius;
    }
    // The reversed order is derived too; stored pairs, other datasets and disjoint ranges are not.
    EXPECT_EQ(
        lib.forPair(QStringLiteral("氧同位素"), QStringLiteral("磁铁矿"), QStringLiteral("方解石")).size(),
        1u);
    const auto stored =
        lib.forPair(QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("方解石"));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_FALSE(stored[0]->derived);
    EXPECT_TRUE(
        lib.forPair(QStringLiteral("氧同位素"), QStringLiteral("钠长石"), QStringLiteral("方解石")).empty());
    EXPECT_TRUE(
        lib.forPair(QStringLiteral("氧同位素"), QStringLiteral("锆石"), QStringLiteral("方解石")).empty());
    EXPECT_EQ(lib.size(), 6) << "derived pairs are never stored rows";
}

TEST(DerivedPairs, EveryPairTheShippedDatasetDetermines)
{
    TempDatabase db(true);
    const Batch::Library lib = Batch::Library::Load(db.conn(), Batch::Kind::Isotope);
    // Worked from the table here: the minerals against each reference, their pairs,
    // less the pairs the dataset stores.
    QHash<QString, QSet<QString>> against;
    QSet<QString> storedPairs, derivable;
    auto pair = [](const QString &x, const QString &y) { return x < y ? x + '|' + y : y + '|' + x; };
    Recordset rs = db.conn().Execute(
        QStringLiteral("select MinA_S, MinB_S from Isoplot where Dataset_S='DBOXYGEN 2.0.3'"));
    ASSERT_EQ(rs.RecordCount(), 127);
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString a = rs.Fields(0).Text(), b = rs.Fields(1).Text();
        storedPairs << pair(a, b);
        for (const QString &reference : {QStringLiteral("水"), QStringLiteral("石英")}) {
            if (b == reference) against[reference] << a;
            if (a == reference) against[reference] << b;
        }
    }
    for (const QSet<QString> &minerals : against)
        for (const QString &x : minerals)
            for (const QString &y : minerals)
                if (x != y && !storedPairs.contains(pair(x, y))) derivable << pair(x, y);
    EXPECT_EQ(lib.derivedCount(), 2 * int(derivable.size()));
    EXPECT_GT(derivable.size(), 1500);
}
