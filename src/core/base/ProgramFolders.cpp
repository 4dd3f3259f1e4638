// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/ProgramFolders.h"

#include "core/files/FileWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <optional>
#include <unistd.h>

namespace ProgramFolders {
namespace {

const QString kDatabaseName = QStringLiteral("Vantor.mdb");

std::optional<Layout> &current()
{
    static std::optional<Layout> layout;
    return layout;
}

// A file or a dangling link: either way the name is taken.
bool nameTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool fail(QString *error, const QString &reason)
{
    if (error) *error = reason;
    return false;
}

} // namespace

Layout Locate(const QString &programDir)
{
    Layout layout;
    layout.programDir = QDir::cleanPath(programDir);
    const QString beside = layout.programDir + QLatin1Char('/') + kDatabaseName;
    const QString share = QDir::cleanPath(layout.programDir + QStringLiteral("/../share/lorvane"));
    if (!nameTaken(beside) && QFileInfo(share).isDir()) {
        layout.installed = true;
        layout.dataDir = share;
        layout.defaultDatabase = share + QLatin1Char('/') + kDatabaseName;
        layout.databasePath = UserDataDir() + QLatin1Char('/') + kDatabaseName;
        return layout;
    }
    layout.dataDir = layout.programDir;
    layout.databasePath = beside;
    return layout;
}

QString UserDataDir()
{
    // XDG: a relative XDG_DATA_HOME is invalid and ignored.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/Lorvane"));
}

namespace {

// The message is translated here, after errno has been taken: a lookup made
// among the arguments could change it first.
bool failWith(QString *error, const char *what, const QString &path, int errorNumber)
{
    return fail(error, QCoreApplication::translate("ProgramFolders", what)
                           .arg(QDir::toNativeSeparators(path), FileWrite::Reason(errorNumber)));
}

} // namespace

bool PrepareDatabase(const Layout &layout, QString *error)
{
    if (!layout.installed || nameTaken(layout.databasePath)) return true;

    const QString folder = QFileInfo(layout.databasePath).absolutePath();
    errno = 0;
    if (!QDir().mkpath(folder))
        return failWith(error, QT_TRANSLATE_NOOP("ProgramFolders", "无法建立文件夹%1：%2"), folder, errno);
    QFile source(layout.defaultDatabase);
    errno = 0;
    if (!source.open(QIODevice::ReadOnly))
        return failWith(error, QT_TRANSLATE_NOOP("ProgramFolders", "无法读取%1：%2"), layout.defaultDatabase,
                        errno);

    QTemporaryFile copy(folder + QStringLiteral("/.Vantor.mdb.XXXXXX"));
    errno = 0;
    if (!copy.open())
        return failWith(error, QT_TRANSLATE_NOOP("ProgramFolders", "无法在%1中写入：%2"), folder, errno);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return failWith(error, QT_TRANSLATE_NOOP("ProgramFolders", "无法读取%1：%2"),
                            layout.defaultDatabase, errno);
        errno = 0;
        if (copy.write(chunk) != chunk.size() || !copy.flush())
            return failWith(error, QT_TRANSLATE_NOOP("ProgramFolders", "无法写入%1：%2"), layout.databasePath,
                            errno);
    }
    errno = 0;
    if (!copy.flush() || ::fsync(copy.handle()) != 0)
        return failWith(error, QT_TRANSLATE_NOOP("ProgramFolders", "无法写入%1：%2"), layout.databasePath,
                        errno);

    // The temporary file's rename refuses a name that is taken, so a copy made
    // meanwhile stays as it is.
    errno = 0;
    if (!copy.rename(layout.databasePath)) {
        if (nameTaken(layout.databasePath)) return true;
        return failWith(error, QT_TRANSLATE_NOOP("ProgramFolders", "无法建立%1：%2"), layout.databasePath,
                        errno);
    }
    copy.setAutoRemove(false);
    return true;
}

Layout Current()
{
    if (current()) return *current();
    return Locate(QCoreApplication::applicationDirPath());
}

void SetCurrent(const Layout &layout) { current() = layout; }

void ResetCurrent() { current().reset(); }

QString TemplateFolder() { return Current().dataDir + QStringLiteral("/xls"); }

QString PictureFolder() { return Current().dataDir + QStringLiteral("/back"); }

QString LibraryFolder() { return Current().dataDir + QStringLiteral("/library"); }

QString TranslationFolder() { return Current().dataDir + QStringLiteral("/translations"); }

QString NamesFile() { return Current().dataDir + QStringLiteral("/names.csv"); }

QString GuideFolder()
{
    const Layout layout = Current();
    if (layout.installed) return QDir::cleanPath(layout.dataDir + QStringLiteral("/../doc/lorvane"));
    return layout.dataDir + QStringLiteral("/doc");
}

} // namespace ProgramFolders
