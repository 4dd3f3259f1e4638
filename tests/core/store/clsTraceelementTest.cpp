// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreTestSupport.h"

#include "core/store/clsTraceelement.h"
#include "support/core/TempDatabase.h"

namespace {

void addRow(TempDatabase &db, int id, const QString &element, const QString &minA, const QString &minB,
            const QString &mark = QString())
{
    db.exec(
        QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (%1,'%2','%3','%4',-3765,5.5,'10','%5')")
            .arg(id)
            .arg(element, minA, minB, mark));
}

} // namespace

TEST(clsTraceelement, InsertStatementAndArgumentRules)
{
    TempDatabase db;
    addRow(db, 6, QStringLiteral("Y"), QStringLiteral("P"), QStringLiteral("Q"));
    EventLog log;
    clsTraceelement item;
    item.setEvents(log.events());
    ASSERT_EQ(item.AddNew(db.conn(), QStringLiteral(" X "), QStringLiteral("P"), QStringLiteral("Q "), -3765,
                          5.5f, QStringLiteral("10")),
              0);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("添加记录成功!"));
    EXPECT_EQ(log.lastStatement(),
              QStringLiteral("insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,"
                             "ConstB_sng,logType_s,Mark_s,ConstC_sng,PowerN_sng,ConstE_sng,ConstF_sng,"
                             "XName_s,NuSiO2_sng,NuTiO2_sng,KUnit_s) "
                             "values(7,'X','P','Q',-3765,5.5,'10','',0,1,0,0,'',0,0,'')"));
    EXPECT_EQ(item.ToString(), QStringLiteral("clsTraceElement"));

    // The log type is stored as given, blank included; zero constants are "not given".
    clsTraceelement other;
    other.setConstA(2.5f);
    ASSERT_EQ(other.AddNew(db.conn(), QStringLiteral("Z"), QStringLiteral("P"), QStringLiteral("Q"), 0, 1,
                           QStringLiteral(" e"), QStringLiteral(" note ")),
              0);
    EXPECT_EQ(db.scalar(QStringLiteral("select ConstA_sng || '|' || logType_s || '|' || Mark_s "
                                       "from TraceElement where ID_N=8")),
              QStringLiteral("2.5| e|note"));
}

TEST(clsTraceelement, DuplicatesAndUpdate)
{
    TempDatabase db;
    EventLog log;
    clsTraceelement first;
    ASSERT_EQ(first.AddNew(db.conn(), QStringLiteral("Zr"), QStringLiteral("锆石"), QStringLiteral("金红石"),
                           -3765, 5.5f, QStringLiteral("10")),
              0);
    EXPECT_EQ(first.id(), 1);

    clsTraceelement second = first;
    second.setEvents(log.events());
    EXPECT_EQ(second.AddNew(db.conn()), 1);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("存在相同记录,添加记录失败!"));
    EXPECT_EQ(log.lastStatement(),
              QStringLiteral("select * from TraceElement where Element_s='Zr' and MinA_s='锆石' and "
                             "MinB_s='金红石' and ConstA_sng=-3765 and ConstB_sng=5.5 and "
                             "logType_s='10' and Mark_s='' and ConstC_sng=0 and PowerN_sng=1 and "
                             "ConstE_sng=0 and ConstF_sng=0 and XName_s='' and NuSiO2_sng=0 and "
                             "NuTiO2_sng=0"));
    EXPECT_EQ(db.count(QStringLiteral("TraceElement")), 1);

    first.setEvents(log.events());
    EXPECT_EQ(first.Update(db.conn()), 1);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("存在相同记录,更新失败!"));
    EXPECT_EQ(log.lastStatement(),
              QStringLiteral("select * from TraceElement where Element_s='Zr' and MinA_S='锆石' and "
                             "MinB_S='金红石' and ConstA_sng=-3765 and ConstB_sng=5.5 and "
                             "logType_s='10' and Mark_s='' and ConstC_sng=0 and PowerN_sng=1 and "
                             "ConstE_sng=0 and ConstF_sng=0 and XName_s='' and NuSiO2_sng=0 and "
                             "NuTiO2_sng=0"));

    first.setLogType(QStringLiteral("e"));
    first.setMark(QStringLiteral("Ti-in-zircon's"));
    EXPECT_EQ(first.Update(db.conn()), 0);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("更新记录成功!"));
    EXPECT_EQ(log.lastStatement(),
              QStringLiteral("update TraceElement set Element_s='Zr',MinA_s='锆石',MinB_s='金红石',"
                             "ConstA_sng=-3765,ConstB_sng=5.5,logType_s='e',"
                             "Mark_s='Ti-in-zircon''s',ConstC_sng=0,PowerN_sng=1,ConstE_sng=0,"
                             "ConstF_sng=0,XName_s='',NuSiO2_sng=0,NuTiO2_sng=0,KUnit_s='' where ID_N=1"));
    EXPECT_EQ(db.scalar(QStringLiteral("select Mark_s from TraceElement")), QStringLiteral("Ti-in-zircon's"));
}

