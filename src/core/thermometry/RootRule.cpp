// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/RootRule.h"

#include <QString>
#include <cmath>

namespace RootRule {

CalibrationRange Effective(const std::optional<CalibrationRange> &stated)
{
    return stated ? *stated : CalibrationRange{kUnstatedLow, kUnstatedHigh};
}

namespace {

// How far a temperature (°C) lies outside the range; 0 inside.
double distance(const CalibrationRange &range, double celsius)
{
    if (range.low && celsius < *range.low) return *range.low - celsius;
    if (range.high && celsius > *range.high) return celsius - *range.high;
    return 0;
}

} // namespace

Choice Choose(const Root *roots, int count, const std::optional<CalibrationRange> &stated)
{
    const CalibrationRange range = Effective(stated);
    Choice choice;
    std::optional<Root> nearest;
    double nearestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const Root &r = roots[i];
        if (!(r.kelvin > 0) || !std::isfinite(r.kelvin)) continue;
        const double celsius = r.kelvin - 273.15;
        if (range.contains(celsius, kFitTolerance)) {
            if (!choice.fits) {
                choice.first = r;
                choice.fits = true;
            } else if (!choice.second && r.kelvin != choice.first->kelvin) {
                choice.second = r;
            }
            continue;
        }
        const double d = distance(range, celsius);
        if (!nearest || d < nearestDistance) {
            nearest = r;
            nearestDistance = d;
        }
    }
    if (!choice.fits) choice.first = nearest;
    return choice;
}

Standing Judge(const Choice &choice, const std::optional<CalibrationRange> &stated, double shownCelsius,
               int decimals)
{
    if (!choice.first) return Standing::NoRoot;
    CalibrationRange range = Effective(stated);
    if (decimals >= 0) {
        if (range.low) range.low = AsShown(*range.low, decimals);
        if (range.high) range.high = AsShown(*range.high, decimals);
    }
    if (!choice.fits || !range.contains(shownCelsius)) return Standing::OutOfRange;
    if (choice.second) return Standing::TwoInRange;
    return stated ? Standing::InRange : Standing::NoRangeStated;
}

double AsShown(double celsius, int decimals)
{
    if (!std::isfinite(celsius)) return celsius;
    // Rounding the scaled value is what the text shows, except within a hair of
    // a half, where scaling itself rounds (726.85, stored a little above, would
    // come out as a tie): there the text is written and read back.
    static constexpr double kScales[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    const double scale = decimals >= 0 && decimals <= 6 ? kScales[decimals] : std::pow(10.0, decimals);
    const double scaled = celsius * scale;
    const double whole = std::nearbyint(scaled);
    double shown = std::fabs(std::fabs(scaled - whole) - 0.5) > 1e-6
                       ? whole / scale
                       : QString::number(celsius, 'f', decimals).toDouble();
    return shown == 0 ? 0.0 : shown;
}

} // namespace RootRule
