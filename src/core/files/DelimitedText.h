// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Plain delimited text: one record per line, one separator, no quoting.
// File types: 1 tab, 2 comma, 3 blank.
namespace DelimitedText {

// Splits a file's text into lines. CR LF, a lone CR and a lone LF each end a
// line; the last line needs no line end and an end at the very end adds no line.
QStringList SplitLines(const QString &text);

// Splits one line at the separator of the file type (type 2: the ASCII and the
// full-width comma). An empty line gives no fields; separators are not merged.
QStringList SplitFields(const QString &line, int fileType);

// The separator written for a file type.
QString WriteSeparator(int fileType);

bool IsValidFileType(int fileType);

// Fields padded or cut to exactly `count`, each trimmed of blanks.
QStringList FitFields(QStringList fields, int count);

// The records of a file's text, each fitted to `count` fields.
QVector<QStringList> ParseRecords(const QString &text, int fileType, int count);

// Lines joined with CR LF, with a final CR LF.
QString JoinLines(const QStringList &lines);

} // namespace DelimitedText
