// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreTestSupport.h"

#include "core/store/SchemaText.h"
#include "core/store/clsIsoplotItems.h"
#include "support/core/TempDatabase.h"

namespace {

void addRow(TempDatabase &db, int id, const QString &type, const QString &minA, const QString &minB)
{
    db.exec(
        QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (%1,'%2','%3','%4',3.38,0,-3.4,'range','src')")
            .arg(id)
            .arg(EscapeSqlText(type), EscapeSqlText(minA), EscapeSqlText(minB)));
}

QStringList ids(const clsIsoplotItems &items)
{
    QStringList out;
    for (const auto &item : items) out << QString::number(item->id());
    return out;
}

// Oxygen: quartz and calcite with water, magnetite with quartz; sulfur: pyrite-galena.
void fillSample(TempDatabase &db)
{
    addRow(db, 1, QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"));
    addRow(db, 2, QStringLiteral("氧同位素"), QStringLiteral("方解石"), QStringLiteral("水"));
    addRow(db, 3, QStringLiteral("氧同位素"), QStringLiteral("磁铁矿"), QStringLiteral("石英"));
    addRow(db, 4, QStringLiteral("硫同位素"), QStringLiteral("黄铁矿"), QStringLiteral("方铅矿"));
    addRow(db, 12, QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("磁铁矿"));
    addRow(db, 0, QStringLiteral("氧同位素"), QStringLiteral("隐藏矿"), QStringLiteral("水"));
    addRow(db, -1, QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"));
}

} // namespace

TEST(clsIsoplotItems, FuzzyQueryMatchesSubstringsAndOnlyPositiveIds)
{
    TempDatabase db;
    fillSample(db);
    clsIsoplotItems items;

    EXPECT_EQ(ids(items.FuzzyQuery(db.conn())), QString("1,2,3,4,12").split(','));
    // One character matches every mineral that holds it.
    EXPECT_EQ(ids(items.FuzzyQuery(db.conn(), {}, QStringLiteral("石"))), QString("1,2,12").split(','));
    // The type is an exact match, the minerals are not.
    EXPECT_EQ(items.FuzzyQuery(db.conn(), QStringLiteral("氧")).Count(), 0);
    EXPECT_EQ(ids(items.FuzzyQuery(db.conn(), QStringLiteral("氧同位素"), {}, QStringLiteral("水"))).size(),
              2);
    // "_" and "%" stay wildcards.
    EXPECT_EQ(ids(items.FuzzyQuery(db.conn(), {}, QStringLiteral("_英"))), QString("1,12").split(','));
    EXPECT_EQ(items.FuzzyQuery(db.conn(), {}, QStringLiteral("黄%矿")).Count(), 1);

    const auto twelve =
        items.FuzzyQuery(db.conn(), {}, {}, QStringLiteral("磁铁")).Item(QStringLiteral("A12"));
    EXPECT_EQ(twelve->minA(), QStringLiteral("石英"));
    EXPECT_EQ(twelve->ConstA(), 3.38f);
    EXPECT_EQ(twelve->ConstC(), -3.4f);
    EXPECT_EQ(twelve->Mark(), QStringLiteral("range"));
    EXPECT_EQ(twelve->Source(), QStringLiteral("src"));
    EXPECT_EQ(items.Count(), 1); // the earlier query's records are gone
}

TEST(clsIsoplotItems, SearchTextsCannotRewriteTheQuery)
{
    TempDatabase db;
    fillSample(db);
    addRow(db, 20, QStringLiteral("氧同位素"), QStringLiteral("O'Neil石"), QStringLiteral("水"));
    clsIsoplotItems items;

    EXPECT_EQ(items.FuzzyQuery(db.conn(), QStringLiteral("x' or '1'='1")).Count(), 0);
    EXPECT_EQ(items.FuzzyQuery(db.conn(), {}, QStringLiteral("%' or '1'='1' or '")).Count(), 0);
    EXPECT_EQ(ids(items.FuzzyQuery(db.conn(), {}, QStringLiteral("O'N"))), QStringList{"20"});
    EXPECT_TRUE(items.HasIsotopeRecord(db.conn(), QStringLiteral("氧同位素")));
    EXPECT_FALSE(items.HasIsotopeRecord(db.conn(), QStringLiteral("碳同位素")));
    EXPECT_FALSE(items.HasIsotopeRecord(db.conn(), QStringLiteral("x' or '1'='1")));
    EXPECT_EQ(items.FindMineral(db.conn(), QStringLiteral("氧同位素"), QStringLiteral("O'Neil石")),
              QStringList{QStringLiteral("水")});
    EXPECT_TRUE(items.FindMineral(db.conn(), QStringLiteral("x' or '1'='1")).isEmpty());
}

TEST(clsIsoplotItems, FuzzyQueryFailures)
{
    TempDatabase db;
    addRow(db, 1, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"));
    db.exec(QStringLiteral(
        "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) values "
        "(2,'T','C','D',1,2,3,null,'s')"));
    addRow(db, 3, QStringLiteral("T"), QStringLiteral("E"), QStringLiteral("F"));
    clsIsoplotItems items;

    // A NULL field stops the walk; the rows before it stay.
    AppError nullError = appErrorOf([&] { items.FuzzyQuery(db.conn()); });
    EXPECT_EQ(nullError.number(), ErrNo::InvalidNull);
    EXPECT_EQ(ids(items), QStringList{"1"});

    // A rejected statement passes and leaves the catalogue as it was.
    db.exec(QStringLiteral("drop table Isoplot"));
    EXPECT_NE(appErrorOf([&] { items.FuzzyQuery(db.conn()); }).number(), 0);
    EXPECT_EQ(ids(items), QStringList{"1"});
}

TEST(clsIsoplotItems, FindTakesLiteralsAndNeverRaises)
{
    TempDatabase db;
    fillSample(db);
    db.exec(QStringLiteral(
        "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) values "
        "(30,'碳同位素','方解石',null,null,2,3,'m','s')"));
    clsIsoplotItems items;

    EXPECT_EQ(ids(items.Find(db.conn(), QStringLiteral("'氧同位素'"), QStringLiteral("'石英'"))),
              QString("1,12").split(','));
    EXPECT_EQ(items.Find(db.conn(), QStringLiteral("氧同位素")).Count(), 0); // no quotes: rejected
    const auto partial = items.Find(db.conn(), QStringLiteral("'碳同位素'")).Item(1);
    EXPECT_EQ(partial->id(), 30);
    EXPECT_EQ(partial->MinB(), QString());
    EXPECT_EQ(partial->ConstA(), 0.0f);
    EXPECT_EQ(partial->ConstB(), 2.0f);
}

TEST(clsIsoplotItems, NameLists)
{
    TempDatabase db;
    clsIsoplotItems items;
    EXPECT_TRUE(items.FindIsoType(db.conn()).isEmpty());
    fillSample(db);

    QStringList types = items.FindIsoType(db.conn());
    types.sort();
    EXPECT_EQ(types, (QStringList{QStringLiteral("氧同位素"), QStringLiteral("硫同位素")}));

    // The distinct lists see rows with ID_N 0 or below as well.
    QStringList all = items.FindMineral(db.conn(), {});
    EXPECT_EQ(all.size(), 5);
    EXPECT_TRUE(all.contains(QStringLiteral("隐藏矿")));
    EXPECT_EQ(items.FindMineral(db.conn(), QStringLiteral("硫同位素")),
              QStringList{QStringLiteral("黄铁矿")});
    QStringList partners = items.FindMineral(db.conn(), {}, QStringLiteral("石英"));
    partners.sort();
    EXPECT_EQ(partners, (QStringList{QStringLiteral("水"), QStringLiteral("磁铁矿")}));
    EXPECT_EQ(items.FindMineral(db.conn(), QStringLiteral("硫同位素"), QStringLiteral("石英")),
              QStringList());
    EXPECT_EQ(items.Count(), 0); // the lists do not touch the collection
}

TEST(clsIsoplotItems, NameListsHoldAtMost32767Names)
{
    TempDatabase db;
    clsIsoplotItems items;
    db.exec(QStringLiteral("insert into Isoplot (ID_N, IsoType_S) with recursive n(x) as "
                           "(select 1 union all select x + 1 from n where x < 32767) "
                           "select x, 'T' || x from n"));
    EXPECT_EQ(items.FindIsoType(db.conn()).size(), 32767);
    db.exec(QStringLiteral("insert into Isoplot (ID_N, IsoType_S) values (40000, 'one more')"));
    const AppError overflow = appErrorOf([&] { items.FindIsoType(db.conn()); });
    EXPECT_EQ(overflow.number(), ErrNo::Overflow);
    EXPECT_EQ(overflow.description(), QStringLiteral("溢出"));
}

TEST(KeyedCollection, PositionsKeysAndRefusals)
{
    clsIsoplotItems items;
    for (int id : {12, 3, 7}) {
        auto item = std::make_shared<clsIsoItem>();
        item->setId(id);
        items.Add(item);
    }
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Item(1)->id(), 12);
    EXPECT_EQ(items.Item(QStringLiteral("A7"))->id(), 7);
    EXPECT_EQ(items.Item(QStringLiteral("a3"))->id(), 3);

    auto twin = std::make_shared<clsIsoItem>();
    twin->setId(3);
    EXPECT_EQ(appErrorOf([&] { items.Add(twin); }).number(), CollectionError::DuplicateKey);
    EXPECT_EQ(appErrorOf([&] { items.Item(0); }).number(), CollectionError::SubscriptOutOfRange);
    EXPECT_EQ(appErrorOf([&] { items.Item(4); }).number(), CollectionError::SubscriptOutOfRange);
    EXPECT_EQ(appErrorOf([&] { items.Item(QStringLiteral("A99")); }).number(), ErrNo::InvalidCall);

    // Removal keeps key look-ups right for the records behind it.
    items.Remove(1);
    EXPECT_EQ(items.Item(QStringLiteral("A7"))->id(), 7);
    items.Remove(QStringLiteral("A3"));
    EXPECT_EQ(ids(items), QStringList{"7"});
    items.Add(twin); // the key is free again
    EXPECT_EQ(items.Item(2)->id(), 3);

    // A record keeps living with whoever else holds it.
    auto held = items.Item(1);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(held->id(), 7);
}
