// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/ProgramFolders.h"
#include "core/base/SettingsStore.h"
#include "core/database/SharedConnection.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"
#include "ui/subMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class Startup : public ::testing::Test {
  protected:
    void TearDown() override
    {
        subMain::ReleaseInstanceLock();
        mdlFunction::setSharedConnection(nullptr);
        ProgramFolders::ResetCurrent();
    }
    bool settingsWritten() const { return QFile::exists(SettingsStore::FilePath(QStringLiteral("Lorvane"))); }

    ScriptedDialogs dialogs;
    QTemporaryDir programDir;
    int windowsMade = 0;
    std::function<QWidget *()> makeWindow = [this] {
        ++windowsMade;
        return new QWidget();
    };
};

} // namespace

TEST_F(Startup, ASecondCopyIsRefusedWithoutTouchingDatabaseOrSettings)
{
    QLockFile firstCopy(subMain::InstanceLockPath());
    ASSERT_TRUE(firstCopy.tryLock(0));
    TempDatabase::createSchema(subMain::DatabasePath(programDir.path()));

    EXPECT_EQ(subMain::Start(programDir.path(), makeWindow), subMain::StartResult::Refused);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("程序正在运行,请勿重复打开!"));
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Lorvane"));
    EXPECT_EQ(dialogs.messages()[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(windowsMade, 0);
    EXPECT_EQ(mdlFunction::adoConn(), nullptr);
    EXPECT_FALSE(settingsWritten());
}

TEST_F(Startup, AMissingDatabaseGivesTheThreeLineMessage)
{
    EXPECT_EQ(subMain::Start(programDir.path(), makeWindow), subMain::StartResult::NoDatabase);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.lastMessage(),
              QStringLiteral("数据库文件未找到\r\n请将Access文件放至本程序目录内\r\n重新启动程序"));
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Lorvane"));
    EXPECT_EQ(windowsMade, 0);
    EXPECT_FALSE(settingsWritten());
    EXPECT_FALSE(QFile::exists(subMain::DatabasePath(programDir.path())));
}

TEST_F(Startup, AFileThatIsNoDatabaseGivesTheSameMessage)
{
    QFile f(subMain::DatabasePath(programDir.path()));
    f.open(QIODevice::WriteOnly);
    f.write("Standard Jet DB, or so it says");
    f.close();
    EXPECT_EQ(subMain::Start(programDir.path(), makeWindow), subMain::StartResult::NoDatabase);
    EXPECT_EQ(dialogs.lastMessage(),
              QStringLiteral("数据库文件未找到\r\n请将Access文件放至本程序目录内\r\n重新启动程序"));
}

TEST_F(Startup, AGoodStartOpensOneSharedConnectionAndShowsTheMainWindow)
{
    TempDatabase::createSchema(subMain::DatabasePath(programDir.path()));
    EXPECT_EQ(subMain::Start(programDir.path(), makeWindow), subMain::StartResult::Running);
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(windowsMade, 1);
    ASSERT_NE(mdlFunction::adoConn(), nullptr);
    EXPECT_EQ(mdlFunction::adoConn()->State(), 1);
    EXPECT_EQ(mdlFunction::adoConn()->DataSource(), subMain::DatabasePath(programDir.path()));
    // While it runs, a second start is refused.
    QLockFile second(subMain::InstanceLockPath());
    EXPECT_FALSE(second.tryLock(0));
    for (QWidget *w : QApplication::topLevelWidgets()) delete w;
}

