#include "calc/SampleModel.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

using namespace Batch;

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
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return ColumnTitles(table_.kind()).value(section);
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

SampleModel::Pasted SampleModel::paste(const QString &text, int row, int column,
                                       const std::function<Mapped(const QList<Row> &)> &map)
{
    Pasted out;
    const QList<Row> raw = SplitDelimited(text, QLatin1Char('\t'));
    if (raw.isEmpty()) return out;
    const Mapped mapped = map(raw);
    if (!mapped.error.isEmpty()) {
        out.error = mapped.error;
        return out;
    }
    const int before = rowCount();
    // Named columns go where their names say, from the first empty row.
    const int r0 = mapped.hadHeader ? used_ : std::max(0, row);
    const int c0 = mapped.hadHeader ? 0 : std::max(0, column);
    for (int i = 0; i < mapped.rows.size(); ++i) {
        const Row &cells = mapped.hadHeader ? mapped.rows[i] : raw[i];
        for (int c = 0; c < cells.cells.size() && c0 + c < columnCount(); ++c)
            setCell(r0 + i, c0 + c, cells.cells[c]);
    }
    updateUsed();
    settle(before);
    out.first = r0;
    out.last = r0 + int(mapped.rows.size()) - 1;
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
