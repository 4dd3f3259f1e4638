// SPDX-License-Identifier: GPL-3.0-or-later
// A database an earlier Lorvane made, with the user's own trace rows: opened by
// this version, it gains the term columns and keeps every row as it was; a file
// that cannot be written stays untouched.
#include "core/store/TraceTerms.h"
#include "core/base/AppError.h"
#include "core/database/SharedConnection.h"
#include "core/store/CalibrationLibrary.h"
#include "core/store/SchemaUpgrade.h"
#include "core/store/clsTraceelements.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// TraceElement as the earlier versions created it.
const char *kEarlierTable = "create table TraceElement (ID_N integer not null primary key, "
                            "Element_s text collate nocase, MinA_s text collate nocase, "
                            "MinB_s text collate nocase, ConstA_sng real, ConstB_sng real, "
                            "logType_s text collate nocase, Mark_s text collate nocase)";

const char *kEarlierIsoplot = "create table Isoplot (ID_N integer not null primary key, IsoType_S text, "
                              "MinA_S text, MinB_S text, ConstA_N real, ConstB_N real, ConstC_N real, "
                              "Mark_S text, Source_S text)";

const char *kUserRows[] = {
    "insert into Isoplot values (3,'氧同位素','石英','水',3.38,0,-3.4,'200-500','my own')",
    "insert into Isoplot values (4,'氧同位素','石英','水',4.1134,-3.3866,0,'200-900','Vho et al. (2019), "
    "DBOXYGEN 2.0.3 (internally consistent); doi:10.1000/example.5.')",
    "insert into TraceElement values (1,'Ti','锆石','单矿物',-4800,5.5561,'10','aTiO2 = 0.7, mine')",
    "insert into TraceElement values (7,'Zr','金红石','单矿物',-10584,17.175,'e','O''Brien''s 10 kbar')",
    "insert into TraceElement values (9,'Ni','石榴石','橄榄石',-8772,NULL,'e',NULL)",
};

std::unique_ptr<Connection> open(const QString &path, int timeoutSeconds = 10)
{
    auto conn = std::make_unique<Connection>();
    conn->setConnectionString(mdlFunction::kConnectionStringPrefix + path);
    conn->setCommandTimeout(timeoutSeconds);
    conn->Open();
    return conn;
}

