// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Cell references of a spreadsheet ("C12"), as far as a worksheet can reach:
// columns A-XFD (1-16384), rows 1-1048576.
namespace Xlsx {

constexpr int kMaxColumn = 16384;
constexpr int kMaxRow = 1048576;

// "C12" -> column 3, row 12 (letters in either case, then digits, nothing
// else). False, with both set to 0, for anything else and for a reference past
// XFD1048576; never overflows whatever the text.
bool ParseCellReference(const char *ref, int *column, int *row);

// A row number as the "r" attribute of a row gives it: 1-1048576, or 0.
int ParseRowNumber(const char *text);

} // namespace Xlsx
