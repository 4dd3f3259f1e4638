// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/BatchTable.h"

#include "core/base/NumberText.h"
#include "core/files/TextCodec.h"
#include "core/thermometry/SampleColumns.h"

#include "core/files/Workbook.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace Batch {

int ColumnCount(Kind kind) { return kind == Kind::Isotope ? 8 : 17; }

QStringList ColumnTitles(Kind kind)
{
    if (kind == Kind::Isotope)
        return {QStringLiteral("样品"),  QStringLiteral("同位素"), QStringLiteral("矿物A"),
                QStringLiteral("矿物B"), QStringLiteral("δA"),     QStringLiteral("σA"),
                QStringLiteral("δB"),    QStringLiteral("σB")};
    return {QStringLiteral("样品"),       QStringLiteral("元素"),     QStringLiteral("矿物A"),
            QStringLiteral("矿物B"),      QStringLiteral("含量A"),    QStringLiteral("σA"),
            QStringLiteral("含量B"),      QStringLiteral("σB"),       QStringLiteral("K"),
            QStringLiteral("压力(kbar)"), QStringLiteral("σP(kbar)"), QStringLiteral("aTiO₂"),
            QStringLiteral("σaTiO₂"),     QStringLiteral("aSiO₂"),    QStringLiteral("σaSiO₂"),
            QStringLiteral("X"),          QStringLiteral("σX")};
}

QStringList EnglishNames(Kind kind)
{
    if (kind == Kind::Isotope)
        return {QStringLiteral("sample"),    QStringLiteral("type"),    QStringLiteral("mineral_a"),
                QStringLiteral("mineral_b"), QStringLiteral("delta_a"), QStringLiteral("sigma_a"),
                QStringLiteral("delta_b"),   QStringLiteral("sigma_b")};
    return {QStringLiteral("sample"),      QStringLiteral("element"), QStringLiteral("mineral_a"),
            QStringLiteral("mineral_b"),   QStringLiteral("conc_a"),  QStringLiteral("sigma_a"),
            QStringLiteral("conc_b"),      QStringLiteral("sigma_b"), QStringLiteral("k"),
            QStringLiteral("P_kbar"),      QStringLiteral("sigma_P"), QStringLiteral("a_TiO2"),
            QStringLiteral("sigma_aTiO2"), QStringLiteral("a_SiO2"),  QStringLiteral("sigma_aSiO2"),
            QStringLiteral("X"),           QStringLiteral("sigma_X")};
}

