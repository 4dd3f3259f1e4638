// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/CalibrationRange.h"

#include <optional>

// Which temperatures of a calibration are results, and how a result stands
// against the range the calibration holds in. The calculators, the batch and
// lorvane-calc all decide here, so that one Δ never gets two answers.
namespace RootRule {

// A calibration that states no range is held to 0-1200 ℃ when its roots are
// chosen and judged; beyond that no published thermometer of the library holds.
constexpr double kUnstatedLow = 0, kUnstatedHigh = 1200;
CalibrationRange Effective(const std::optional<CalibrationRange> &stated);

// A root fits when it lies in the range or within this of an end (°C), so that
// a temperature shown as the range's end counts as inside.
constexpr double kFitTolerance = 0.5;

// A root of the calibration's equation; branch tells the equation's roots
// apart (+1 the formula's own root, -1 the other), so that draws around a
// result can be solved on the same side of the curve's turning point.
struct Root {
    double kelvin = 0;
    int branch = +1;
};

struct Choice {
    std::optional<Root> first;  // none: no root above 0 K
    std::optional<Root> second; // a second root that fits as well
    bool fits = false;          // the first fits
};

// Candidates in order, the formula's own root first; those at 0 K or below are
// none. One fits: that one. Two fit: both, the formula's root first. None fits:
// the one nearest the range, which does not fit.
Choice Choose(const Root *roots, int count, const std::optional<CalibrationRange> &stated);

enum class Standing { InRange, TwoInRange, NoRangeStated, OutOfRange, NoRoot };

// How the choice stands, its first temperature taken as it is shown (°C,
// rounded by AsShown to `decimals`): outside the range (or 0-1200 ℃ when none is
// stated) it is never in range, whatever its root fitted by. The range's ends
// count as shown too, so that an end finer than the shown digits ("2.31" beside
// one decimal) does not flag the temperature that lies on it. A negative
// `decimals` takes the ends as they are.
Standing Judge(const Choice &choice, const std::optional<CalibrationRange> &stated, double shownCelsius,
               int decimals = -1);

// °C as the text with `decimals` places reads; never -0.
double AsShown(double celsius, int decimals);

} // namespace RootRule
