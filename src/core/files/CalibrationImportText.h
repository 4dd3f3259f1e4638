// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

// Reading a tab-delimited calibration file: every line (the first included) is
// one row, cut at each tab into fields with their blanks removed.
namespace CalibrationImportText {

// A line with more fields than the list has value columns.
constexpr int32_t kTooManyFields = 380;
QString TooManyFieldsText();

struct Rows {
    // The rows read, in file order, up to the first line with too many fields.
    QVector<QStringList> rows;
    // Reading stopped at a failure; its number and description.
    bool failed = false;
    int32_t errorNumber = 0;
    QString errorText;
};

// The rows of a file's text; at most maxFields fields per line.
Rows Parse(const QString &text, int maxFields);

// The rows of a file (UTF-8, or GB18030 when the bytes are not UTF-8). A file
// that cannot be opened or read gives no rows and its failure.
Rows ReadFile(const QString &fileName, int maxFields);

} // namespace CalibrationImportText
