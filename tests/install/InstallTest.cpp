// SPDX-License-Identifier: GPL-3.0-or-later
// `cmake --install` into a temporary DESTDIR, then the installed program
// started as a user meets it: a fresh home, nothing of the build folder.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

int userVersion(const QString &path, int set = -1)
{
    sqlite3 *db = nullptr;
    int version = -1;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        if (set >= 0)
            sqlite3_exec(db, ("PRAGMA user_version = " + std::to_string(set)).c_str(), nullptr, nullptr,
                         nullptr);
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            version = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return version;
}

struct Outcome {
    int exitCode = -1;
    QString out, err;
};

// Installs the build into a temporary DESTDIR under the prefix /usr.
class Installed : public ::testing::Test {
  protected:
    void SetUp() override
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), destdir.path());
        QProcess install;
        install.setProcessEnvironment(env);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(LORVANE_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(LORVANE_BUILD_DIR),
                       QStringLiteral("--prefix"), QStringLiteral("/usr")});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
        ASSERT_TRUE(QDir().mkpath(home()));
        ASSERT_TRUE(QDir().mkpath(scratch.path() + QStringLiteral("/runtime")));
        QFile::setPermissions(scratch.path() + QStringLiteral("/runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    QString usr(const QString &rest) const { return destdir.path() + QStringLiteral("/usr/") + rest; }
    QString home() const { return scratch.path() + QStringLiteral("/home"); }
    QString userDatabase() const { return home() + QStringLiteral("/.local/share/Lorvane/Vantor.mdb"); }

    // The program with a home of its own and no XDG folders but the runtime
    // one, so the data folder is the default under home; it reports its start
    // instead of waiting for the user.
    // It speaks Chinese whatever the tests' locale, unless `language` (as
    // LANGUAGE takes it) says otherwise.
    Outcome start(const QString &program, const QString &dataHome = QString(),
                  const QString &language = QStringLiteral("zh_CN")) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &key : env.keys())
            if (key.startsWith(QLatin1String("XDG_"))) env.remove(key);
        env.insert(QStringLiteral("HOME"), home());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch.path() + QStringLiteral("/runtime"));
        if (!dataHome.isEmpty()) env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LORVANE_START_CHECK"), QStringLiteral("1"));
        env.insert(QStringLiteral("LANGUAGE"), language);
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(scratch.path());
        p.start(program, {});
        Outcome run;
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "the program did not end";
            return run;
        }
        run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        run.out = QString::fromUtf8(p.readAllStandardOutput());
        run.err = QString::fromUtf8(p.readAllStandardError());
        return run;
    }

    static QString shownLine(const QString &database)
    {
        return QStringLiteral("shown frmMain \"Lorvane\" visible=1\ndatabase ") + database +
               QLatin1Char('\n');
    }

    QTemporaryDir destdir;
    QTemporaryDir scratch;
};

} // namespace

TEST_F(Installed, EveryFileIsInItsPlace)
{
    EXPECT_TRUE(QFileInfo(usr("bin/lorvane")).isExecutable());
    const QStringList files = {"share/lorvane/Vantor.mdb",
                               "share/lorvane/xls/IsotopeThemometer.xltx",
                               "share/lorvane/xls/traceelementThemometer.xltx",
                               "share/lorvane/back/skyline.bmp",
                               "share/lorvane/back/skyline.jpg",
                               "share/lorvane/back/strata.jpg",
                               "share/applications/lorvane.desktop",
                               "share/metainfo/lorvane.metainfo.xml",
                               "share/icons/hicolor/scalable/apps/lorvane.svg",
                               "share/man/man1/lorvane.1.gz",
                               "share/man/man1/lorvane-calc.1.gz",
                               "share/doc/lorvane/copyright",
                               "share/doc/lorvane/changelog.gz",
                               "share/doc/lorvane/guide.zh.html",
                               "share/doc/lorvane/guide.en.html",
                               "share/lorvane/names.csv",
                               "share/lorvane/translations/lorvane_en.qm"};
    for (const QString &f : files) EXPECT_TRUE(QFileInfo(usr(f)).isFile()) << f.toStdString();
    for (int px : {48, 128, 256}) {
        const QImage icon(usr(QStringLiteral("share/icons/hicolor/%1x%1/apps/lorvane.png").arg(px)));
        EXPECT_EQ(icon.size(), QSize(px, px));
        // The tile fills the middle; the rounded corners stay transparent.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(px * 3 / 4, px / 8)), 255);
    }
    // The library's import files, when the build has them.
    const QDir library(QStringLiteral(LORVANE_BUILD_DIR "/bin/library"));
    for (const QString &name : library.entryList(QDir::Files))
        EXPECT_EQ(contents(usr("share/lorvane/library/") + name), contents(library.filePath(name)))
            << name.toStdString();
    // Nothing that only the build folder needs.
    EXPECT_FALSE(QFileInfo::exists(usr("bin/Vantor.mdb")));
    EXPECT_FALSE(QFileInfo::exists(usr("bin/make_database")));
}