namespace {

// A program installed under a prefix: <prefix>/bin without a database,
// <prefix>/share/lorvane with the default one; the user's data in a folder of
// the test's own.
class InstalledStartup : public Startup {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(bin()));
        ASSERT_TRUE(QDir().mkpath(share()));
        TempDatabase::createSchema(share() + QStringLiteral("/Vantor.mdb"));
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(prefix.path() + QStringLiteral("/data")));
    }
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets()) delete w;
        Startup::TearDown();
        if (savedDataHome_.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedDataHome_);
    }
    QString bin() const { return prefix.path() + QStringLiteral("/bin"); }
    QString share() const { return prefix.path() + QStringLiteral("/share/lorvane"); }
    QString userDatabase() const { return prefix.path() + QStringLiteral("/data/Lorvane/Vantor.mdb"); }

    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // SQLite's user_version: a mark that survives only in the file it was set in.
    static int userVersion(const QString &path, int set = -1)
    {
        sqlite3 *db = nullptr;
        int version = -1;
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            if (set >= 0)
                sqlite3_exec(db, QStringLiteral("PRAGMA user_version = %1").arg(set).toUtf8().constData(),
                             nullptr, nullptr, nullptr);
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW)
                version = sqlite3_column_int(st, 0);
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
        return version;
    }

    QTemporaryDir prefix;

  private:
    QByteArray savedDataHome_;
};

} // namespace

TEST_F(InstalledStartup, TheFirstStartCopiesTheDefaultAndOpensTheUsersCopy)
{
    EXPECT_EQ(subMain::Start(bin(), makeWindow), subMain::StartResult::Running);
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(windowsMade, 1);
    ASSERT_NE(mdlFunction::adoConn(), nullptr);
    EXPECT_EQ(mdlFunction::adoConn()->DataSource(), userDatabase());
    EXPECT_EQ(contents(userDatabase()), contents(share() + QStringLiteral("/Vantor.mdb")));
    // Templates and pictures come from the installed folder, not from bin.
    EXPECT_EQ(ProgramFolders::TemplateFolder(), share() + QStringLiteral("/xls"));
    EXPECT_EQ(ProgramFolders::PictureFolder(), share() + QStringLiteral("/back"));
}

TEST_F(InstalledStartup, ALaterStartKeepsTheUsersDatabase)
{
    ASSERT_EQ(subMain::Start(bin(), makeWindow), subMain::StartResult::Running);
    for (QWidget *w : QApplication::topLevelWidgets()) delete w;
    subMain::ReleaseInstanceLock();
    mdlFunction::setSharedConnection(nullptr);
    ASSERT_EQ(userVersion(userDatabase(), 41), 41);

    EXPECT_EQ(subMain::Start(bin(), makeWindow), subMain::StartResult::Running);
    EXPECT_EQ(mdlFunction::adoConn()->DataSource(), userDatabase());
    EXPECT_EQ(userVersion(userDatabase()), 41);
    EXPECT_EQ(userVersion(share() + QStringLiteral("/Vantor.mdb")), 0);
}

TEST_F(InstalledStartup, ABrokenUserDatabaseGivesTheThreeLinesWithItsPathAndStaysAsItIs)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(userDatabase()).path()));
    QFile broken(userDatabase());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("half a database");
    broken.close();

    EXPECT_EQ(subMain::Start(bin(), makeWindow), subMain::StartResult::NoDatabase);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("数据库文件未找到\r\n请将Access文件放至") +
                                         userDatabase() + QStringLiteral("\r\n重新启动程序"));
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Lorvane"));
    EXPECT_EQ(dialogs.messages()[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(windowsMade, 0);
    EXPECT_EQ(contents(userDatabase()), QByteArray("half a database"));
    EXPECT_FALSE(settingsWritten());
}

TEST_F(InstalledStartup, WithoutAnInstalledDefaultTheMessageNamesTheUsersPath)
{
    QFile::remove(share() + QStringLiteral("/Vantor.mdb"));
    EXPECT_EQ(subMain::Start(bin(), makeWindow), subMain::StartResult::NoDatabase);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("数据库文件未找到\r\n请将Access文件放至") +
                                         userDatabase() + QStringLiteral("\r\n重新启动程序"));
    EXPECT_FALSE(QFile::exists(userDatabase()));
}

// The per-user copy cannot be made: the message says why and where, and no
// half-made file is left. (A file stands where the folder should be; unlike a
// read-only folder, that stops root too.)
TEST_F(InstalledStartup, AUserDatabaseThatCannotBeMadeSaysWhyAndWhere)
{
    const QString folder = QFileInfo(userDatabase()).absolutePath();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(subMain::Start(bin(), makeWindow), subMain::StartResult::NoDatabase);
    EXPECT_EQ(dialogs.lastMessage(), QStringLiteral("无法建立数据库文件\r\n无法建立文件夹") + folder +
                                         QStringLiteral("：同名文件已存在，无法建立文件夹\r\n重新启动程序"));
}

