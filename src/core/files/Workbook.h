// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <functional>
#include <optional>

// Spreadsheets (.xlsx), read and written. Written: made from an OOXML template
// (.xltx) whose first worksheet receives the rows from row 2 on; everything else
// of the template, row 1 included, stays as it is; failures raise AppError with
// the export's message and source. Read: the cells of the first worksheet, from
// a file that may come from anywhere - every member read in bounded pieces,
// every reference checked, nothing raised.
namespace Workbook {

// One row of a sheet as read: its cells from column A up to its last value
// (never past the header's width), and the sheet's row number.
struct SheetRow {
    QStringList cells;
    int line = 0;
    // A value past the header's last column: why, and that column (1-based).
    QString problem;
    int problemColumn = 0;
};

struct Sheet {
    QList<SheetRow> rows; // rows with a value; blank ones are dropped
    QString error;        // "无法读取工作表：…" and the like; no rows then
};

// The first worksheet named by the workbook, of a file or of a package in memory.
Sheet ReadFirstSheet(const QString &path);
Sheet ReadFirstSheetData(const QByteArray &package);

// The worksheet of that name (its sheet tab); "没有工作表…" when there is none.
Sheet ReadSheet(const QString &path, const QString &name);

// Rows of the first worksheet (or the one named), one at a time as they are
// read: the sheet is inflated and parsed a piece at a time, so memory stays the
// same however long it is (the shared strings excepted, which are held whole).
// The rows are those ReadFirstSheet gives, in order.
//
// onRow returns false to stop early (the caller cancelled); the function then
// returns at once with no error. `progress`, when given, is told the
// compressed bytes of the sheet read so far and their total, at most once a piece.
//
// Returns the error ReadFirstSheet gives ("无法读取工作表：…" and the like),
// empty on success. A row handed on cannot be taken back: when the sheet turns
// out broken after some rows (XML that breaks off, a bad reference further on,
// more than the cells allowed), those rows have been given already and the
// error comes only when the function returns; the caller then throws them away,
// as ReadFirstSheet does. Once an error is found no further row is given.
QString StreamFirstSheet(const QString &path, const std::function<bool(SheetRow &&)> &onRow,
                         const std::function<void(int64_t done, int64_t total)> &progress = {});
QString StreamFirstSheetData(const QByteArray &package, const std::function<bool(SheetRow &&)> &onRow,
                             const std::function<void(int64_t done, int64_t total)> &progress = {});
QString StreamSheet(const QString &path, const QString &name, const std::function<bool(SheetRow &&)> &onRow,
                    const std::function<void(int64_t done, int64_t total)> &progress = {});

extern const QString kErrorSource; // "ExportToExcel"
// The export's message in the user's language: what a failed export raises and says.
QString ErrorText();

// Excel's number for a workbook or template it cannot use.
constexpr int32_t kBrokenWorkbook = 1004;

// The package of a new workbook: a copy of the template whose first worksheet
// holds rows[i][j] as text in row i + 2, column j + 1 (A, B, ...). Empty texts
// leave their cells empty.
QByteArray Fill(const QString &templatePath, const QVector<QStringList> &rows);

// A cell of a new workbook: a number (stored as one, shown with `decimals`
// places, or in the general format when decimals < 0) or else a text.
struct Cell {
    QString text;
    std::optional<double> number;
    int decimals = -1;

    static Cell Text(const QString &t) { return {t, std::nullopt, -1}; }
    static Cell Number(double v, int places = -1) { return {QString(), v, places}; }
};
struct NewSheet {
    QString name;                // the sheet's tab (31 characters at most)
    QVector<QVector<Cell>> rows; // from row 1 on
    bool headingRow = true;      // row 1 bold and frozen
    QVector<int> widths;         // characters, per column from A
};
// The package of a new workbook holding the sheets in order. Failures raise
// AppError with the export's message and source.
QByteArray Create(const QVector<NewSheet> &sheets);

// Writes the package into the folder as "<baseName><n>.xlsx" with the smallest n
// from 1 on whose name is free, so that no earlier file is overwritten. Returns
// the path written.
QString SaveNew(const QString &folder, const QString &baseName, const QByteArray &package);

// Column letters of a 1-based column number (1 -> "A", 27 -> "AA").
QString ColumnName(int column);

// A text in the form cells store it: characters XML cannot carry and the
// escape pattern itself written as _xHHHH_.
QString CellText(const QString &text);

} // namespace Workbook
