// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/CellReference.h"

namespace Xlsx {

namespace {

// Digits up to the end of the text, at most `max`; 0 for none or past it.
int digitsUpTo(const char *p, int max)
{
    if (!(*p >= '0' && *p <= '9')) return 0;
    long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > max) return 0;
    }
    return *p == '\0' ? int(value) : 0;
}

} // namespace

bool ParseCellReference(const char *ref, int *column, int *row)
{
    *column = 0;
    *row = 0;
    if (!ref) return false;
    const char *p = ref;
    long col = 0;
    for (; (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'); ++p) {
        col = col * 26 + ((*p >= 'a' ? *p - 'a' : *p - 'A') + 1);
        if (col > kMaxColumn) return false;
    }
    if (col == 0) return false;
    const int r = digitsUpTo(p, kMaxRow);
    if (r == 0) return false;
    *column = int(col);
    *row = r;
    return true;
}

int ParseRowNumber(const char *text) { return text ? digitsUpTo(text, kMaxRow) : 0; }

} // namespace Xlsx
