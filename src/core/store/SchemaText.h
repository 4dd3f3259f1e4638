// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class Connection;

// Doubles every single quote, so that a text can stand between quotes in a statement.
QString EscapeSqlText(const QString &text);

// The identifier for the next insert: the maximum that `maxQuery` returns plus 1,
// or 1 when the table is empty. Database errors pass to the caller.
int32_t NextIdentifier(Connection &connection, const QString &maxQuery);
