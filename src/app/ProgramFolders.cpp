#include "app/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
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

bool PrepareDatabase(const Layout &layout, QString *error)
{
    if (!layout.installed || nameTaken(layout.databasePath)) return true;

    const QString folder = QFileInfo(layout.databasePath).absolutePath();
    if (!QDir().mkpath(folder)) return fail(error, QStringLiteral("cannot create %1").arg(folder));
    QFile source(layout.defaultDatabase);
    if (!source.open(QIODevice::ReadOnly))
        return fail(error,
                    QStringLiteral("cannot read %1: %2").arg(layout.defaultDatabase, source.errorString()));

    QTemporaryFile copy(folder + QStringLiteral("/.Vantor.mdb.XXXXXX"));
    if (!copy.open())
        return fail(error, QStringLiteral("cannot write in %1: %2").arg(folder, copy.errorString()));
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return fail(
                error,
                QStringLiteral("cannot read %1: %2").arg(layout.defaultDatabase, source.errorString()));
        if (copy.write(chunk) != chunk.size())
            return fail(error,
                        QStringLiteral("cannot write %1: %2").arg(copy.fileName(), copy.errorString()));
    }
    if (!copy.flush() || ::fsync(copy.handle()) != 0)
        return fail(error, QStringLiteral("cannot write %1").arg(copy.fileName()));

    // The temporary file's rename refuses a name that is taken, so a copy made
    // meanwhile stays as it is.
    if (!copy.rename(layout.databasePath)) {
        if (nameTaken(layout.databasePath)) return true;
        return fail(error,
                    QStringLiteral("cannot create %1: %2").arg(layout.databasePath, copy.errorString()));
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

} // namespace ProgramFolders
