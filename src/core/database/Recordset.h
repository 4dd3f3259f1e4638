// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <vector>

// One value of a fetched row. Reading a NULL value as text or as a number raises
// the "无效使用 Null" conversion error, as the record classes expect.
class Field {
  public:
    Field() = default;
    Field(QString name, QVariant value) : name_(std::move(name)), value_(std::move(value)) {}

    const QString &Name() const { return name_; }
    const QVariant &Value() const { return value_; }
    bool IsNull() const { return value_.isNull(); }

    QString Text() const;  // numbers in their general text form
    double Number() const; // text that is not a number raises 13
    int32_t Long() const;  // rounded, halves to even; out of range raises 6
    float Single() const;  // out of single range raises 6

  private:
    QString name_;
    QVariant value_;
};

// A query result fetched whole (client-side cursor): exact RecordCount, a
// cursor that starts on the first row, fields by position or by name (names
// compared without regard to case).
class Recordset {
    Q_DECLARE_TR_FUNCTIONS(Recordset)

  public:
    Recordset() = default;
    Recordset(QStringList names, std::vector<QVariant> cells);

    int RecordCount() const { return rows_; }
    int FieldCount() const { return names_.size(); }
    const QStringList &FieldNames() const { return names_; }

    bool Bof() const { return rows_ == 0 || pos_ < 0; }
    bool Eof() const { return rows_ == 0 || pos_ >= rows_; }
    void MoveFirst() { pos_ = 0; }
    void MoveNext();
    int AbsolutePosition() const { return pos_; }

    // Field of the current row; raises 3021 when there is no current row and an
    // error when the column does not exist.
    Field Fields(int index) const;
    Field Fields(const QString &name) const;
    int FieldIndex(const QString &name) const; // -1 when absent

    // Direct access to any cell, for code that walks the whole result.
    const QVariant &Cell(int row, int column) const { return cells_[size_t(row) * names_.size() + column]; }

  private:
    QStringList names_;
    std::vector<QVariant> cells_;
    int rows_ = 0;
    int pos_ = 0;
};
