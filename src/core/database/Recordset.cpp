// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/database/Recordset.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"

QString Field::Text() const
{
    switch (value_.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr: raiseRuntimeError(ErrNo::InvalidNull, QStringLiteral("Recordset"));
    case QMetaType::Double: return Num::StrDouble(value_.toDouble());
    case QMetaType::LongLong: return QString::number(value_.toLongLong());
    case QMetaType::QByteArray: return QString::fromUtf8(value_.toByteArray());
    default: return value_.toString();
    }
}

double Field::Number() const
{
    switch (value_.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr: raiseRuntimeError(ErrNo::InvalidNull, QStringLiteral("Recordset"));
    case QMetaType::Double: return value_.toDouble();
    case QMetaType::LongLong: return double(value_.toLongLong());
    default: return Num::ToDouble(Text());
    }
}

int32_t Field::Long() const { return Num::CLng(Number()); }
float Field::Single() const { return Num::CSng(Number()); }

Recordset::Recordset(QStringList names, std::vector<QVariant> cells)
    : names_(std::move(names)), cells_(std::move(cells))
{
    rows_ = names_.isEmpty() ? 0 : int(cells_.size() / size_t(names_.size()));
}

void Recordset::MoveNext()
{
    if (Eof()) raiseRuntimeError(ErrNo::NoCurrentRow, QStringLiteral("Recordset.MoveNext"));
    ++pos_;
}

int Recordset::FieldIndex(const QString &name) const
{
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

Field Recordset::Fields(int index) const
{
    if (index < 0 || index >= names_.size())
        throw AppError(3265, QStringLiteral("Recordset"), tr("在对应所需名称或序数的集合中，未找到项目。"));
    if (Bof() || Eof()) raiseRuntimeError(ErrNo::NoCurrentRow, QStringLiteral("Recordset"));
    return Field(names_[index], Cell(pos_, index));
}

Field Recordset::Fields(const QString &name) const { return Fields(FieldIndex(name)); }
