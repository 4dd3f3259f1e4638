// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

// The key of a stored record, in a catalogue and on its list row: "A" and the
// record's identifier (a key must not start with a digit).
inline QString RowKey(int32_t id) { return QStringLiteral("A") + QString::number(id); }
// The identifier in a key; 0 for a key that holds none.
inline int32_t RowKeyId(const QString &key) { return key.mid(1).toInt(); }
