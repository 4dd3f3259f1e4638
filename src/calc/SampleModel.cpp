// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/SampleModel.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

using namespace Batch;

namespace {

// The titles of the sample columns are also the names an imported file's header
// is matched by and a saved run's samples sheet is read back by: they stay as
// they are, and the header shows them in the language of the interface.
const char *const kShownTitles[] = {
    QT_TRANSLATE_NOOP("SampleModel", "样品"),  QT_TRANSLATE_NOOP("SampleModel", "同位素"),
    QT_TRANSLATE_NOOP("SampleModel", "元素"),  QT_TRANSLATE_NOOP("SampleModel", "矿物A"),
    QT_TRANSLATE_NOOP("SampleModel", "矿物B"), QT_TRANSLATE_NOOP("SampleModel", "含量A"),
    QT_TRANSLATE_NOOP("SampleModel", "含量B"), QT_TRANSLATE_NOOP("SampleModel", "压力(kbar)")};

} // namespace

SampleModel::SampleModel(Kind kind, QObject *parent) : QAbstractTableModel(parent), table_(kind) {}

int SampleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : used_ + kSpareRows;
}

int SampleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.columnCount();
}

QVariant SampleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= table_.rowCount()) return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return table_.text(index.row(), index.column());
    case Qt::ToolTipRole: {
        const QString why = table_.cellProblem(index.row(), index.column());
        return why.isEmpty() ? QVariant() : QVariant(why);
    }
    case Qt::BackgroundRole:
        if (!table_.cellProblem(index.row(), index.column()).isEmpty()) return QBrush(QColor(255, 210, 210));
        return QVariant();
    default: return QVariant();
    }
}

bool SampleModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int before = rowCount();
    setCell(index.row(), index.column(), value.toString());
    updateUsed();
    settle(before);
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    emit edited();
    return true;
}

Qt::ItemFlags SampleModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant SampleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const QString title = ColumnTitles(table_.kind()).value(section);
        for (const char *shown : kShownTitles)
            if (title == QString::fromUtf8(shown)) return tr(shown);
        return title;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

QList<Row> SampleModel::rows() const
{
    QList<Row> out;
    for (int r = 0; r < used_; ++r) {
        if (!table_.rowHasText(r)) continue;
        Row row = table_.row(r);
        row.line = r + 1;
        out << row;
    }
    return out;
}

void SampleModel::setCell(int row, int column, const QString &text)
{
    const QString trimmed = text.trimmed();
    if (row >= table_.rowCount() && trimmed.isEmpty()) return;
    table_.setText(row, column, trimmed);
    table_.setLine(row, row + 1);
}

void SampleModel::updateUsed()
{
    int r = int(table_.rowCount());
    while (r > 0 && !table_.rowHasText(r - 1)) --r;
    // Blank rows at the end are not kept.
    if (r < table_.rowCount()) table_.resize(r);
    used_ = r;
}

void SampleModel::settle(int oldCount)
{
    const int now = rowCount();
    if (now > oldCount) {
        beginInsertRows({}, oldCount, now - 1);
        endInsertRows();
    } else if (now < oldCount) {
        beginRemoveRows({}, now, oldCount - 1);
        endRemoveRows();
    }
}

std::pair<int, int> SampleModel::append(const QList<Row> &rows)
{
    SampleColumns added(table_.kind());
    added.reserve(rows.size());
    for (const Row &r : rows) {
        Row trimmed = r;
        for (QString &c : trimmed.cells) c = c.trimmed();
        added.append(trimmed);
    }
    return append(std::move(added));
}

std::pair<int, int> SampleModel::append(SampleColumns rows)
{
    const int start = used_;
    if (rows.isEmpty()) return {start, start - 1};
    const int before = rowCount();
    table_.resize(used_);
    if (table_.isEmpty())
        table_ = std::move(rows); // an import into an empty table: nothing copied
    else
        table_.append(rows);
    for (int64_t r = start; r < table_.rowCount(); ++r) table_.setLine(r, int(r + 1));
    updateUsed();
    settle(before);
    const int last = int(table_.rowCount()) - 1;
    emit dataChanged(index(start, 0), index(last, columnCount() - 1));
    emit edited();
    return {start, last};
}

