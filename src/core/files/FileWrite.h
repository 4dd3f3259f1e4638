// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace FileWrite {

// Writes the bytes to a temporary file beside `path` and renames it over the
// target only when every byte is on disk: a full disk or any other failure
// leaves the file that was there as it was, and nothing else behind. On failure
// *error says why ("磁盘已满", …).
bool WriteWhole(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Why a file call failed, from its errno, in words a user can act on.
QString Reason(int errorNumber);

} // namespace FileWrite
