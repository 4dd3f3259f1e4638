// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/BatchTable.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The sample table of a batch held as columns: every cell's text as given,
// and for the numeric columns the number read once, when the cell is set. A
// million samples cost about a hundred bytes each, and a run reads numbers,
// not text. Widget-free; the batch windows and lorvane-calc share it.
namespace Batch {

// Whether a numeric column may hold the text: as ReadValues judges a cell.
// Fills *value, or *why ("不是数字：…", "σ不能为负：…", …); blank text is
// neither (returns false with *why empty).
bool ReadCell(int column, const QString &trimmed, double *value, QString *why);

// The columns a kind reads as numbers.
bool IsNumericColumn(Kind kind, int column);

class SampleColumns {
  public:
    explicit SampleColumns(Kind kind);

    Kind kind() const { return kind_; }
    int columnCount() const { return columns_; }
    int64_t rowCount() const { return int64_t(lines_.size()); }
    bool isEmpty() const { return lines_.empty(); }
    void reserve(int64_t rows);
    void clear();

    // A row as read or typed: its cells (missing ones blank), line and problem.
    void append(const Row &row);
    void append(const QList<Row> &rows);
    // The rows of another table of the same kind, after these.
    void append(const SampleColumns &other);
    // Rows made blank at the end, or removed from there.
    void resize(int64_t rows);
    // The rows with any text, as a table of their own, each numbered (line) by
    // its place here, 1-based.
    SampleColumns rowsWithText() const;

    QString text(int64_t row, int column) const;
    void setText(int64_t row, int column, const QString &text);
    bool rowHasText(int64_t row) const;
    int line(int64_t row) const { return lines_[size_t(row)]; }
    void setLine(int64_t row, int line) { lines_[size_t(row)] = line; }
    Row row(int64_t row) const;

    // A problem of the row as a whole (more fields than the header, say) and
    // the file's column at fault.
    QString rowProblem(int64_t row) const;
    int rowProblemColumn(int64_t row) const;

    // The numbers of a row and, in column order, the cells that cannot be used:
    // the same as ReadValues on the row's cells.
    Values values(int64_t row, QList<CellProblem> *problems = nullptr) const;
    // Why a cell cannot be used; empty when it can (or is blank).
    QString cellProblem(int64_t row, int column) const;
    bool hasCellProblem(int64_t row) const;

    // The row's type and minerals as one key: rows of the same pair share it.
    // pairNames gives them trimmed (type, mineral A, mineral B).
    uint32_t pairOf(int64_t row) const { return pairs_[size_t(row)]; }
    uint32_t pairCount() const { return uint32_t(pairKeys_.size()); }
    struct PairNames {
        QString type, mineralA, mineralB;
    };
    PairNames pairNames(uint32_t pair) const;

  private:
    enum State : uint8_t { Blank, Number, Refused };
    // Texts in UTF-8 one after another; each cell the place and length of its own.
    struct Texts {
        std::string bytes;
        std::vector<uint64_t> cells; // start << 24 | length
        QString at(size_t i) const;
        void push(const QString &text);
        void set(size_t i, const QString &text);
        uint64_t pack(const QString &text);
    };
    // The type and mineral columns repeat a few names: each cell keeps a number.
    struct Names {
        std::vector<uint32_t> ids;
        std::vector<QString> names;
        QHash<QString, uint32_t> index;
        uint32_t idOf(const QString &text);
    };
    struct Key {
        uint32_t type, a, b;
        bool operator==(const Key &o) const { return type == o.type && a == o.a && b == o.b; }
    };
    struct KeyHash {
        size_t operator()(const Key &k) const
        {
            return (size_t(k.type) * 0x9E3779B97F4A7C15ull) ^ (size_t(k.a) * 0xC2B2AE3D27D4EB4Full) ^ k.b;
        }
    };

    bool named(int column) const { return column == Type || column == MineralA || column == MineralB; }
    void setCell(size_t row, int column, const QString &text, bool appending);
    void updatePair(size_t row);

    Kind kind_;
    int columns_;
    std::vector<int32_t> lines_;
    std::vector<Texts> texts_;                 // by column; unused for the named ones
    std::vector<Names> names_;                 // by column; used for the named ones
    std::vector<std::vector<double>> numbers_; // by column; numeric ones only
    std::vector<std::vector<uint8_t>> states_; // likewise
    std::vector<uint32_t> pairs_;
    std::vector<Key> pairKeys_;
    std::unordered_map<Key, uint32_t, KeyHash> pairIndex_;
    QHash<int64_t, QPair<QString, int>> rowProblems_;
};

} // namespace Batch