int ColumnOfHeader(Kind kind, const QString &header)
{
    const QString h = header.trimmed();
    const QStringList titles = ColumnTitles(kind), english = EnglishNames(kind);
    for (int c = 0; c < titles.size(); ++c)
        if (h.compare(titles[c], Qt::CaseInsensitive) == 0 || h.compare(english[c], Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

std::optional<double> *ValueOfColumn(Values *v, int column)
{
    switch (column) {
    case ValueA: return &v->a;
    case SigmaA: return &v->sigmaA;
    case ValueB: return &v->b;
    case SigmaB: return &v->sigmaB;
    case K: return &v->k;
    case Pressure: return &v->pressure;
    case SigmaPressure: return &v->sigmaPressure;
    case ATiO2: return &v->aTiO2;
    case SigmaATiO2: return &v->sigmaATiO2;
    case ASiO2: return &v->aSiO2;
    case SigmaASiO2: return &v->sigmaASiO2;
    case X: return &v->x;
    case SigmaX: return &v->sigmaX;
    }
    return nullptr;
}

Values ReadValues(Kind kind, const Row &row, int rowIndex, QList<CellProblem> *problems)
{
    Values v;
    auto number = [&](int column, std::optional<double> *out) {
        double value = 0;
        QString why;
        if (ReadCell(column, row.cells.value(column).trimmed(), &value, &why))
            *out = value;
        else if (!why.isEmpty() && problems)
            problems->append({rowIndex, column, why});
    };
    for (int column = ValueA; column < ColumnCount(kind); ++column) number(column, ValueOfColumn(&v, column));
    return v;
}

QChar GuessSeparator(const QString &firstLine, bool csvFile)
{
    if (!csvFile) return QLatin1Char('\t');
    if (firstLine.contains(QLatin1Char(';')) && !firstLine.contains(QLatin1Char(',')))
        return QLatin1Char(';');
    return QLatin1Char(',');
}

QChar PrepareTable(QString *text, bool csvFile)
{
    // Blanked, not removed, so that every row keeps its line number.
    for (qsizetype at = 0; at < text->size() && text->at(at) == QLatin1Char('#');) {
        const qsizetype end = text->indexOf(QLatin1Char('\n'), at);
        const qsizetype stop = end < 0 ? text->size() : end;
        text->replace(at, stop - at, QString());
        at = end < 0 ? text->size() : at + 1;
    }
    qsizetype first = 0;
    while (first < text->size() &&
           (text->at(first) == QLatin1Char('\n') || text->at(first) == QLatin1Char('\r')))
        ++first;
    return GuessSeparator(text->mid(first).section(QLatin1Char('\n'), 0, 0), csvFile);
}

QString CsvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QList<Row> SplitDelimited(const QString &text, QChar separator)
{
    QList<Row> rows;
    Row row;
    QString cell;
    int line = 1, rowLine = 1;
    bool quoted = false, cellStarted = false;
    auto endCell = [&] {
        row.cells << cell;
        cell.clear();
        cellStarted = false;
    };
    auto endRow = [&] {
        endCell();
        bool blank = true;
        for (const QString &c : row.cells) blank = blank && c.trimmed().isEmpty();
        if (!blank) {
            row.line = rowLine;
            rows << row;
        }
        row = Row();
    };
    const qsizetype n = text.size();
    const QChar *data = text.constData();
    // Runs of ordinary characters are taken whole; only the characters that
    // end a cell, a row or a quotation are looked at one by one.
    auto runEnd = [&](qsizetype from) {
        qsizetype j = from;
        if (quoted)
            while (j < n && data[j] != QLatin1Char('"') && data[j] != QLatin1Char('\n')) ++j;
        else
            while (j < n && data[j] != separator && data[j] != QLatin1Char('\r') &&
                   data[j] != QLatin1Char('\n') && data[j] != QLatin1Char('"'))
                ++j;
        return j;
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (const qsizetype end = runEnd(i); end > i) {
            cell.append(data + i, end - i);
            i = end - 1;
            continue;
        }
        const QChar ch = data[i];
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    cell += QLatin1Char('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (ch == QLatin1Char('\n')) ++line;
                cell += ch;
            }
            continue;
        }
        if (ch == QLatin1Char('"') && !cellStarted && cell.trimmed().isEmpty()) {
            quoted = true;
            cellStarted = true;
            cell.clear();
        } else if (ch == separator) {
            endCell();
        } else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            endRow();
            rowLine = ++line;
        } else {
            cell += ch;
        }
    }
    if (!cell.isEmpty() || !row.cells.isEmpty()) endRow();
    return rows;
}

namespace {

// A header that names none of the sample values: the columns it should name,
// joined by a separator of the user's language.
QString missingValuesText(const QStringList &names)
{
    return QCoreApplication::translate("Batch", "表头中没有样品数值列（%1）")
        .arg(names.join(QCoreApplication::translate("Batch", "、")));
}

} // namespace

Mapped MapColumns(Kind kind, const QList<Row> &raw)
{
    ColumnSet set;
    set.titles = ColumnTitles(kind);
    set.columnOfHeader = [kind](const QString &h) { return ColumnOfHeader(kind, h); };
    set.valueColumns = {ValueA, ValueB};
    if (kind == Kind::Trace) set.valueColumns << K;
    Mapped out = MapColumns(set, raw);
    // The error names the value columns as the tables always have: from the first on.
    if (!out.error.isEmpty())
        out.error = missingValuesText(set.titles.mid(ValueA, kind == Kind::Trace ? 5 : 4));
    return out;
}

Mapped MapColumns(const ColumnSet &columns, const QList<Row> &raw)
{
    Mapped out;
    const int count = int(columns.titles.size());
    QList<int> columnOf; // raw position -> canonical column
    if (!raw.isEmpty()) {
        int named = 0;
        for (const QString &h : raw.first().cells) {
            columnOf << columns.columnOfHeader(h);
            if (columnOf.last() >= 0) ++named;
        }
        out.hadHeader = named >= 2;
    }
    if (out.hadHeader) {
        bool values = false;
        for (int c : columns.valueColumns) values = values || columnOf.contains(c);
        if (!values) {
            QStringList names;
            for (int c : columns.valueColumns) names << columns.titles.value(c);
            out.error = missingValuesText(names);
            return out;
        }
    } else {
        columnOf.clear();
        for (int c = 0; c < count; ++c) columnOf << c;
    }
    for (int c = 0; c < count; ++c) out.sourceColumn << int(columnOf.indexOf(c) + 1);
    // A field past the header (or past the last column without one) has no
    // column to go to: an unquoted decimal comma ("20,5") splits a number and
    // shifts every later field, so such a row is refused, never cut.
    const qsizetype width = out.hadHeader ? raw.first().cells.size() : count;
    for (qsizetype r = out.hadHeader ? 1 : 0; r < raw.size(); ++r) {
        const Row &source = raw[r];
        Row row;
        row.line = source.line;
        row.problem = source.problem;
        row.problemColumn = source.problemColumn;
        for (int c = 0; c < count; ++c) row.cells << QString();
        for (qsizetype i = 0; i < source.cells.size(); ++i) {
            if (i >= width) {
                if (row.problem.isEmpty() && !source.cells[i].trimmed().isEmpty()) {
                    row.problem = QCoreApplication::translate("Batch", "字段多于表头（小数逗号须加引号）：%1")
                                      .arg(source.cells[i].left(40));
                    row.problemColumn = int(i + 1);
                }
                continue;
            }
            if (i < columnOf.size() && columnOf[i] >= 0) row.cells[columnOf[i]] = source.cells[i].trimmed();
        }
        out.rows << row;
    }
    return out;
}

namespace {

FileCells fromSheet(Workbook::Sheet sheet)
{
    FileCells out;
    out.error = sheet.error;
    out.rows.reserve(sheet.rows.size());
    for (Workbook::SheetRow &r : sheet.rows) {
        Row row;
        row.cells = std::move(r.cells);
        row.line = r.line;
        row.problem = r.problem;
        row.problemColumn = r.problemColumn;
        out.rows << row;
    }
    return out;
}

} // namespace

FileCells ReadWorkbookData(const QByteArray &package)
{
    return fromSheet(Workbook::ReadFirstSheetData(package));
}

FileCells ReadFileCells(const QString &path)
{
    FileCells out;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx")) return fromSheet(Workbook::ReadFirstSheet(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = QCoreApplication::translate("Batch", "无法打开文件");
        return out;
    }
    QString text = TextCodec::Decode(file.readAll());
    const QChar separator = PrepareTable(&text, suffix == QLatin1String("csv"));
    out.rows = SplitDelimited(text, separator);
    return out;
}

namespace {

Mapped readSampleFile(const QString &path, const std::function<Mapped(const QList<Row> &)> &map)
{
    const FileCells cells = ReadFileCells(path);
    if (!cells.error.isEmpty()) {
        Mapped m;
        m.error = cells.error;
        return m;
    }
    Mapped m = map(cells.rows);
    if (m.error.isEmpty() && m.rows.isEmpty())
        m.error = m.hadHeader ? QCoreApplication::translate("Batch", "文件只有表头，没有样品行")
                              : QCoreApplication::translate("Batch", "文件中没有样品行");
    return m;
}

} // namespace

Mapped ReadSampleFile(Kind kind, const QString &path)
{
    return readSampleFile(path, [kind](const QList<Row> &rows) { return MapColumns(kind, rows); });
}

Mapped ReadSampleFile(const ColumnSet &columns, const QString &path)
{
    return readSampleFile(path, [&columns](const QList<Row> &rows) { return MapColumns(columns, rows); });
}

} // namespace Batch
