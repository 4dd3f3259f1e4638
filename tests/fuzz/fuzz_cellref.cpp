// SPDX-License-Identifier: GPL-3.0-or-later
// Cell references ("C12") and row numbers as a worksheet's attributes give
// them, against a plain reading of what the header promises.
#include "FuzzCheck.h"

#include "core/files/CellReference.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Letters (either case), then digits, nothing else; each part capped just past
// its limit so that it cannot overflow. Zero for a part that is not there.
struct Plain {
    long column = 0, row = 0;
    bool wellFormed = false;
};

Plain readPlain(const std::string &s)
{
    Plain p;
    size_t i = 0;
    for (; i < s.size() && ((s[i] >= 'A' && s[i] <= 'Z') || (s[i] >= 'a' && s[i] <= 'z')); ++i)
        p.column = std::min(p.column * 26 + ((s[i] | 0x20) - 'a' + 1), long(Xlsx::kMaxColumn) + 1);
    const size_t digits = i;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        p.row = std::min(p.row * 10 + (s[i] - '0'), long(Xlsx::kMaxRow) + 1);
    p.wellFormed = digits > 0 && i > digits && i == s.size();
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The text up to the first NUL, as the XML attribute would give it.
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::string ref(text.c_str());

    int column = -1, row = -1;
    const bool ok = Xlsx::ParseCellReference(ref.c_str(), &column, &row);
    if (ok) {
        FUZZ_CHECK(column >= 1 && column <= Xlsx::kMaxColumn);
        FUZZ_CHECK(row >= 1 && row <= Xlsx::kMaxRow);
    } else {
        FUZZ_CHECK(column == 0 && row == 0);
    }
    const Plain plain = readPlain(ref);
    const bool fits = plain.wellFormed && plain.column >= 1 && plain.column <= Xlsx::kMaxColumn &&
                      plain.row >= 1 && plain.row <= Xlsx::kMaxRow;
    FUZZ_CHECK(ok == fits);
    if (ok) FUZZ_CHECK(column == plain.column && row == plain.row);

    // A row number alone: digits only, in range, or 0.
    const bool allDigits = !ref.empty() && ref.find_first_not_of("0123456789") == std::string::npos;
    const Plain digits = readPlain("A" + ref);
    const bool rowFits = allDigits && digits.row >= 1 && digits.row <= Xlsx::kMaxRow;
    FUZZ_CHECK(Xlsx::ParseRowNumber(ref.c_str()) == (rowFits ? digits.row : 0));
    return 0;
}