TEST_F(Installed, TheDesktopEntryNamesTheProgramInBothLanguages)
{
    const QString entry = QString::fromUtf8(contents(usr("share/applications/lorvane.desktop")));
    const QStringList lines = entry.split(QLatin1Char('\n'));
    for (const char *line :
         {"[Desktop Entry]", "Type=Application", "Name=Lorvane", "Name[zh_CN]=Lorvane 矿物对地质温度计",
          "Exec=lorvane", "Icon=lorvane", "Categories=Science;Geology;Education;"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    for (const char *key : {"GenericName=", "GenericName[zh_CN]=", "Comment=", "Comment[zh_CN]="}) {
        const QString k = QString::fromUtf8(key);
        const auto filled = [&k](const QString &line) {
            return line.startsWith(k) && line.size() > k.size();
        };
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), filled), 1) << key;
    }

    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed; the entry is not validated";
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(validate, {usr("share/applications/lorvane.desktop")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString said = QString::fromUtf8(p.readAll());
    EXPECT_EQ(p.exitCode(), 0) << said.toStdString();
    EXPECT_FALSE(said.contains(QLatin1String("error:"))) << said.toStdString();
}

TEST_F(Installed, TheAppStreamFileValidates)
{
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (appstream.isEmpty())
        GTEST_SKIP() << "appstreamcli is not installed; the metainfo file is not validated";
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                        usr("share/metainfo/lorvane.metainfo.xml")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
}

TEST_F(Installed, TheFirstStartMakesTheUsersDatabaseAndALaterStartReusesIt)
{
    const Outcome first = start(usr("bin/lorvane"));
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, shownLine(userDatabase()));
    EXPECT_FALSE(first.err.contains(QLatin1String("message ["))) << first.err.toStdString();
    const QByteArray installed = contents(usr("share/lorvane/Vantor.mdb"));
    ASSERT_FALSE(installed.isEmpty());
    EXPECT_EQ(contents(userDatabase()), installed);

    // The user's copy is the one in use from now on.
    ASSERT_EQ(userVersion(userDatabase(), 23), 23);
    const Outcome second = start(usr("bin/lorvane"));
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(second.out, shownLine(userDatabase()));
    EXPECT_EQ(userVersion(userDatabase()), 23);
    EXPECT_EQ(contents(usr("share/lorvane/Vantor.mdb")), installed);
}

TEST_F(Installed, ABrokenUserDatabaseGivesTheThreeLinesWithItsPath)
{
    const QString dataHome = scratch.path() + QStringLiteral("/data");
    const QString database = dataHome + QStringLiteral("/Lorvane/Vantor.mdb");
    writeFile(database, "not a database at all");
    const Outcome run = start(usr("bin/lorvane"), dataHome);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(run.err, QStringLiteral("message [Lorvane]\n数据库文件未找到\r\n请将Access文件放至") +
                           database + QStringLiteral("\r\n重新启动程序\n"));
    EXPECT_EQ(contents(database), QByteArray("not a database at all"));

    // The installed program finds its English.
    const Outcome english = start(usr("bin/lorvane"), dataHome, QStringLiteral("en_US"));
    EXPECT_EQ(english.err,
              QStringLiteral("message [Lorvane]\nDatabase file not found\r\nPut the database file at ") +
                  database + QStringLiteral("\r\nRestart the program\n"));
}

TEST_F(Installed, AProgramWithItsDatabaseBesideItKeepsUsingIt)
{
    // A portable copy: the program and a database in one folder of their own.
    const QString portable = scratch.path() + QStringLiteral("/portable");
    ASSERT_TRUE(QDir().mkpath(portable));
    ASSERT_TRUE(QFile::copy(usr("bin/lorvane"), portable + QStringLiteral("/lorvane")));
    ASSERT_TRUE(QFile::copy(usr("share/lorvane/Vantor.mdb"), portable + QStringLiteral("/Vantor.mdb")));
    const Outcome run = start(portable + QStringLiteral("/lorvane"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, shownLine(portable + QStringLiteral("/Vantor.mdb")));

    // The same beside the installed program.
    ASSERT_TRUE(QFile::copy(usr("share/lorvane/Vantor.mdb"), usr("bin/Vantor.mdb")));
    const Outcome beside = start(usr("bin/lorvane"));
    EXPECT_EQ(beside.exitCode, 0) << beside.err.toStdString();
    EXPECT_EQ(beside.out, shownLine(usr("bin/Vantor.mdb")));
    EXPECT_FALSE(QFileInfo::exists(home() + QStringLiteral("/.local/share/Lorvane")));
}
