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
