// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Connection;

// A database made by an earlier Lorvane gains the columns this version reads:
// the trace rows' terms (TraceColumns), the isotope rows' dataset and the table
// of the coefficients' covariances.
namespace SchemaUpgrade {

// "Table.Column" of every column the database lacks (tables it lacks are left
// alone), and "Covariance" when the table of the coefficients' covariances is missing.
QStringList Missing(Connection &conn);

// Adds the missing columns, with their defaults, in one transaction: either all
// are added or the file stays as it was; no row changes. Returns how many were
// added (0 for a database that has them). Rows whose source names DBOXYGEN
// 2.0.3 are given that dataset as the column is added. A failure (a read-only or locked
// file) raises AppError.
int Upgrade(Connection &conn);

} // namespace SchemaUpgrade
