// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The terms of a trace-element row beyond A/T + B as the trace manager shows
// them: list columns 8..15, after the seven columns both managers share, in the
// order of TraceColumns::Names() (C, n, E, F, the name of X, ν_Si, ν_Ti, the
// unit of K). An import line carries them in the same places, after the source
// of data (field 7), and the export writes them in the same order after it.
namespace TraceTermFields {

constexpr int kFirstColumn = 8; // the list column of C
constexpr int kCount = 8;

// The list's headings: "C", "n", "E", "F", "X", "ν(SiO2)", "ν(TiO2)", "K单位".
QStringList Headers();
// Whether the field (0..7) is one of the two texts, the name of X and the unit of K.
bool IsText(int field);

// Why a row's terms cannot be stored. Empty numeric fields stand for the
// defaults (n = 1, the others 0); a missing field counts as empty.
enum class Problem {
    None,
    NotANumber,       // a numeric field holds text
    OutOfRange,       // a number single precision stores as 0 or as infinity
    PowerNotPositive, // C ≠ 0 with n ≤ 0: P^n has no value at P = 0
    XNameMissing,     // E or F ≠ 0 and no name says what X is
};
struct Check {
    Problem problem = Problem::None;
    int field = -1; // the field (0..7) the problem is found in
};
Check Examine(const QStringList &texts);

QString PowerNotPositiveText(); // "指数n必须大于0"
QString XNameMissingText();     // "请输入成分变量X的名称"

// The texts the terms are stored with and shown in once stored: numbers in the
// general text, defaults for empty fields, texts without surrounding blanks.
// Texts Examine finds a problem with come back as they are.
QStringList Stored(const QStringList &texts);

} // namespace TraceTermFields
