// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/database/Connection.h"
#include "core/base/AppError.h"
#include "core/database/SharedConnection.h"
#include "core/store/SchemaText.h"
#include "support/core/TempDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<Connection> openOn(const QString &path)
{
    auto c = std::make_unique<Connection>();
    c->setConnectionString(mdlFunction::kConnectionStringPrefix + path);
    return c;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.path() + QLatin1Char('/') + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

} // namespace

TEST(Connection, FetchesResultsWholeWithExactCountsAndNamedFields)
{
    TempDatabase db;
    for (int i = 1; i <= 5; ++i)
        db.exec(QStringLiteral(
                    "insert into Isoplot (ID_N,IsoType_S,MinA_S,ConstA_N) values (%1,'氧同位素','石英',%2)")
                    .arg(i)
                    .arg(i * 0.5));
    Recordset rs = db.conn().Execute(QStringLiteral("select * from Isoplot where ID_N>2"));
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Bof());
    int seen = 0;
    while (!rs.Eof()) {
        ++seen;
        EXPECT_EQ(rs.Fields(QStringLiteral("isotype_s")).Text(), QStringLiteral("氧同位素"));
        EXPECT_EQ(rs.Fields(QStringLiteral("ID_N")).Long(), seen + 2);
        rs.MoveNext();
    }
    EXPECT_EQ(seen, 3);
    EXPECT_THROW(rs.Fields(0), AppError); // no current row past the end

    Recordset empty = db.conn().Execute(QStringLiteral("select * from Isoplot where ID_N>99"));
    EXPECT_EQ(empty.RecordCount(), 0);
    EXPECT_TRUE(empty.Bof());
    EXPECT_TRUE(empty.Eof());
}

TEST(Connection, NullFieldsRaiseAConversionErrorWhenRead)
{
    TempDatabase db;
    db.exec(QStringLiteral("insert into Isoplot (ID_N) values (1)"));
    Recordset rs = db.conn().Execute(QStringLiteral("select MinA_S, ConstA_N from Isoplot"));
    EXPECT_TRUE(rs.Fields(0).IsNull());
    try {
        rs.Fields(QStringLiteral("MinA_S")).Text();
        FAIL() << "a NULL text was read";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), ErrNo::InvalidNull);
    }
    EXPECT_THROW(rs.Fields(1).Single(), AppError);
    Recordset max = db.conn().Execute(QStringLiteral("select max(ID_N) from TraceElement"));
    EXPECT_EQ(max.RecordCount(), 1);
    EXPECT_TRUE(max.Fields(0).IsNull());
}

TEST(Connection, RejectedStatementsCarryTheDatabaseMessage)
{
    TempDatabase db;
    try {
        db.conn().Execute(QStringLiteral("select * from NoSuchTable"));
        FAIL();
    } catch (const AppError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("NoSuchTable")));
    }
    // One statement at a time: a second statement is refused, not run.
    EXPECT_THROW(db.conn().Execute(QStringLiteral("select 1; delete from Isoplot")), AppError);
    // Text comparison ignores case, as the calibration names expect.
    db.exec(QStringLiteral("insert into TraceElement (ID_N,Element_s) values (1,'Mg')"));
    EXPECT_EQ(
        db.conn().Execute(QStringLiteral("select * from TraceElement where Element_s='MG'")).RecordCount(),
        1);
}

TEST(Connection, StatementsPastTheTimeLimitFail)
{
    TempDatabase db;
    db.conn().setCommandTimeout(1);
    QElapsedTimer t;
    t.start();
    try {
        db.conn().Execute(QStringLiteral(
            "with recursive n(x) as (select 1 union all select x+1 from n) select count(*) from n"));
        FAIL() << "a runaway query finished";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), ErrNo::Timeout);
    }
    EXPECT_LT(t.elapsed(), 5000);
    // The connection is usable afterwards.
    EXPECT_EQ(db.conn().Execute(QStringLiteral("select 1")).RecordCount(), 1);
}

