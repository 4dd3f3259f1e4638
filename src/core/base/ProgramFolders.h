// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where a copy of the program finds its database, templates, pictures and
// import files. One rule for every caller:
//
// - a Vantor.mdb beside the program (the build folder, a portable copy) makes
//   the program's folder hold everything, as it always has;
// - otherwise a program in <prefix>/bin with a <prefix>/share/lorvane folder is
//   installed: its files are read from share/lorvane, and its database is the
//   user's own $XDG_DATA_HOME/Lorvane/Vantor.mdb, copied from the installed
//   default on first start;
// - otherwise the program's folder again, whose missing database start-up
//   reports.
//
// Whether a folder is writable never enters the decision: root can write
// /usr/bin, and a read-only portable copy is still portable.
namespace ProgramFolders {

struct Layout {
    bool installed = false;
    QString programDir;
    // The folder of xls/, back/ and library/.
    QString dataDir;
    // The database the program opens.
    QString databasePath;
    // Installed: the default database the user's copy is made from.
    QString defaultDatabase;
};

Layout Locate(const QString &programDir);

// $XDG_DATA_HOME/Lorvane (~/.local/share/Lorvane when the variable is unset).
QString UserDataDir();

// For an installed program whose user has no database yet: copies the default
// into the user's folder. The copy is written under a temporary name and then
// renamed into place, so a half-written database never appears, and an
// existing file (even a broken one) is never replaced. True when the database
// file is there afterwards; false with the reason in `error` otherwise.
// A portable layout needs nothing: true.
bool PrepareDatabase(const Layout &layout, QString *error = nullptr);

// The layout start-up chose; before start-up, the running program's own.
Layout Current();
void SetCurrent(const Layout &layout);
void ResetCurrent();

QString TemplateFolder();    // xls
QString PictureFolder();     // back
QString LibraryFolder();     // library
QString TranslationFolder(); // translations: the interface in other languages
QString NamesFile();         // names.csv: minerals and types in three spellings
// The user guide: share/doc/lorvane when installed, doc beside the program when not.
QString GuideFolder();

} // namespace ProgramFolders
