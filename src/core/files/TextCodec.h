// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Text file encoding: files are written in UTF-8; they are read as UTF-8 when the
// bytes are valid UTF-8 (a byte-order mark is dropped), otherwise as GB18030 so
// that files made on older Chinese Windows installations still read.
namespace TextCodec {

QString Decode(const QByteArray &bytes);
QByteArray Encode(const QString &text);
bool IsValidUtf8(const QByteArray &bytes);
// GB18030 to text; bytes that are not GB18030 either become U+FFFD.
QString FromGb18030(const QByteArray &bytes);
QByteArray ToGb18030(const QString &text);

} // namespace TextCodec