TEST(Connection, OpenRefusesFilesThatAreNotCalibrationDatabases)
{
    QTemporaryDir dir;
    const QString missing = dir.path() + QStringLiteral("/Vantor.mdb");
    const QString empty = writeFile(dir, QStringLiteral("empty.mdb"), QByteArray());
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919) % 251);
    const QString random = writeFile(dir, QStringLiteral("random.mdb"), noise);
    QByteArray jet(4096, '\0');
    jet.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
    const QString access = writeFile(dir, QStringLiteral("access.mdb"), jet);
    const QString text = writeFile(dir, QStringLiteral("text.mdb"), QByteArray("ID_N,MinA_S\n1,quartz\n"));
    QByteArray damaged("SQLite format 3");
    damaged.append('\0');
    damaged.append(QByteArray(200, '\xff'));
    const QString broken = writeFile(dir, QStringLiteral("broken.mdb"), damaged);

    for (const QString &path : {missing, empty, random, access, text, broken}) {
        auto c = openOn(path);
        EXPECT_THROW(c->Open(), AppError) << path.toStdString();
        EXPECT_EQ(c->State(), 0) << path.toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing)); // nothing is created

    EXPECT_FALSE(mdlFunction::OpenConnection(missing));
    ASSERT_NE(mdlFunction::adoConn(), nullptr);
    EXPECT_EQ(mdlFunction::adoConn()->State(), 0);
    mdlFunction::setSharedConnection(nullptr);
}

TEST(Connection, SharedConnectionHasTheFixedSettings)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Vantor.mdb");
    TempDatabase::createSchema(path);
    ASSERT_TRUE(mdlFunction::OpenConnection(path));
    Connection *c = mdlFunction::adoConn();
    EXPECT_EQ(c->State(), 1);
    EXPECT_EQ(c->CursorLocation(), 3);
    EXPECT_EQ(c->CommandTimeout(), 10);
    EXPECT_EQ(c->ConnectionString(), QStringLiteral("provider=microsoft.jet.oledb.4.0;data source=") + path);
    mdlFunction::setSharedConnection(nullptr);
}

TEST(SchemaText, EscapeSqlTextDoublesEveryQuote)
{
    EXPECT_EQ(EscapeSqlText(QStringLiteral("O'Neil")), QStringLiteral("O''Neil"));
    EXPECT_EQ(EscapeSqlText(QStringLiteral("''")), QStringLiteral("''''"));
    EXPECT_EQ(EscapeSqlText(QStringLiteral("石英")), QStringLiteral("石英"));
    EXPECT_EQ(EscapeSqlText(QString()), QString());
}

TEST(SchemaText, NextIdentifierIsMaximumPlusOne)
{
    TempDatabase db;
    const QString max = QStringLiteral("select max(ID_N) from Isoplot");
    EXPECT_EQ(NextIdentifier(db.conn(), max), 1);
    for (int i = 1; i <= 41; ++i) db.exec(QStringLiteral("insert into Isoplot (ID_N) values (%1)").arg(i));
    EXPECT_EQ(NextIdentifier(db.conn(), max), 42);
    db.exec(QStringLiteral("insert into Isoplot (ID_N) values (42)"));
    db.exec(QStringLiteral("delete from Isoplot where ID_N=42"));
    EXPECT_EQ(NextIdentifier(db.conn(), max), 42);
    db.exec(QStringLiteral("insert into Isoplot (ID_N) values (42)"));
    db.exec(QStringLiteral("delete from Isoplot where ID_N=5"));
    EXPECT_EQ(NextIdentifier(db.conn(), max), 43);
}

TEST(DefaultDatabase, HoldsThePublishedLibrary)
{
    TempDatabase db(true);
    EXPECT_GE(db.count(QStringLiteral("Isoplot")), 170);
    EXPECT_GE(db.count(QStringLiteral("TraceElement")), 18);
    EXPECT_EQ(
        db.scalar(QStringLiteral(
            "select count(*) from IsoType where Name in ('氧同位素','硫同位素','碳同位素','氢同位素')")),
        QStringLiteral("4"));
    // References with an apostrophe are stored whole.
    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from Isoplot where Source_S like '%O''Neil%'")).toInt() > 0,
        true);
    // Constants are stored as the program writes them, so its duplicate check finds them.
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from Isoplot where MinA_S='石英' and MinB_S='水' and "
                                       "ConstA_N=3.38 and ConstC_N=-3.4")),
              QStringLiteral("1"));
}

