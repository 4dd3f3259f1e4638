// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's file dialogs start: the folder last used for that kind of
// file, else the user's home; never a folder the user cannot write.
#include "ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(FileDialogFolder, LastUsedForItsKindElseHomeNeverOneThatCannotBeWritten)
{
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("share/lorvane/library"));
    const QString mine = dir.filePath(QStringLiteral("mine"));
    ASSERT_TRUE(QDir().mkpath(library) && QDir().mkpath(mine));
    QFile::setPermissions(library, QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    Dialogs::FileRequest request;
    request.kind = QStringLiteral("calibrations");
    request.initialDir = library;
    // (A superuser may write anywhere: only others meet the read-only library.)
    if (::geteuid() != 0) {
        EXPECT_EQ(Dialogs::StartFolder(request), QDir::homePath()) << "an installed library is read-only";
        Dialogs::RememberFolder(request.kind, library + QStringLiteral("/Ti.txt"));
        EXPECT_EQ(Dialogs::StartFolder(request), QDir::homePath()) << "even once a file was opened there";
    }
    Dialogs::RememberFolder(request.kind, mine + QStringLiteral("/rows.txt"));
    EXPECT_EQ(Dialogs::StartFolder(request), mine);

    request.kind = QStringLiteral("results");
    request.initialDir.clear();
    EXPECT_EQ(Dialogs::StartFolder(request), QDir::homePath()) << "each kind of file its own folder";
    QDir(mine).removeRecursively();
    request.kind = QStringLiteral("calibrations");
    EXPECT_EQ(Dialogs::StartFolder(request), QDir::homePath()) << "a folder since removed";
    QFile::setPermissions(library, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
