// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/database/Connection.h"

#include <QString>

// The one database connection the whole program shares. Start-up creates and
// opens it; it stays open until the process ends.
namespace mdlFunction {

// Creates the shared connection (client-side cursors, 10-second command limit)
// on the given database path and opens it. False after any failure; the reason
// is dropped, and the shared connection then exists but is closed.
bool OpenConnection(const QString &databasePath);

// The shared connection; nullptr before OpenConnection.
Connection *adoConn();

// Replaces the shared connection (start-up, and tests with a database of their own).
void setSharedConnection(Connection *connection);

extern const QString kConnectionStringPrefix;

} // namespace mdlFunction
