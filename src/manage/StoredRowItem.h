// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "manage/PendingRows.h"

#include <QIcon>
#include <QString>
#include <QTreeWidgetItem>
#include <array>
#include <cstdint>

// A row loaded from the database into a manager's list. A type's listing can
// run to tens of thousands of rows, so the row keeps its values compactly and
// writes a constant as text only when it is first shown; everything the
// pending-row helpers read and write (key, state, icon, tool tip, texts) goes
// through data() and setData() as on any other row.
class StoredRowItem : public QTreeWidgetItem {
  public:
    // The type or element the row is stored under (column 0).
    static constexpr int OwnerRole = Qt::UserRole + 3;
    static constexpr int kValueColumns = 7;

    // A stored row: key "A" + id, state and icon "ok".
    StoredRowItem(int32_t id, const QString &owner, const QIcon &okIcon);

    // Column 1..7 shows the text.
    void setValue(int column, const QString &text) { texts_[size_t(column - 1)] = text; }
    // Column 1..7 shows the number in its general text form.
    void setNumber(int column, float value);

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant &value) override;

  private:
    QString cellText(int column) const;

    int32_t id_;
    mutable QString key_;
    QString owner_;
    QString state_ = PendingRows::kOk;
    QString iconKey_ = PendingRows::kOk;
    QIcon icon_;
    QString toolTip_;
    mutable std::array<QString, kValueColumns> texts_;
    std::array<float, kValueColumns> numbers_{};
    mutable quint8 unformatted_ = 0; // columns whose number has not been written as text yet
    quint8 rewritten_ = 0;           // columns whose text was set later (held by the base class)
};