TEST_F(InstalledStartup, ADatabaseBesideTheProgramWinsOverTheInstalledLayout)
{
    TempDatabase::createSchema(bin() + QStringLiteral("/Vantor.mdb"));
    EXPECT_EQ(subMain::Start(bin(), makeWindow), subMain::StartResult::Running);
    EXPECT_EQ(mdlFunction::adoConn()->DataSource(), bin() + QStringLiteral("/Vantor.mdb"));
    EXPECT_FALSE(QFile::exists(userDatabase()));
    EXPECT_EQ(ProgramFolders::PictureFolder(), bin() + QStringLiteral("/back"));
}

// The path is everything after "data source=": a folder named "a;b" holds the database like any other.
TEST_F(Startup, AProgramFolderWithASemicolonOpensItsDatabase)
{
    const QString folder = programDir.path() + QStringLiteral("/a;b");
    ASSERT_TRUE(QDir().mkpath(folder));
    TempDatabase::createSchema(subMain::DatabasePath(folder));
    EXPECT_EQ(subMain::Start(folder, makeWindow), subMain::StartResult::Running);
    EXPECT_TRUE(dialogs.messages().isEmpty());
    ASSERT_NE(mdlFunction::adoConn(), nullptr);
    EXPECT_EQ(mdlFunction::adoConn()->DataSource(), subMain::DatabasePath(folder));
    EXPECT_EQ(
        mdlFunction::adoConn()->Execute(QStringLiteral("select count(*) from Isoplot")).Fields(0).Long(), 0);
    for (QWidget *w : QApplication::topLevelWidgets()) delete w;
}

TEST_F(Startup, AnEarlierDatabaseIsUpgradedOrLeftAsItWasWithAMessage)
{
    const QString path = subMain::DatabasePath(programDir.path());
    auto makeEarlier = [&] {
        QFile::remove(path);
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        ASSERT_EQ(
            sqlite3_exec(db,
                         "create table TraceElement (ID_N integer not null primary key, Element_s text, "
                         "MinA_s text, MinB_s text, ConstA_sng real, ConstB_sng real, logType_s text, "
                         "Mark_s text);"
                         "insert into TraceElement values (1,'Ti','锆石','单矿物',-4800,5.5561,'10','mine')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(db);
    };
    auto columns = [&] {
        Connection reader;
        reader.setReadOnly(true);
        reader.setConnectionString(mdlFunction::kConnectionStringPrefix + path);
        reader.Open();
        return reader.Execute(QStringLiteral("select * from TraceElement")).FieldCount();
    };

    // Another program writing to the file: the start goes on, the file keeps its columns.
    makeEarlier();
    Connection holder;
    holder.setConnectionString(mdlFunction::kConnectionStringPrefix + path);
    holder.Open();
    holder.Execute(QStringLiteral("begin immediate"));
    auto shared = std::make_unique<Connection>();
    shared->setConnectionString(mdlFunction::kConnectionStringPrefix + path);
    shared->setCommandTimeout(1);
    shared->Open();
    mdlFunction::setSharedConnection(shared.get());
    EXPECT_FALSE(subMain::UpgradeDatabase(path));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.lastMessage().startsWith(QStringLiteral("数据库文件无法升级：") +
                                                 QDir::toNativeSeparators(path) + QStringLiteral("\r\n")))
        << dialogs.lastMessage().toStdString();
    EXPECT_TRUE(dialogs.lastMessage().endsWith(
        QStringLiteral("文件未作改动。微量元素温度计的压力、成分和活度项在升级前不可用，标定也不能保存。")));
    holder.Execute(QStringLiteral("rollback"));
    mdlFunction::setSharedConnection(nullptr);
    shared.reset();
    EXPECT_EQ(columns(), 8);

    // The next start upgrades it, silently.
    EXPECT_EQ(subMain::Start(programDir.path(), makeWindow), subMain::StartResult::Running);
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(columns(), 17);
    for (QWidget *w : QApplication::topLevelWidgets()) delete w;
}
