// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/SampleColumns.h"

#include <QAbstractTableModel>
#include <functional>

// The sample table of a batch window: the samples as columns (their numbers
// read once, as the cells are set), with spare empty rows always below the
// last row in use. A million imported samples cost a hundred-odd bytes each
// and show at once; a cell that cannot be used is shaded, with why as its tip.
class SampleModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit SampleModel(Batch::Kind kind, QObject *parent = nullptr);

    static constexpr int kSpareRows = 20;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const Batch::SampleColumns &table() const { return table_; }
    // The rows up to the last with text.
    int usedRows() const { return used_; }
    bool hasText() const { return used_ > 0; }
    // The rows with any text, as computed (texts trimmed), numbered by table row.
    QList<Batch::Row> rows() const;

    // Rows after the last row with text; the first and last rows written.
    std::pair<int, int> append(const QList<Batch::Row> &rows);
    std::pair<int, int> append(Batch::SampleColumns rows);
    // Tab-separated cells pasted at (row, column), in two steps, the first of
    // which may run on a worker (it reads no model): the cells the text gives,
    // then their placing. A header row (which map recognises) puts named
    // columns in their places from the first empty row. The rows written
    // (last < first for none), or map's error.
    struct Pasted {
        int first = 0, last = -1;
        QString error;
    };
    struct Block {
        Batch::SampleColumns cells{Batch::Kind::Isotope};
        std::vector<int> widths; // the cells each row gives, from `column`
        bool atEnd = false;      // named columns: from the first empty row
        int row = 0, column = 0;
        QString error;
    };
    static Block Prepare(Batch::Kind kind, const QString &text, int row, int column,
                         const std::function<Batch::Mapped(const QList<Batch::Row> &)> &map);
    Pasted place(Block block);
    // Empties the cells.
    void clearCells(const QModelIndexList &cells);

  signals:
    // Cells were typed, pasted, emptied or imported.
    void edited();

  private:
    void setCell(int row, int column, const QString &text);
    void settle(int oldCount);
    void updateUsed();

    Batch::SampleColumns table_;
    int used_ = 0;
};
