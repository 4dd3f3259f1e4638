// SPDX-License-Identifier: GPL-3.0-or-later
// Where a portable and an installed program find their database and files.
#include "core/base/ProgramFolders.h"
#include "support/core/ScopedEnv.h"
#include "support/core/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// <root>/usr/bin and <root>/usr/share/lorvane with its default database, and a
// data home of its own.
class Folders : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(bin()));
        ASSERT_TRUE(QDir().mkpath(share()));
        TempDatabase::createSchema(share() + QStringLiteral("/Vantor.mdb"));
    }
    void TearDown() override { ProgramFolders::ResetCurrent(); }
    QString bin() const { return root.path() + QStringLiteral("/usr/bin"); }
    QString share() const { return root.path() + QStringLiteral("/usr/share/lorvane"); }
    QString dataHome() const { return root.path() + QStringLiteral("/data"); }
    QString userDatabase() const { return dataHome() + QStringLiteral("/Lorvane/Vantor.mdb"); }

    QTemporaryDir root;
    ScopedEnv xdg{"XDG_DATA_HOME", root.path() + QStringLiteral("/data")};
};

} // namespace

TEST_F(Folders, AProgramInBinBesideShareLorvaneIsInstalled)
{
    const ProgramFolders::Layout layout = ProgramFolders::Locate(bin());
    EXPECT_TRUE(layout.installed);
    EXPECT_EQ(layout.dataDir, share());
    EXPECT_EQ(layout.defaultDatabase, share() + QStringLiteral("/Vantor.mdb"));
    EXPECT_EQ(layout.databasePath, userDatabase());

    // The folder being writable (as /usr/bin is for root) changes nothing.
    EXPECT_TRUE(QFileInfo(bin()).isWritable());
    ProgramFolders::SetCurrent(layout);
    EXPECT_EQ(ProgramFolders::TemplateFolder(), share() + QStringLiteral("/xls"));
    EXPECT_EQ(ProgramFolders::PictureFolder(), share() + QStringLiteral("/back"));
    EXPECT_EQ(ProgramFolders::LibraryFolder(), share() + QStringLiteral("/library"));
}

TEST_F(Folders, ADatabaseBesideTheProgramKeepsItPortableEvenInAReadOnlyFolder)
{
    TempDatabase::createSchema(bin() + QStringLiteral("/Vantor.mdb"));
    ASSERT_TRUE(QFile::setPermissions(bin(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const ProgramFolders::Layout layout = ProgramFolders::Locate(bin());
    QFile::setPermissions(bin(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(layout.installed);
    EXPECT_EQ(layout.databasePath, bin() + QStringLiteral("/Vantor.mdb"));
    EXPECT_EQ(layout.dataDir, bin());
    EXPECT_TRUE(layout.defaultDatabase.isEmpty());
}

TEST_F(Folders, WithoutShareLorvaneTheProgramsFolderIsUsedAndItsMissingDatabaseReported)
{
    QTemporaryDir lone;
    const ProgramFolders::Layout layout = ProgramFolders::Locate(lone.path());
    EXPECT_FALSE(layout.installed);
    EXPECT_EQ(layout.databasePath, lone.path() + QStringLiteral("/Vantor.mdb"));
    EXPECT_TRUE(ProgramFolders::PrepareDatabase(layout));
    EXPECT_FALSE(QFile::exists(layout.databasePath));
}

TEST_F(Folders, TheUsersDataFolderFollowsXdgDataHomeOrDefaultsUnderHome)
{
    EXPECT_EQ(ProgramFolders::UserDataDir(), dataHome() + QStringLiteral("/Lorvane"));
    {
        ScopedEnv unset("XDG_DATA_HOME", QString());
        EXPECT_EQ(ProgramFolders::UserDataDir(), QDir::homePath() + QStringLiteral("/.local/share/Lorvane"));
    }
    {
        // A relative value is not a valid XDG folder.
        ScopedEnv relative("XDG_DATA_HOME", QStringLiteral("data"));
        EXPECT_EQ(ProgramFolders::UserDataDir(), QDir::homePath() + QStringLiteral("/.local/share/Lorvane"));
    }
}

TEST_F(Folders, TheFirstStartCopiesTheDefaultWholeAndLeavesNoTemporaryFile)
{
    const ProgramFolders::Layout layout = ProgramFolders::Locate(bin());
    QString error;
    ASSERT_TRUE(ProgramFolders::PrepareDatabase(layout, &error)) << error.toStdString();
    const QByteArray original = contents(layout.defaultDatabase);
    ASSERT_FALSE(original.isEmpty());
    EXPECT_EQ(contents(userDatabase()), original);
    EXPECT_EQ(QDir(dataHome() + QStringLiteral("/Lorvane"))
                  .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("Vantor.mdb")}));
}

TEST_F(Folders, AnExistingUserFileIsNeverReplacedEvenWhenBroken)
{
    const ProgramFolders::Layout layout = ProgramFolders::Locate(bin());
    ASSERT_TRUE(QDir().mkpath(dataHome() + QStringLiteral("/Lorvane")));
    writeFile(userDatabase(), "the user's own bytes");
    EXPECT_TRUE(ProgramFolders::PrepareDatabase(layout));
    EXPECT_EQ(contents(userDatabase()), QByteArray("the user's own bytes"));

    // A link to a file that is gone is the user's too.
    QFile::remove(userDatabase());
    ASSERT_TRUE(QFile::link(root.path() + QStringLiteral("/gone.mdb"), userDatabase()));
    EXPECT_TRUE(ProgramFolders::PrepareDatabase(layout));
    EXPECT_EQ(QFileInfo(userDatabase()).symLinkTarget(), root.path() + QStringLiteral("/gone.mdb"));
}

TEST_F(Folders, AMissingDefaultLeavesNoUserFileAndSaysWhy)
{
    QFile::remove(share() + QStringLiteral("/Vantor.mdb"));
    const ProgramFolders::Layout layout = ProgramFolders::Locate(bin());
    ASSERT_TRUE(layout.installed);
    QString error;
    EXPECT_FALSE(ProgramFolders::PrepareDatabase(layout, &error));
    EXPECT_TRUE(error.contains(share() + QStringLiteral("/Vantor.mdb"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(userDatabase()));
}

TEST_F(Folders, AUserFolderThatCannotBeMadeIsReported)
{
    // A file where the folder should be.
    writeFile(dataHome(), "not a folder");
    const ProgramFolders::Layout layout = ProgramFolders::Locate(bin());
    QString error;
    EXPECT_FALSE(ProgramFolders::PrepareDatabase(layout, &error));
    EXPECT_FALSE(error.isEmpty());
}
