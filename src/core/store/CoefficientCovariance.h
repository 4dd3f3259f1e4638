// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

class Connection;

// The published error of a calibration's coefficients, kept in the table
// "Covariance" beside the calibrations: one row per stored calibration (table
// name and ID_N), the variances and covariances of (A, B, C). A trace row has
// only A and B: its C entries stay 0.
//
// The managers show a matrix as the σ of each coefficient followed by the
// covariances: isotope rows σA σB σC cov(A,B) cov(A,C) cov(B,C), trace rows
// σA σB cov(A,B). The same fields follow the existing ones in import and export
// files. All fields empty: the calibration publishes no error.
namespace CoefficientCovariance {

using Matrix = std::array<double, 6>; // AA AB AC BB BC CC

inline const QString kIsoplot = QStringLiteral("Isoplot");
inline const QString kTraceElement = QStringLiteral("TraceElement");

// Every matrix stored for the table, by row identifier. A database without the
// table gives none; other database errors raise AppError.
QHash<int32_t, Matrix> ReadAll(Connection &conn, const QString &table);
// The matrix of one row, if it has one.
std::optional<Matrix> Read(Connection &conn, const QString &table, int32_t id);
// Replaces the row's matrix (none: removes it). Database errors raise AppError.
void Write(Connection &conn, const QString &table, int32_t id, const std::optional<Matrix> &matrix);

// Whether the matrix is a covariance: finite, variances ≥ 0, positive semidefinite
// (to rounding).
bool IsCovariance(const Matrix &m);

// The number of coefficients a kind of row has: 3 (isotope) or 2 (trace).
// The fields: 6 or 3.
constexpr int FieldCount(int coefficients) { return coefficients == 3 ? 6 : 3; }
// The headings of the fields: "σA", "σB", "σC", "cov(A,B)", "cov(A,C)", "cov(B,C)".
QStringList Headers(int coefficients);

// The fields a matrix is shown and written with (none: every field empty).
QStringList Texts(const std::optional<Matrix> &m, int coefficients);

enum class Problem {
    None,
    NotANumber,    // a field holds text
    Negative,      // a σ below 0
    NotACovariance // the covariances do not fit the σ (|ρ| > 1, or no covariance matrix)
};
struct Check {
    Problem problem = Problem::None;
    int field = -1; // the field found wrong
};
// What a manager says of a row with the problem ("" for none): "σ与协方差必须为数字",
// "σ不能为负" or "协方差与σ不相容", in the user's language.
QString Message(Problem problem);

// Empty fields read as 0; all empty is no matrix.
Check Examine(const QStringList &fields, int coefficients);
// The matrix the fields give; empty when all are empty or Examine finds a problem.
std::optional<Matrix> FromTexts(const QStringList &fields, int coefficients);

} // namespace CoefficientCovariance