TEST(clsTraceelement, UpdateOfAMissingRowIsAFailureAndWritesNothing)
{
    TempDatabase db;
    addRow(db, 1, QStringLiteral("X"), QStringLiteral("P"), QStringLiteral("Q"));
    EventLog log;
    clsTraceelement item;
    item.setId(5);
    item.setElement(QStringLiteral("New"));
    item.setEvents(log.events());
    EXPECT_EQ(item.Update(db.conn()), 2);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("未知错误,更新记录失败!\r\n记录不存在"));
    EXPECT_EQ(db.scalar(QStringLiteral("select group_concat(Element_s) from TraceElement")),
              QStringLiteral("X"));

    // The same holds when its values are those of another row.
    clsTraceelement twin;
    twin.setId(5);
    twin.setElement(QStringLiteral("X"));
    twin.setMinA(QStringLiteral("P"));
    twin.setMinB(QStringLiteral("Q"));
    twin.setConstA(-3765);
    twin.setConstB(5.5f);
    twin.setLogType(QStringLiteral("10"));
    EXPECT_EQ(twin.Update(db.conn()), 2);
}

TEST(clsTraceelement, DeleteOutcomes)
{
    TempDatabase db;
    addRow(db, 12, QStringLiteral("X"), QStringLiteral("P"), QStringLiteral("Q"));
    EventLog log;
    clsTraceelement item;
    item.setEvents(log.events());
    EXPECT_EQ(item.Delete(db.conn()), 1);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("记录不存在,删除记录失败!"));
    EXPECT_EQ(log.lastStatement(), QStringLiteral("select ID_N from TraceElement where ID_N=0"));

    EXPECT_EQ(item.Delete(db.conn(), 12), 0);
    EXPECT_EQ(item.id(), 12);
    EXPECT_EQ(log.lastMessage(), QStringLiteral("删除记录成功!"));
    EXPECT_EQ(log.lastStatement(), QString());
    EXPECT_EQ(db.count(QStringLiteral("TraceElement")), 0);

    db.exec(QStringLiteral("drop table TraceElement"));
    EXPECT_EQ(item.Delete(db.conn()), 2);
    EXPECT_TRUE(log.lastMessage().startsWith(QStringLiteral("未知原因,删除记录失败!\r\n")));
}

TEST(clsTraceelement, ApostrophesAndInjectionInNames)
{
    TempDatabase db;
    addRow(db, 1, QStringLiteral("X"), QStringLiteral("P"), QStringLiteral("Q"));
    const QString injected = QStringLiteral("a' or '1'='1");

    clsTraceelement item;
    ASSERT_EQ(item.AddNew(db.conn(), QStringLiteral("X"), injected, QStringLiteral("Q"), -3765, 5.5f,
                          QStringLiteral("10")),
              0);
    EXPECT_EQ(db.scalar(QStringLiteral("select MinA_s from TraceElement where ID_N=2")), injected);

    item.setMinB(QStringLiteral("O'Q"));
    EXPECT_EQ(item.Update(db.conn()), 0);
    EXPECT_EQ(item.Delete(db.conn()), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("select group_concat(ID_N || MinA_s || MinB_s) from TraceElement")),
              QStringLiteral("1PQ"));
}
