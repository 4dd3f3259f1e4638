// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreTestSupport.h"

#include "core/store/clsIsoItem.h"
#include "support/core/TempDatabase.h"

namespace {

const QString kInsertHead =
    QStringLiteral("insert into Isoplot "
                   "(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) ");

void addRow(TempDatabase &db, int id, const QString &type, const QString &minA, const QString &minB,
            const QString &constants = QStringLiteral("1,2,3"), const QString &mark = QString(),
            const QString &source = QString())
{
    db.exec(kInsertHead + QStringLiteral("values(%1,'%2','%3','%4',%5,'%6','%7')")
                              .arg(id)
                              .arg(type, minA, minB, constants, mark, source));
}

clsIsoItem quartzWater()
{
    clsIsoItem item;
    item.setIsotype(QStringLiteral("氧同位素"));
    item.setMinA(QStringLiteral("石英"));
    item.setMinB(QStringLiteral("水"));
    item.setConstA(3.38f);
    item.setConstB(0);
    item.setConstC(-3.4f);
    item.setMark(QStringLiteral("200-500"));
    item.setSource(QStringLiteral("reference text"));
    return item;
}

} // namespace

TEST(clsIsoItem, InsertStatementIsTheDocumentedTextAndStoresTheRow)
{
    TempDatabase db;
    addRow(db, 6, QStringLiteral("硫同位素"), QStringLiteral("黄铁矿"), QStringLiteral("方铅矿"));
    EventLog log;
    clsIsoItem item;
    item.setEvents(log.events());

    ASSERT_EQ(item.AddNew(db.conn(), QStringLiteral("氧同位素"), QStringLiteral("石英"), QStringLiteral("水"),
                          3.38f, 0, -3.4f, QStringLiteral("200-500"), QStringLiteral("reference text")),
              0);
    EXPECT_EQ(log.kinds, QStringList{QStringLiteral("add")});
    EXPECT_EQ(log.lastMessage(), QStringLiteral("添加记录成功!"));
    EXPECT_EQ(log.lastStatement(),
              QStringLiteral("insert into Isoplot (ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,"
                             "ConstC_N,Mark_S,Source_S) values(7,'氧同位素','石英','水',3.38,0,-3.4,"
                             "'200-500','reference text')"));
    EXPECT_EQ(item.id(), 7);
    EXPECT_EQ(db.scalar(QStringLiteral("select MinB_S || '|' || ConstC_N from Isoplot where ID_N=7")),
              QStringLiteral("水|-3.4"));
    EXPECT_EQ(item.ToString(), QStringLiteral("clsIsoItem"));
}

TEST(clsIsoItem, IdentifiersAreMaximumPlusOne)
{
    TempDatabase db;
    clsIsoItem probe;
    EXPECT_EQ(probe.GetNextID(db.conn()), 1);

    clsIsoItem first = quartzWater();
    ASSERT_EQ(first.AddNew(db.conn()), 0);
    EXPECT_EQ(first.id(), 1);

    for (int id = 2; id <= 41; ++id)
        addRow(db, id, QStringLiteral("T"), QStringLiteral("A%1").arg(id), QStringLiteral("B"));
    clsIsoItem next = quartzWater();
    ASSERT_EQ(next.AddNew(db.conn(), {}, QStringLiteral("长石")), 0);
    EXPECT_EQ(next.id(), 42);

    ASSERT_EQ(clsIsoItem().Delete(db.conn(), 42), 0);
    EXPECT_EQ(probe.GetNextID(db.conn()), 42);
    ASSERT_EQ(clsIsoItem().Delete(db.conn(), 5), 0);
    EXPECT_EQ(probe.GetNextID(db.conn()), 42);
    addRow(db, 42, QStringLiteral("T"), QStringLiteral("again"), QStringLiteral("B"));
    EXPECT_EQ(probe.GetNextID(db.conn()), 43);
}

TEST(clsIsoItem, AddNewArgumentsTrimmedZeroAndEmptyMeanNotGiven)
{
    TempDatabase db;
    clsIsoItem item;
    item.setConstA(2.5f);
    item.setSource(QStringLiteral("preset"));
    ASSERT_EQ(item.AddNew(db.conn(), QStringLiteral("氧同位素 "), QStringLiteral(" 石英"),
                          QStringLiteral("\t水"), 0, 0.5f, 0, QString(), QString()),
              0);
    EXPECT_EQ(item.isotype(), QStringLiteral("氧同位素"));
    EXPECT_EQ(item.minA(), QStringLiteral("石英"));
    EXPECT_EQ(item.MinB(), QStringLiteral("\t水")); // only blanks are trimmed
    EXPECT_EQ(item.ConstA(), 2.5f);
    EXPECT_EQ(item.Source(), QStringLiteral("preset"));
    EXPECT_EQ(db.scalar(QStringLiteral("select IsoType_S || '|' || MinA_S || '|' || ConstA_N || '|' || "
                                       "ConstB_N || '|' || Source_S from Isoplot")),
              QStringLiteral("氧同位素|石英|2.5|0.5|preset"));
}

