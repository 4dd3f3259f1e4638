// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/BatchTable.h"

#include <QString>
#include <functional>

class QLabel;
class QTableWidget;
class QToolBar;
class QWidget;

// The sample tables of the batch windows: rows typed, pasted from a spreadsheet
// or imported, always with spare empty rows below the last one in use.
namespace SampleTable {

constexpr int kSpareRows = 20;

bool RowHasText(const QTableWidget *table, int row);
// The rows with any text, cells trimmed, each with its 1-based table row as line.
QList<Batch::Row> Rows(const QTableWidget *table);
// Writes rows after the last row with text; the first and last rows written.
std::pair<int, int> Append(QTableWidget *table, const QList<Batch::Row> &rows);
// Tab-separated cells at the current cell; a header row (which map recognises)
// puts named columns in their places from the first empty row. The rows
// written, or an error of map's.
struct Pasted {
    int first = 0, last = -1;
    QString error;
};
Pasted Paste(QTableWidget *table, const QString &text,
             const std::function<Batch::Mapped(const QList<Batch::Row> &)> &map);
void EnsureSpareRows(QTableWidget *table);
// Shades the cells with a problem (column -> why) in a row, the why as tool tip.
void MarkRow(QTableWidget *table, int row, const std::function<QString(int column)> &problemOf);

QLabel *ToolbarLabel(QToolBar *bar, const QString &text);

// The file a save dialog chose, with the first or second of its two kinds
// (*isSecond): the name's own suffix decides, else the filter chosen, and a
// name without either suffix gets the kind's. Empty when cancelled.
QString SaveAs(QWidget *parent, const QString &title, const QString &filter, const QString &first,
               const QString &second, bool *isSecond);

// Writes results lines to path: CSV (a byte-order mark, so that spreadsheet
// programs read the Chinese as UTF-8, the titles, CR LF) or the first sheet of
// the named template beside the program. Whole or not at all: a full disk leaves
// the file that was there as it was. A failure raises AppError naming the file.
void WriteResults(const QString &path, bool csv, const QStringList &titles, const QVector<QStringList> &lines,
                  const QString &templateName, const QString &source);

} // namespace SampleTable
