// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Numbers as the user sees and types them: the one place for number text, the
// numeric test and the checked conversions. Conversions that fail raise AppError
// (13 type mismatch, 6 overflow, 5 invalid argument, 11 division by zero) instead
// of producing inf, NaN or garbage.
namespace Num {

// General single-precision text: at most seven significant digits, no trailing
// zeros, "." as decimal point ("726.85", "-3.4", "0.5"). Outside the ordinary
// range the exponent form is used ("1.5E+08", "1E-05"); it reads back as the same float.
QString Str(float value);
// General double-precision text, fifteen significant digits.
QString StrDouble(double value);
// Fixed decimals with at least one digit before the point ("0.00" pattern).
QString Fixed(double value, int decimals);

// True when the text is a number: blanks around, optional sign, digits with an
// optional decimal separator ("." or the user's locale's), optional exponent.
// "" and "12a" are not numbers. Nothing here depends on the C library's locale.
bool IsNumeric(const QString &text);

// Text to number; a text that is not a number raises 13, a value out of range 6.
// The number a numeric text stands for; empty for a text that is not numeric or
// whose number is past double precision ("1e999"). Never raises.
std::optional<double> TryDouble(const QString &text);
double ToDouble(const QString &text);
float ToSingle(const QString &text);
// True when the text is a number that single precision holds: not infinite,
// and not 0 unless the text itself is zero ("1e-50" and "1E+99" do not fit).
bool FitsSingle(const QString &text);

// The leading number of a text ("12abc" -> 12); 0 when the text does not start
// with a number. Blanks before the number are skipped.
double Val(const QString &text);

// Checked narrowing: out of range (or not finite) raises 6.
float CSng(double value);
// Rounded to a whole number, halves to the even neighbour; out of range raises 6.
int16_t CInt(double value);
int32_t CLng(double value);

// Checked arithmetic.
double Ln(double value);                     // value <= 0 raises 5
double Div(double dividend, double divisor); // divisor 0 raises 11; inf result raises 6
double Sqrt(double value);                   // value < 0 raises 5

} // namespace Num