TEST(clsIsoItem, DuplicatesAreRefusedOnAddAndUpdate)
{
    TempDatabase db;
    EventLog log;
    clsIsoItem first = quartzWater();
    ASSERT_EQ(first.AddNew(db.conn()), 0);

    clsIsoItem second = quartzWater();
    second.setEvents(log.events());
    EXPECT_EQ(second.AddNew(db.conn()), 1);
    EXPECT_EQ(second.id(), 2); // taken before the check, kept after the refusal
    EXPECT_EQ(db.count(QStringLiteral("Isoplot")), 1);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("存在相同记录,添加记录失败!"));
    EXPECT_EQ(log.lastStatement(),
              QStringLiteral("select * from Isoplot where IsoType_S='氧同位素' and MinA_S='石英' and "
                             "MinB_S='水' and ConstA_N=3.38 and ConstB_N=0 and ConstC_N=-3.4 and "
                             "Mark_S='200-500' and Source_S='reference text'"));

    // Storing what is already stored finds its own row.
    first.setEvents(log.events());
    EXPECT_EQ(first.Update(db.conn()), 1);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("存在相同记录,更新失败!"));

    // Changing one value into another row's values is refused too.
    clsIsoItem other = quartzWater();
    ASSERT_EQ(other.AddNew(db.conn(), {}, {}, {}, 0, 0, 0, QStringLiteral("100-200")), 0);
    other.setMark(QStringLiteral("200-500"));
    EXPECT_EQ(other.Update(db.conn()), 1);
    EXPECT_EQ(
        db.scalar(QStringLiteral("select Mark_S from Isoplot where ID_N=") + QString::number(other.id())),
        QStringLiteral("100-200"));
}

TEST(clsIsoItem, UpdateWritesEveryValueOfItsOwnRowOnly)
{
    TempDatabase db;
    addRow(db, 1, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"));
    addRow(db, 2, QStringLiteral("T"), QStringLiteral("C"), QStringLiteral("D"));
    EventLog log;
    clsIsoItem item = quartzWater();
    item.setId(2);
    item.setConstB(0.5f);
    item.setEvents(log.events());
    ASSERT_EQ(item.Update(db.conn()), 0);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("更新记录成功!"));
    EXPECT_EQ(log.lastStatement(),
              QStringLiteral("update Isoplot set IsoType_S='氧同位素',MinA_S='石英',MinB_S='水',"
                             "ConstA_N=3.38,ConstB_N=0.5,ConstC_N=-3.4,Mark_S='200-500',"
                             "Source_S='reference text' where ID_N=2"));
    EXPECT_EQ(db.scalar(QStringLiteral("select MinA_S || ConstB_N from Isoplot where ID_N=2")),
              QStringLiteral("石英0.5"));
    EXPECT_EQ(db.scalar(QStringLiteral("select MinA_S from Isoplot where ID_N=1")), QStringLiteral("A"));
}

TEST(clsIsoItem, UpdateOfAMissingRowIsAFailureAndWritesNothing)
{
    TempDatabase db;
    addRow(db, 1, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"));
    EventLog log;
    clsIsoItem item = quartzWater();
    item.setId(99);
    item.setEvents(log.events());
    EXPECT_EQ(item.Update(db.conn()), 2);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("未知错误,更新记录失败!\r\n记录不存在"));
    EXPECT_EQ(db.count(QStringLiteral("Isoplot")), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("select MinA_S from Isoplot")), QStringLiteral("A"));

    // The same holds when its values are those of another row.
    clsIsoItem twin;
    twin.setId(99);
    twin.setIsotype(QStringLiteral("T"));
    twin.setMinA(QStringLiteral("A"));
    twin.setMinB(QStringLiteral("B"));
    twin.setConstA(1);
    twin.setConstB(2);
    twin.setConstC(3);
    EXPECT_EQ(twin.Update(db.conn()), 2);
}

