// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/StoredRowItem.h"

#include "core/base/NumberText.h"
#include "core/store/RowKey.h"

namespace {
quint8 bit(int column) { return quint8(1u << (column - 1)); }
} // namespace

StoredRowItem::StoredRowItem(int32_t id, const QString &owner, const QIcon &okIcon)
    : id_(id), owner_(owner), icon_(okIcon)
{
}

void StoredRowItem::setNumber(int column, float value)
{
    numbers_[size_t(column - 1)] = value;
    unformatted_ |= bit(column);
}

QString StoredRowItem::cellText(int column) const
{
    const size_t at = size_t(column - 1);
    if (unformatted_ & bit(column)) {
        texts_[at] = Num::Str(numbers_[at]);
        unformatted_ &= quint8(~bit(column));
    }
    return texts_[at];
}

QVariant StoredRowItem::data(int column, int role) const
{
    const bool valueColumn = column >= 1 && column <= kValueColumns;
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && valueColumn && !(rewritten_ & bit(column)))
        return cellText(column);
    if (role == Qt::ToolTipRole) return toolTip_.isEmpty() ? QVariant() : QVariant(toolTip_);
    if (column == 0) {
        switch (role) {
        case PendingRows::KeyRole:
            if (key_.isNull()) key_ = RowKey(id_);
            return key_;
        case PendingRows::StateRole: return state_;
        case PendingRows::IconRole: return iconKey_;
        case OwnerRole: return owner_;
        case Qt::DecorationRole: return icon_;
        default: break;
        }
    }
    return QTreeWidgetItem::data(column, role);
}

void StoredRowItem::setData(int column, int role, const QVariant &value)
{
    const bool valueColumn = column >= 1 && column <= kValueColumns;
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && valueColumn) {
        rewritten_ |= bit(column);
        QTreeWidgetItem::setData(column, role, value);
        return;
    }
    // One tool tip for the whole row, as the list shows it on every cell.
    if (role == Qt::ToolTipRole) {
        toolTip_ = value.toString();
        emitDataChanged();
        return;
    }
    if (column == 0) {
        switch (role) {
        case PendingRows::KeyRole: key_ = value.toString(); break;
        case PendingRows::StateRole: state_ = value.toString(); break;
        case PendingRows::IconRole: iconKey_ = value.toString(); break;
        case OwnerRole: owner_ = value.toString(); break;
        case Qt::DecorationRole: icon_ = value.value<QIcon>(); break;
        default: QTreeWidgetItem::setData(column, role, value); return;
        }
        emitDataChanged();
        return;
    }
    QTreeWidgetItem::setData(column, role, value);
}
