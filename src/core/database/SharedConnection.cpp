// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/database/SharedConnection.h"

#include "core/base/AppError.h"

#include <memory>

namespace mdlFunction {
namespace {
std::unique_ptr<Connection> g_owned;
Connection *g_shared = nullptr;
} // namespace

const QString kConnectionStringPrefix = QStringLiteral("provider=microsoft.jet.oledb.4.0;data source=");

bool OpenConnection(const QString &databasePath)
{
    try {
        g_owned = std::make_unique<Connection>();
        g_shared = g_owned.get();
        g_shared->setCursorLocation(3);
        g_shared->setCommandTimeout(10);
        g_shared->setConnectionString(kConnectionStringPrefix + databasePath);
        g_shared->Open();
        return true;
    } catch (const AppError &) {
        return false;
    }
}

Connection *adoConn() { return g_shared; }

void setSharedConnection(Connection *connection)
{
    if (g_owned.get() != connection) g_owned.reset();
    g_shared = connection;
}

} // namespace mdlFunction
