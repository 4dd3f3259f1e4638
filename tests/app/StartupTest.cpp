#include "app/SettingsStore.h"
#include "app/SharedConnection.h"
#include "app/subMain.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class Startup : public ::testing::Test {
  protected:
    void TearDown() override
    {
        subMain::ReleaseInstanceLock();
        mdlFunction::setSharedConnection(nullptr);
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