QString earlierDatabase(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("mine.mdb"));
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, kEarlierTable, nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, kEarlierIsoplot, nullptr, nullptr, nullptr), SQLITE_OK);
    for (const char *row : kUserRows) EXPECT_EQ(sqlite3_exec(db, row, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    return path;
}

// Every old column of every row, as text.
QStringList rowsOf(Connection &conn)
{
    QStringList rows;
    Recordset rs = conn.Execute(QStringLiteral(
        "select ID_N, Element_s, MinA_s, MinB_s, quote(ConstA_sng), quote(ConstB_sng), logType_s, "
        "quote(Mark_s) from TraceElement order by ID_N"));
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.FieldCount(); ++i) fields << rs.Fields(i).Value().toString();
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

TEST(TraceTerms, AnEarlierDatabaseIsUpgradedWithEveryRowKept)
{
    QTemporaryDir dir;
    const QString path = earlierDatabase(dir);
    auto conn = open(path);
    const QStringList before = rowsOf(*conn);
    ASSERT_EQ(before.size(), 3);

    // Read before the upgrade (a read-only copy, the command-line tool): the defaults stand in.
    Batch::Library earlier = Batch::Library::Load(*conn, Batch::Kind::Trace);
    ASSERT_EQ(earlier.size(), 3);
    EXPECT_EQ(earlier.at(0).terms, TraceTerms{});

    EXPECT_EQ(TraceColumns::Missing(*conn), TraceColumns::Names());
    EXPECT_EQ(SchemaUpgrade::Missing(*conn).last(), QStringLiteral("Isoplot.Dataset_S"));
    EXPECT_EQ(SchemaUpgrade::Missing(*conn).first(), QStringLiteral("Covariance"));
    EXPECT_EQ(SchemaUpgrade::Upgrade(*conn), 12);
    EXPECT_EQ(
        conn->Execute(QStringLiteral("select count(*) from Isoplot where Dataset_S='' and Source_S='my own'"))
            .Fields(0)
            .Long(),
        1);
    EXPECT_EQ(conn->Execute(QStringLiteral("select Dataset_S from Isoplot where ID_N=4")).Fields(0).Text(),
              QStringLiteral("DBOXYGEN 2.0.3"))
        << "the library's rows of the dataset join it";
    EXPECT_EQ(conn->Execute(QStringLiteral("select DOI_S from Isoplot where ID_N=4")).Fields(0).Text(),
              QStringLiteral("10.1000/example.5"))
        << "the DOI its source names, without the sentence's full stop";
    EXPECT_EQ(conn->Execute(QStringLiteral("select count(*) from Isoplot where DOI_S=''")).Fields(0).Long(),
              1);
    EXPECT_TRUE(TraceColumns::Missing(*conn).isEmpty());
    EXPECT_EQ(SchemaUpgrade::Upgrade(*conn), 0) << "a second opening changes nothing";
    EXPECT_EQ(rowsOf(*conn), before);
    EXPECT_EQ(conn->Execute(QStringLiteral("select count(*) from TraceElement where ConstC_sng=0 and "
                                           "PowerN_sng=1 and ConstE_sng=0 and ConstF_sng=0 and XName_s='' "
                                           "and NuSiO2_sng=0 and NuTiO2_sng=0 and KUnit_s=''"))
                  .Fields(0)
                  .Long(),
              3);

    // The user's rows give the temperatures they gave before: log K = A/T + B.
    clsTraceelements items;
    items.FuzzyQuery(*conn, QStringLiteral("Ti"), QString(), QString());
    ASSERT_EQ(items.Count(), 1);
    const std::optional<double> kelvin = TraceEquation::Kelvin((*items.begin())->form(), 10, {});
    ASSERT_TRUE(kelvin);
    EXPECT_NEAR(*kelvin, 4800.0 / (5.5561 - 1), 1e-3);

    // New rows carry their terms.
    clsTraceelement zircon;
    zircon.setTerms(TraceTerms{0, 1, 0, 0, -1, 1, QString(), QStringLiteral("ppm Ti（锆石）")});
    ASSERT_EQ(zircon.AddNew(*conn, QStringLiteral("Ti"), QStringLiteral("锆石"), QStringLiteral("单矿物"),
                            -4800, 5.711f, QStringLiteral("10"), QStringLiteral("Ferry & Watson 2007")),
              0);
    EXPECT_EQ(conn->Execute(QStringLiteral("select NuSiO2_sng || ' ' || NuTiO2_sng || ' ' || KUnit_s from "
                                           "TraceElement where ID_N=10"))
                  .Fields(0)
                  .Text(),
              QStringLiteral("-1.0 1.0 ppm Ti（锆石）"));
}

TEST(TraceTerms, AFileThatCannotBeUpgradedIsLeftAsItWas)
{
    QTemporaryDir dir;
    const QString path = earlierDatabase(dir);
    const QByteArray before = digest(path);

    // Another program is writing to the file: the upgrade waits its time and gives up.
    auto holder = open(path);
    holder->Execute(QStringLiteral("begin immediate")); // writing, others may read
    {
        auto conn = open(path, 1);
        EXPECT_THROW(SchemaUpgrade::Upgrade(*conn), AppError);
        EXPECT_FALSE(conn->InTransaction());
    }
    holder->Execute(QStringLiteral("rollback"));
    holder.reset();
    EXPECT_EQ(digest(path), before);

    // A connection that may not write (a read-only file or copy).
    auto reader = std::make_unique<Connection>();
    reader->setConnectionString(mdlFunction::kConnectionStringPrefix + path);
    reader->setReadOnly(true);
    reader->Open();
    EXPECT_THROW(SchemaUpgrade::Upgrade(*reader), AppError);
    EXPECT_EQ(TraceColumns::Missing(*reader).size(), 8);
    reader.reset();
    EXPECT_EQ(digest(path), before);
}

TEST(TraceTerms, FieldTextsAndReversedRows)
{
    // Texts and back, the defaults for fields a short list leaves out.
    const TraceTerms tomkins{-49.31204f, 1, 0, 0.5f, 0, 0, QStringLiteral("Cr#"), QStringLiteral("ppm Zr")};
    TraceTerms read;
    ASSERT_TRUE(TraceColumns::FromTexts(TraceColumns::Texts(tomkins), &read));
    EXPECT_EQ(read, tomkins);
    ASSERT_TRUE(TraceColumns::FromTexts({QStringLiteral("-96"), QString()}, &read));
    EXPECT_EQ(read, (TraceTerms{-96, 1, 0, 0, 0, 0, QString(), QString()}));
    int bad = -1;
    EXPECT_FALSE(TraceColumns::FromTexts({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("x")},
                                         &read, &bad));
    EXPECT_EQ(bad, 2);
    EXPECT_FALSE(TraceColumns::FromTexts({QStringLiteral("1e99")}, &read, &bad));

    // A row read for the reversed pair gives -log K under the same conditions.
    Batch::Library lib;
    Batch::Calibration c;
    c.type = QStringLiteral("Al");
    c.mineralA = QStringLiteral("橄榄石");
    c.mineralB = QStringLiteral("尖晶石");
    c.a = -10989.01;
    c.b = 0.5626374;
    c.logType = QStringLiteral("e");
    c.terms = TraceTerms{-3, 0.5f, 40, 0.9593407f, 0.2f, -0.4f, QStringLiteral("Cr#"), QString()};
    lib.add(c);
    const auto turned = lib.forPair(QStringLiteral("Al"), QStringLiteral("尖晶石"), QStringLiteral("橄榄石"));
    ASSERT_EQ(turned.size(), 1u);
    const TraceEquation::Conditions at{8, 0.4, 0.9, 0.6};
    EXPECT_NEAR(TraceEquation::LogK(turned[0]->form(), 1500, at), -TraceEquation::LogK(c.form(), 1500, at),
                1e-12);
}
