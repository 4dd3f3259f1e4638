// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/store/CalibrationLibrary.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The sample table of a batch: one row per sample, cells as the user typed,
// pasted or imported them. Widget-free, shared by the batch window and the
// command line.
namespace Batch {

// Canonical columns. Isotope: 样品 同位素 矿物A 矿物B δA σA δB σB.
// Trace: 样品 元素 矿物A 矿物B 含量A σA 含量B σB K, then the conditions the
// sample formed at, each with its σ: pressure (kbar), aTiO2, aSiO2 and the
// composition variable X of the calibrations that take them.
enum Column {
    Sample = 0,
    Type = 1,
    MineralA = 2,
    MineralB = 3,
    ValueA = 4,
    SigmaA = 5,
    ValueB = 6,
    SigmaB = 7,
    K = 8,
    Pressure = 9,
    SigmaPressure = 10,
    ATiO2 = 11,
    SigmaATiO2 = 12,
    ASiO2 = 13,
    SigmaASiO2 = 14,
    X = 15,
    SigmaX = 16
};

// Mineral B of a one-mineral thermometer: K is a concentration in mineral A.
inline const QString kSingleMineral = QStringLiteral("单矿物");

int ColumnCount(Kind kind);
// The window's column titles.
QStringList ColumnTitles(Kind kind);
// The English header names the files may use instead.
QStringList EnglishNames(Kind kind);
// The canonical column a header cell names (Chinese title or English form, any
// case, blanks around ignored); -1 for none.
int ColumnOfHeader(Kind kind, const QString &header);

struct Row {
    QStringList cells; // ColumnCount(kind) cells
    int line = 0;      // line (or spreadsheet row) it came from, 1-based; 0 when typed
    // A row that cannot be read as it stands (more fields than the header, say):
    // why, and the 1-based column of the source at fault.
    QString problem;
    int problemColumn = 0;
};

// A cell that cannot be used, with why ("不是数字：…").
struct CellProblem {
    int row = 0;    // index into the rows
    int column = 0; // canonical column
    QString why;
};

// The numbers of one row. A value that is not given is empty; a σ that is not
// given means no uncertainty for that value.
struct Values {
    std::optional<double> a, sigmaA, b, sigmaB, k;
    // Trace: the conditions (activities empty when not given: they then count as 1).
    std::optional<double> pressure, sigmaPressure, aTiO2, sigmaATiO2, aSiO2, sigmaASiO2, x, sigmaX;
};

// Reads the numeric cells of a row with the calculators' numeric test; every
// problem is reported, none is skipped.
Values ReadValues(Kind kind, const Row &row, int rowIndex, QList<CellProblem> *problems);
// The member of Values a numeric column fills (columns ValueA on); null for the others.
std::optional<double> *ValueOfColumn(Values *v, int column);

// Rows of cells split from delimited text: CSV (quotes as in RFC 4180; a
// semicolon separates when the first line has semicolons and no commas) or tab
// separated. Blank lines are dropped; each row keeps its line number.
QList<Row> SplitDelimited(const QString &text, QChar separator);
QChar GuessSeparator(const QString &firstLine, bool csvFile);
// Blanks the "#" lines above a table (the parameters an export writes there),
// keeping every line's number, and gives the separator its first line shows.
QChar PrepareTable(QString *text, bool csvFile);
// A field as CSV writes it: quoted (quotes doubled) when it holds a comma, a quote or a line end.
QString CsvField(const QString &text);

// Rows of a table whose first row may be a header. A header (a row in which at
// least two cells name columns) maps the columns by name, in any order, and is
// dropped; without one the cells are taken in the canonical order. A header
// that names no sample values is an error (returned, rows untouched).
struct Mapped {
    QList<Row> rows;
    bool hadHeader = false;
    // For each canonical column, its 1-based position in the source; 0 when absent.
    QList<int> sourceColumn;
    QString error;
};
Mapped MapColumns(Kind kind, const QList<Row> &raw);

// The columns of another sample table: how many, their titles, which header
// names which column, and which columns hold the sample values a header must name.
struct ColumnSet {
    QStringList titles;
    std::function<int(const QString &)> columnOfHeader; // -1 for none
    QList<int> valueColumns;
};
Mapped MapColumns(const ColumnSet &columns, const QList<Row> &raw);
// The same as ReadSampleFile for such a table.
Mapped ReadSampleFile(const ColumnSet &columns, const QString &path);

// The cells of a sample file: .csv, .tsv/.txt (tab separated) or .xlsx (first
// worksheet). A file that cannot be read gives the reason in `error`.
struct FileCells {
    QList<Row> rows;
    QString error;
};
FileCells ReadFileCells(const QString &path);
// The cells of the first worksheet of an .xlsx package held in memory.
FileCells ReadWorkbookData(const QByteArray &package);

// ReadFileCells then MapColumns; a file with no sample rows is an error too.
Mapped ReadSampleFile(Kind kind, const QString &path);

} // namespace Batch