// The failures a user meets are described in Chinese, SQLite's own words after them.
TEST(Connection, CommonFailuresAreDescribedInChinese)
{
    auto failure = [](Connection &c, const QString &sql) {
        try {
            c.Execute(sql);
        } catch (const AppError &e) {
            return e.description();
        }
        return QStringLiteral("(no failure)");
    };
    TempDatabase db;
    EXPECT_EQ(failure(db.conn(), QStringLiteral("select * from NoSuchTable")),
              QStringLiteral("数据库缺少表或列：NoSuchTable\r\nno such table: NoSuchTable"));
    EXPECT_EQ(failure(db.conn(), QStringLiteral("select Nothing_N from Isoplot")),
              QStringLiteral("数据库缺少表或列：Nothing_N\r\nno such column: Nothing_N"));
    EXPECT_EQ(
        failure(db.conn(), QStringLiteral("insert into Isoplot (Nothing_N) values (1)")),
        QStringLiteral("数据库缺少表或列：Isoplot.Nothing_N\r\ntable Isoplot has no column named Nothing_N"));

    db.exec(QStringLiteral("pragma query_only=1"));
    EXPECT_EQ(failure(db.conn(), QStringLiteral("delete from Isoplot")),
              QStringLiteral("数据库为只读\r\nattempt to write a readonly database"));
    db.exec(QStringLiteral("pragma query_only=0"));

    // A database that may not grow past its pages: the disk is full.
    db.exec(QStringLiteral("pragma max_page_count=") + db.scalar(QStringLiteral("pragma page_count")));
    const QString full = failure(
        db.conn(),
        QStringLiteral("with recursive n(v) as (select 1 union all select v + 1 from n where v < 100) "
                       "insert into Isoplot (ID_N, Mark_S) select v, hex(zeroblob(2000)) from n"));
    EXPECT_TRUE(full.startsWith(QStringLiteral("磁盘已满\r\n"))) << full.toStdString();

    // Other failures keep SQLite's text alone.
    EXPECT_EQ(failure(db.conn(), QStringLiteral("selec 1")), QStringLiteral("near \"selec\": syntax error"));
}

TEST(Connection, AMalformedFileIsCalledDamaged)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/Vantor.mdb");
    TempDatabase::createSchema(path);
    {
        auto c = openOn(path);
        c->Open();
        c->BeginTrans();
        for (int i = 1; i <= 300; ++i)
            c->Execute(QStringLiteral("insert into Isoplot (ID_N, Mark_S) values (%1, '%2')")
                           .arg(i)
                           .arg(QString(200, QLatin1Char('m'))));
        c->CommitTrans();
    }
    // Overwrite every page after the first three with noise.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    f.seek(3 * 4096);
    f.write(QByteArray(int(size - 3 * 4096), '\x5a'));
    f.close();

    auto c = openOn(path);
    QString text;
    try {
        c->Open();
        c->Execute(QStringLiteral("select count(*), max(length(Mark_S)) from Isoplot"));
    } catch (const AppError &e) {
        text = e.description();
    }
    EXPECT_TRUE(text.contains(QStringLiteral("数据库文件已损坏\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("malformed"))) << text.toStdString();
}

TEST(Transaction, RollsBackWhatItHoldsUnlessCommitted)
{
    TempDatabase db;
    Connection &c = db.conn();
    const QString insert = QStringLiteral("insert into Isoplot (ID_N, Mark_S) values (%1, 'x')");
    {
        Transaction left(c);
        EXPECT_TRUE(left.isOpen());
        EXPECT_TRUE(c.InTransaction());
        c.Execute(insert.arg(1));
    }
    EXPECT_FALSE(c.InTransaction());
    EXPECT_EQ(db.count(QStringLiteral("Isoplot")), 0);

    try {
        Transaction thrown(c);
        c.Execute(insert.arg(2));
        c.Execute(QStringLiteral("insert into NoSuchTable values (1)"));
        ADD_FAILURE() << "the insert into a missing table must raise";
    } catch (const AppError &) {
    }
    EXPECT_FALSE(c.InTransaction());
    EXPECT_EQ(db.count(QStringLiteral("Isoplot")), 0);

    {
        Transaction kept(c);
        c.Execute(insert.arg(3));
        kept.Commit();
        EXPECT_FALSE(kept.isOpen());
    }
    EXPECT_EQ(db.scalar(QStringLiteral("select ID_N from Isoplot")), QStringLiteral("3"));
}

TEST(Transaction, KnowsWhenSqliteEndedIt)
{
    TempDatabase db;
    Transaction t(db.conn());
    // What SQLite does on an interrupt or a full disk: the transaction is gone.
    db.conn().Execute(QStringLiteral("rollback"));
    EXPECT_FALSE(t.isOpen());
    EXPECT_FALSE(db.conn().InTransaction());
    // Its rollback on destruction then finds nothing to do and raises nothing.
}
