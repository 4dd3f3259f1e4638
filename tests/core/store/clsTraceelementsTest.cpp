// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreTestSupport.h"

#include "core/store/SchemaText.h"
#include "core/store/clsTraceelements.h"
#include "support/core/TempDatabase.h"

namespace {

void addRow(TempDatabase &db, int id, const QString &element, const QString &minA, const QString &minB)
{
    db.exec(
        QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (%1,'%2','%3','%4',-3765,5.5,'10','m')")
            .arg(id)
            .arg(EscapeSqlText(element), EscapeSqlText(minA), EscapeSqlText(minB)));
}

QStringList ids(const clsTraceelements &items)
{
    QStringList out;
    for (const auto &item : items) out << QString::number(item->id());
    return out;
}

void fillSample(TempDatabase &db)
{
    addRow(db, 1, QStringLiteral("X"), QStringLiteral("P"), QStringLiteral("Q"));
    addRow(db, 2, QStringLiteral("XY"), QStringLiteral("P"), QStringLiteral("R"));
    addRow(db, 3, QStringLiteral("Z"), QStringLiteral("S"), QStringLiteral("Q"));
    addRow(db, 12, QStringLiteral("X"), QStringLiteral("S"), QStringLiteral("T"));
    addRow(db, 0, QStringLiteral("X"), QStringLiteral("Hidden"), QStringLiteral("Q"));
    addRow(db, -4, QStringLiteral("X"), QStringLiteral("P"), QStringLiteral("Q"));
}

} // namespace

TEST(clsTraceelements, FuzzyQueryMatchesSubstringsAndOnlyPositiveIds)
{
    TempDatabase db;
    fillSample(db);
    clsTraceelements items;
    EXPECT_EQ(ids(items.FuzzyQuery(db.conn())), QString("1,2,3,12").split(','));
    EXPECT_EQ(ids(items.FuzzyQuery(db.conn(), QStringLiteral("X"))), QString("1,2,12").split(','));
    EXPECT_EQ(ids(items.FuzzyQuery(db.conn(), QStringLiteral("X"), QStringLiteral("P"), QStringLiteral("R"))),
              QStringList{"2"});

    const auto twelve = items.FuzzyQuery(db.conn(), {}, QStringLiteral("S")).Item(QStringLiteral("A12"));
    EXPECT_EQ(twelve->element(), QStringLiteral("X"));
    EXPECT_EQ(twelve->ConstA(), -3765.0f);
    EXPECT_EQ(twelve->ConstB(), 5.5f);
    EXPECT_EQ(twelve->logType(), QStringLiteral("10"));
    EXPECT_EQ(twelve->Mark(), QStringLiteral("m"));
    EXPECT_EQ(items.Item(1)->id(), 3);
}

TEST(clsTraceelements, FuzzyQueryNeverRaises)
{
    TempDatabase db;
    fillSample(db);
    addRow(db, 20, QStringLiteral("O'X"), QStringLiteral("P"), QStringLiteral("Q"));
    db.exec(QStringLiteral(
        "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
        "values (21,'N',null,'Q',null,1,'e',null)"));
    clsTraceelements items;

    EXPECT_EQ(ids(items.FuzzyQuery(db.conn(), QStringLiteral("O'"))), QStringList{"20"});
    EXPECT_EQ(items.FuzzyQuery(db.conn(), QStringLiteral("x' or '1'='1")).Count(), 0);

    // An unreadable field keeps its default; the record is still there.
    const auto partial = items.FuzzyQuery(db.conn(), QStringLiteral("N")).Item(QStringLiteral("A21"));
    EXPECT_EQ(partial->minA(), QString());
    EXPECT_EQ(partial->ConstA(), 0.0f);
    EXPECT_EQ(partial->ConstB(), 1.0f);
    EXPECT_EQ(partial->logType(), QStringLiteral("e"));

    // A rejected statement clears the catalogue without an error.
    db.exec(QStringLiteral("drop table TraceElement"));
    EXPECT_EQ(appErrorOf([&] { items.FuzzyQuery(db.conn()); }).number(), 0);
    EXPECT_EQ(items.Count(), 0);
}

TEST(clsTraceelements, FindTakesLiteralsAndRaises)
{
    TempDatabase db;
    fillSample(db);
    clsTraceelements items;
    EXPECT_EQ(ids(items.Find(db.conn(), QStringLiteral("'X'"))), QString("1,12").split(','));
    EXPECT_NE(appErrorOf([&] { items.Find(db.conn(), QStringLiteral("X")); }).number(), 0);
    EXPECT_EQ(items.Count(), 2);

    db.exec(QStringLiteral(
        "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
        "values (30,'W','P',null,1,1,'e','')"));
    EXPECT_EQ(appErrorOf([&] { items.Find(db.conn(), QStringLiteral("'W'")); }).number(), ErrNo::InvalidNull);
}

TEST(clsTraceelements, NameLists)
{
    TempDatabase db;
    clsTraceelements items;
    EXPECT_TRUE(items.FindElementType(db.conn()).isEmpty());
    fillSample(db);

    QStringList elements = items.FindElementType(db.conn());
    elements.sort();
    EXPECT_EQ(elements, QString("X,XY,Z").split(','));
    QStringList allA = items.FindMineral(db.conn(), {});
    allA.sort();
    EXPECT_EQ(allA, QString("Hidden,P,S").split(','));
    QStringList ofX = items.FindMineral(db.conn(), QStringLiteral("X"));
    ofX.sort();
    EXPECT_EQ(ofX, QString("Hidden,P,S").split(','));
    QStringList withP = items.FindMineral(db.conn(), {}, QStringLiteral("P"));
    withP.sort();
    EXPECT_EQ(withP, QString("Q,R").split(','));
    EXPECT_EQ(items.FindMineral(db.conn(), QStringLiteral("X"), QStringLiteral("S")), QStringList{"T"});
    EXPECT_TRUE(items.FindMineral(db.conn(), QStringLiteral("x' or '1'='1"), QStringLiteral("P")).isEmpty());
}
