// SPDX-License-Identifier: GPL-3.0-or-later
// Calibration remarks: the range read from any text is a range.
#include "FuzzCheck.h"

#include "core/thermometry/CalibrationRange.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString remark = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<CalibrationRange> range = ReadRange(remark);
    if (!range) return 0;
    FUZZ_CHECK(range->low || range->high);
    if (range->low && range->high) FUZZ_CHECK(*range->low <= *range->high);
    // The ends count as inside.
    if (range->low) FUZZ_CHECK(range->contains(*range->low));
    if (range->high) FUZZ_CHECK(range->contains(*range->high));
    FUZZ_CHECK(!range->text().isEmpty() && !range->asciiText().isEmpty());
    return 0;
}