TEST(clsIsoItem, DeleteOutcomes)
{
    TempDatabase db;
    addRow(db, 3, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"));
    addRow(db, 4, QStringLiteral("T"), QStringLiteral("C"), QStringLiteral("D"));
    EventLog log;
    clsIsoItem item;
    item.setEvents(log.events());

    EXPECT_EQ(item.Delete(db.conn()), 1); // id 0, no argument
    EXPECT_EQ(item.Delete(db.conn(), 99), 1);
    EXPECT_EQ(item.id(), 99);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("记录不存在,删除失败!"));
    EXPECT_EQ(log.lastStatement(), QStringLiteral("select ID_N from Isoplot where ID_N=99"));

    item.setId(3);
    EXPECT_EQ(item.Delete(db.conn()), 0);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("删除记录成功!"));
    EXPECT_EQ(log.lastStatement(), QStringLiteral("delete from Isoplot where ID_N=3"));
    EXPECT_EQ(db.scalar(QStringLiteral("select group_concat(ID_N) from Isoplot")), QStringLiteral("4"));
    EXPECT_EQ(log.kinds.count(QStringLiteral("delete")), 3);
}

TEST(clsIsoItem, DeleteReopensAClosedConnection)
{
    TempDatabase db;
    addRow(db, 1, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"));
    db.conn().Close();
    EXPECT_EQ(clsIsoItem().Delete(db.conn(), 1), 0);
    EXPECT_EQ(db.conn().State(), 1);
    EXPECT_EQ(db.count(QStringLiteral("Isoplot")), 0);
}

TEST(clsIsoItem, ApostrophesAreOrdinaryAndCannotRewriteStatements)
{
    TempDatabase db;
    addRow(db, 1, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"));
    const QString injected = QStringLiteral("x' or '1'='1");

    clsIsoItem item;
    ASSERT_EQ(item.AddNew(db.conn(), QStringLiteral("T"), QStringLiteral("O'Neil's"), injected, 1, 2, 3,
                          QStringLiteral("it's"), injected),
              0);
    EXPECT_EQ(db.scalar(QStringLiteral("select MinA_S || '|' || MinB_S from Isoplot where ID_N=2")),
              QStringLiteral("O'Neil's|") + injected);

    clsIsoItem again = item;
    EXPECT_EQ(again.AddNew(db.conn()), 1); // the check finds the quoted values
    EXPECT_EQ(item.Update(db.conn()), 1);

    item.setMark(QStringLiteral("don't"));
    EXPECT_EQ(item.Update(db.conn()), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("select Mark_S from Isoplot where ID_N=2")), QStringLiteral("don't"));
    EXPECT_EQ(db.scalar(QStringLiteral("select MinA_S || Mark_S from Isoplot where ID_N=1")),
              QStringLiteral("A"));

    // An injected condition in the duplicate check would match row 1 and refuse the add.
    clsIsoItem probe;
    EXPECT_EQ(probe.AddNew(db.conn(), QStringLiteral("T"), injected, QStringLiteral("B"), 1, 2, 3), 0);
    EXPECT_EQ(db.count(QStringLiteral("Isoplot")), 3);
}

TEST(clsIsoItem, DatabaseFailuresBecomeCodeTwo)
{
    TempDatabase db;
    EventLog log;
    db.exec(QStringLiteral("create trigger refuse before insert on Isoplot begin "
                           "select raise(abort, 'refused by trigger'); end"));
    clsIsoItem item = quartzWater();
    item.setEvents(log.events());
    EXPECT_EQ(item.AddNew(db.conn()), 2);
    const QStringList lines = log.lastMessage().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("未知错误,添加记录失败!"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("错误号："))) << lines[1];
    EXPECT_NE(lines[1], QStringLiteral("错误号：0"));
    EXPECT_EQ(lines[2], QStringLiteral("refused by trigger"));
    EXPECT_TRUE(log.lastStatement().startsWith(kInsertHead + QStringLiteral("values(1,")));

    db.exec(QStringLiteral("drop table Isoplot"));
    EXPECT_EQ(item.AddNew(db.conn()), 2);
    EXPECT_EQ(log.lastStatement(), QString()); // failed before the insert was built
    EXPECT_TRUE(log.lastMessage().endsWith(QStringLiteral("no such table: Isoplot")));
    EXPECT_EQ(item.Update(db.conn()), 2);
    EXPECT_TRUE(log.lastMessage().startsWith(QStringLiteral("未知错误,更新记录失败!\r\n")));
    EXPECT_EQ(item.Delete(db.conn(), 1), 2);
    EXPECT_TRUE(log.lastMessage().startsWith(QStringLiteral("未知错误,删除失败!\r\n")));
    EXPECT_EQ(log.lastStatement(), QStringLiteral("select ID_N from Isoplot where ID_N=1"));
    EXPECT_EQ(log.kinds, (QStringList{QStringLiteral("add"), QStringLiteral("add"), QStringLiteral("update"),
                                      QStringLiteral("delete")}));
}
