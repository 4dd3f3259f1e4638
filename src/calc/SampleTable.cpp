// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/SampleTable.h"

#include "core/base/AppError.h"
#include "core/base/ProgramFolders.h"
#include "core/files/FileWrite.h"
#include "core/files/Workbook.h"
#include "ui/Dialogs.h"

#include <QChart>

#include <QBrush>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolBar>

namespace SampleTable {

bool RowHasText(const QTableWidget *table, int r)
{
    for (int c = 0; c < table->columnCount(); ++c)
        if (const QTableWidgetItem *item = table->item(r, c))
            if (!item->text().trimmed().isEmpty()) return true;
    return false;
}

namespace {

// The first row after the last one with text.
int firstFree(const QTableWidget *table)
{
    int r = table->rowCount();
    while (r > 0 && !RowHasText(table, r - 1)) --r;
    return r;
}

} // namespace

QList<Batch::Row> Rows(const QTableWidget *table)
{
    QList<Batch::Row> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (!RowHasText(table, r)) continue;
        Batch::Row row;
        row.line = r + 1;
        for (int c = 0; c < table->columnCount(); ++c) {
            const QTableWidgetItem *item = table->item(r, c);
            row.cells << (item ? item->text().trimmed() : QString());
        }
        rows << row;
    }
    return rows;
}

std::pair<int, int> Append(QTableWidget *table, const QList<Batch::Row> &rows)
{
    const int start = firstFree(table);
    const QSignalBlocker block(table);
    table->setRowCount(std::max(table->rowCount(), start + int(rows.size())));
    for (int i = 0; i < rows.size(); ++i)
        for (int c = 0; c < table->columnCount(); ++c)
            table->setItem(start + i, c, new QTableWidgetItem(rows[i].cells.value(c)));
    EnsureSpareRows(table);
    return {start, start + int(rows.size()) - 1};
}

Pasted Paste(QTableWidget *table, const QString &text,
             const std::function<Batch::Mapped(const QList<Batch::Row> &)> &map)
{
    Pasted out;
    const QList<Batch::Row> raw = Batch::SplitDelimited(text, QLatin1Char('\t'));
    if (raw.isEmpty()) return out;
    const Batch::Mapped mapped = map(raw);
    if (!mapped.error.isEmpty()) {
        out.error = mapped.error;
        return out;
    }
    const QSignalBlocker block(table);
    // Named columns go where their names say, from the first empty row.
    const int r0 = mapped.hadHeader ? firstFree(table) : std::max(0, table->currentRow());
    const int c0 = mapped.hadHeader ? 0 : std::max(0, table->currentColumn());
    table->setRowCount(std::max(table->rowCount(), r0 + int(mapped.rows.size())));
    for (int i = 0; i < mapped.rows.size(); ++i) {
        const Batch::Row &row = mapped.hadHeader ? mapped.rows[i] : raw[i];
        for (int c = 0; c < row.cells.size() && c0 + c < table->columnCount(); ++c)
            table->setItem(r0 + i, c0 + c, new QTableWidgetItem(row.cells[c].trimmed()));
    }
    EnsureSpareRows(table);
    out.first = r0;
    out.last = r0 + int(mapped.rows.size()) - 1;
    return out;
}

void EnsureSpareRows(QTableWidget *table)
{
    const int last = firstFree(table);
    if (table->rowCount() - last < kSpareRows) {
        const QSignalBlocker block(table);
        table->setRowCount(last + kSpareRows);
    }
}

void MarkRow(QTableWidget *table, int r, const std::function<QString(int column)> &problemOf)
{
    const QSignalBlocker block(table);
    for (int c = 0; c < table->columnCount(); ++c) {
        QTableWidgetItem *item = table->item(r, c);
        if (!item) continue;
        const QString why = problemOf(c);
        item->setBackground(why.isEmpty() ? QBrush() : QBrush(QColor(255, 210, 210)));
        item->setToolTip(why);
    }
}

QLabel *ToolbarLabel(QToolBar *bar, const QString &text)
{
    auto *l = new QLabel(text, bar);
    l->setContentsMargins(6, 0, 2, 0);
    bar->addWidget(l);
    return l;
}

QString SaveAs(QWidget *parent, const QString &title, const QString &filter, const QString &first,
               const QString &second, bool *isSecond)
{
    Dialogs::FileRequest request;
    request.title = title;
    request.filter = filter;
    request.kind = first == QLatin1String("png")   ? QStringLiteral("chart")
                   : first == QLatin1String("bib") ? QStringLiteral("references")
                                                   : QStringLiteral("results");
    const Dialogs::FileResult file = Dialogs::instance().saveFile(parent, request);
    if (file.cancelled) return QString();
    const QString suffix = QFileInfo(file.fileName).suffix().toLower();
    *isSecond = suffix == second || (suffix != first && file.filterIndex == 2);
    if (suffix == first || suffix == second) return file.fileName;
    return file.fileName + QLatin1Char('.') + (*isSecond ? second : first);
}

void WriteResults(const QString &path, bool csv, const QStringList &titles, const QVector<QStringList> &lines,
                  const QString &templateName, const QString &source)
{
    QByteArray bytes;
    if (csv) {
        bytes = QByteArrayLiteral("\xEF\xBB\xBF");
        QStringList out{titles.join(QLatin1Char(','))};
        for (const QStringList &cells : lines) {
            QStringList fields;
            for (const QString &c : cells) fields << Batch::CsvField(c);
            out << fields.join(QLatin1Char(','));
        }
        bytes += (out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    } else {
        bytes = Workbook::Fill(ProgramFolders::TemplateFolder() + QLatin1Char('/') + templateName, lines);
    }
    QString why;
    if (!FileWrite::WriteWhole(path, bytes, &why))
        throw AppError(ErrNo::FileAccess, source,
                       QCoreApplication::translate("SampleTable", "无法写入文件：%1\n%2").arg(path, why));
}

} // namespace SampleTable
