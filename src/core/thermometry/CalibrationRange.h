// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// Where a calibration holds, in °C, as its remark text states it. A bound may
// be open on one side (">=600", "≤300"). The ends count as inside.
struct CalibrationRange {
    std::optional<double> low;
    std::optional<double> high;

    // slack widens the range on both sides (°C).
    bool contains(double celsius, double slack = 0) const;
    bool containsKelvin(double kelvin, double slack = 0) const { return contains(kelvin - 273.15, slack); }
    // "200-500℃", "≥600℃", "≤300℃".
    QString text() const;
    // The same in plain ASCII for files: "200-500", ">=600", "<=300".
    QString asciiText() const;
    // "超出适用范围（200-500℃）".
    QString warning() const;
};

// The range stated in a remark (Mark_S of an isotope row, Mark_s of a trace row),
// or none. A range is two numbers joined by "-", "–", "~", "至" or "到", or one
// number after ">=", ">", "≥", "<=", "<", "≤"; it is read only where it opens the
// text or is followed by a temperature unit ("℃", "°C", "C"), so page numbers of
// a reference ("29:275-289") never count. Reversed ends ("900-200") are put in order.
std::optional<CalibrationRange> ReadRange(const QString &remark);

// The pressure span a remark states: two numbers joined as above and followed by
// "kbar" ("5-20 kbar", "experiments at 10-24 kbar"), the first such span.
std::optional<CalibrationRange> ReadPressureRange(const QString &remark);
// The span of a composition variable: two numbers right after its name, blanks,
// "=" or ":" between ("Cr# 0.07-0.69", "X_Fo = 0.70-1.00"), the first such span.
std::optional<CalibrationRange> ReadCompositionRange(const QString &remark, const QString &xName);
// "超出适用压力范围（5-20 kbar）" and "超出适用成分范围（Cr# 0.07-0.69）".
QString PressureWarning(const CalibrationRange &range);
QString CompositionWarning(const CalibrationRange &range, const QString &xName);
