// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;
namespace ProgramFolders {
struct Layout;
}

namespace subMain {

enum class StartResult { Refused, NoDatabase, Running };

// Start-up up to the shown main window: refuses a second copy, finds the
// database for a program in programDir (ProgramFolders), opens the shared
// connection on it, sets the visual style and shows the window that
// makeMainWindow creates. Messages go through the dialogs service.
StartResult Start(const QString &programDir, const std::function<QWidget *()> &makeMainWindow);

// Gives the shared connection's database the columns this version adds (an
// older Lorvane's file, with the user's own rows). False, after saying so, when
// the file cannot be upgraded (read-only, locked): it is then left as it was.
bool UpgradeDatabase(const QString &databasePath);

// The entry routine: Start with the program's own directory and the main
// window the program's main makes, then the event loop until it has closed.
int Main(const std::function<QWidget *()> &makeMainWindow);

// The database path start-up uses.
QString DatabasePath(const QString &programDir);

// The three lines shown when the database cannot be opened.
QString DatabaseMissingMessage(const ProgramFolders::Layout &layout);

// The lock that marks a running copy; tests hold it to play a first copy.
QString InstanceLockPath();
void ReleaseInstanceLock();

// What a second copy says before it ends.
QString AlreadyRunningMessage();

} // namespace subMain

namespace modXP {
// Applies the platform's style to the common controls; true when nothing failed.
bool InitVisualStyles();
} // namespace modXP