namespace {

// The text in pieces of about a megabyte, each cut after a line end outside
// quotes, so that a sheet's worth of cells is never split into rows all at once.
QList<QStringView> piecesOf(const QString &text)
{
    constexpr qsizetype kPiece = 1 << 20;
    QList<QStringView> pieces;
    qsizetype start = 0, quotes = 0, i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar ch = text[i++];
        if (ch == QLatin1Char('"')) ++quotes;
        if (ch == QLatin1Char('\n') && quotes % 2 == 0 && i - start >= kPiece) {
            pieces << QStringView(text).mid(start, i - start);
            start = i;
        }
    }
    if (start < n) pieces << QStringView(text).mid(start);
    return pieces;
}

} // namespace

SampleModel::Block SampleModel::Prepare(Kind kind, const QString &text, int row, int column,
                                        const std::function<Mapped(const QList<Row> &)> &map)
{
    Block block;
    block.cells = SampleColumns(kind);
    const int columns = ColumnCount(kind);
    bool first = true;
    Row header;
    for (const QStringView piece : piecesOf(text)) {
        QList<Row> raw = SplitDelimited(piece.toString(), QLatin1Char('\t'));
        if (raw.isEmpty()) continue;
        // The first piece says whether a header names the columns; it then maps every piece.
        if (!first && block.atEnd) raw.prepend(header);
        const Mapped mapped = map(raw);
        if (!mapped.error.isEmpty()) {
            block.error = mapped.error;
            return block;
        }
        if (first) {
            first = false;
            // Named columns go where their names say, from the first empty row.
            block.atEnd = mapped.hadHeader;
            if (mapped.hadHeader) header = raw.first();
            block.row = mapped.hadHeader ? 0 : std::max(0, row);
            block.column = mapped.hadHeader ? 0 : std::max(0, column);
        }
        block.cells.reserve(block.cells.rowCount() + mapped.rows.size());
        for (int i = 0; i < mapped.rows.size(); ++i) {
            const Row &given = mapped.hadHeader ? mapped.rows[i] : raw[i];
            Row placed;
            const int width = std::min(int(given.cells.size()), columns - block.column);
            for (int c = 0; c < block.column; ++c) placed.cells << QString();
            for (int c = 0; c < width; ++c) placed.cells << given.cells[c].trimmed();
            block.cells.append(placed);
            block.widths.push_back(std::max(width, 0));
        }
    }
    return block;
}

SampleModel::Pasted SampleModel::place(Block block)
{
    Pasted out;
    if (!block.error.isEmpty()) {
        out.error = block.error;
        return out;
    }
    const int count = int(block.widths.size());
    if (count == 0) return out;
    const int before = rowCount();
    const int r0 = block.atEnd ? used_ : block.row;
    if (r0 >= used_ && block.column == 0) {
        // Below the rows in use: the block joins the table whole.
        table_.resize(r0);
        if (table_.isEmpty())
            table_ = std::move(block.cells);
        else
            table_.append(block.cells);
        for (int64_t r = r0; r < table_.rowCount(); ++r) table_.setLine(r, int(r + 1));
    } else {
        for (int i = 0; i < count; ++i)
            for (int c = 0; c < block.widths[size_t(i)]; ++c)
                setCell(r0 + i, block.column + c, block.cells.text(i, block.column + c));
    }
    updateUsed();
    settle(before);
    out.first = r0;
    out.last = r0 + count - 1;
    emit dataChanged(index(r0, 0), index(std::max(r0, out.last), columnCount() - 1));
    emit edited();
    return out;
}

void SampleModel::clearCells(const QModelIndexList &cells)
{
    if (cells.isEmpty()) return;
    const int before = rowCount();
    for (const QModelIndex &i : cells)
        if (i.row() < table_.rowCount()) table_.setText(i.row(), i.column(), QString());
    updateUsed();
    settle(before);
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit edited();
}
