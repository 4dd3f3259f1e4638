// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/NumberText.h"

#include "core/base/AppError.h"

#include <QLocale>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace Num {
namespace {

// The C library formats and reads numbers in the numeric locale that Qt sets
// from the environment ("3,38" under de_DE, and strtod stops at a "."). Every
// conversion here runs in the C locale instead, for this thread only.
class CNumericLocale {
  public:
    CNumericLocale() : previous_(uselocale(c())) {}
    ~CNumericLocale() { uselocale(previous_); }
    CNumericLocale(const CNumericLocale &) = delete;
    CNumericLocale &operator=(const CNumericLocale &) = delete;

  private:
    static locale_t c()
    {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return locale;
    }
    locale_t previous_;
};

// The decimal separator of the user's locale, besides ".", which is always one.
QChar userDecimal()
{
    static const QChar separator = [] {
        const QString point = QLocale::system().decimalPoint();
        return point.size() == 1 ? point.at(0) : QChar(QLatin1Char('.'));
    }();
    return separator;
}

bool isDecimal(QChar c) { return c == QLatin1Char('.') || c == userDecimal(); }

// A scanned number as the C library reads it: "." as the decimal point.
QByteArray cText(const QString &number)
{
    QByteArray latin = number.toLatin1();
    const QChar user = userDecimal();
    if (user != QLatin1Char('.')) latin.replace(char(user.toLatin1()), '.');
    return latin;
}

double readDouble(const QByteArray &text)
{
    const CNumericLocale c;
    return std::strtod(text.constData(), nullptr);
}

// Turns printf's "1.5e+08" into "1.5E+08" with trailing mantissa zeros removed.
QString exponentText(const char *printed)
{
    QString s = QString::fromLatin1(printed);
    int e = s.indexOf(QLatin1Char('e'));
    QString mantissa = s.left(e);
    QString exponent = s.mid(e + 1);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0'))) mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.'))) mantissa.chop(1);
    }
    QChar sign = exponent.at(0);
    QString digits = exponent.mid(1);
    while (digits.size() > 2 && digits.startsWith(QLatin1Char('0'))) digits.remove(0, 1);
    return mantissa + QLatin1Char('E') + sign + digits;
}

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Scans a number at text[pos]; returns the position after it, or -1 when none.
int scanNumber(const QString &text, int pos)
{
    int i = pos;
    const int n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) ++i;
    int digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && isDecimal(text[i])) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return -1;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) ++j;
        int expDigits = 0;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0) i = j;
    }
    return i;
}

} // namespace

QString Str(float value)
{
    if (value == 0.0f || std::isnan(value)) return QStringLiteral("0");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("1E+39") : QStringLiteral("-1E+39");
    const CNumericLocale c;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(value));
    if (!std::strchr(buf, 'e')) return QString::fromLatin1(buf);
    // Exponent form: as few digits as read back to the same float.
    for (int precision = 6; precision <= 8; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*e", precision, static_cast<double>(value));
        if (std::strtof(buf, nullptr) == value) break;
    }
    return exponentText(buf);
}

QString StrDouble(double value)
{
    if (value == 0.0 || std::isnan(value)) return QStringLiteral("0");
    const CNumericLocale c;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    if (!std::strchr(buf, 'e')) return QString::fromLatin1(buf);
    return exponentText(buf);
}

QString Fixed(double value, int decimals)
{
    QString s = QString::number(value, 'f', decimals);
    if (s.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (QChar c : s.mid(1))
            if (c != QLatin1Char('0') && c != QLatin1Char('.')) allZero = false;
        if (allZero) s.remove(0, 1);
    }
    return s;
}

bool IsNumeric(const QString &text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    int end = scanNumber(text, i);
    if (end < 0) return false;
    while (end < n && isBlank(text[end])) ++end;
    return end == n;
}

std::optional<double> TryDouble(const QString &text)
{
    if (!IsNumeric(text)) return std::nullopt;
    const double v = readDouble(cText(text.trimmed()));
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

double ToDouble(const QString &text)
{
    if (!IsNumeric(text)) raiseRuntimeError(ErrNo::TypeMismatch);
    double v = readDouble(cText(text.trimmed()));
    if (std::isinf(v)) raiseRuntimeError(ErrNo::Overflow);
    return v;
}

float ToSingle(const QString &text) { return CSng(ToDouble(text)); }

bool FitsSingle(const QString &text)
{
    if (!IsNumeric(text)) return false;
    const QString trimmed = text.trimmed();
    const double v = readDouble(cText(trimmed));
    const float f = static_cast<float>(v);
    if (std::isinf(v) || std::isinf(f)) return false;
    if (f != 0.0f) return true;
    // Zero is fine when the text says zero; a non-zero text that comes out as 0 is out of range.
    const int e = trimmed.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    for (QChar ch : trimmed.left(e < 0 ? trimmed.size() : e))
        if (ch >= QLatin1Char('1') && ch <= QLatin1Char('9')) return false;
    return true;
}

double Val(const QString &text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && (isBlank(text[i]) || text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r'))) ++i;
    int end = scanNumber(text, i);
    if (end < 0) return 0.0;
    double v = readDouble(cText(text.mid(i, end - i)));
    return std::isfinite(v) ? v : 0.0;
}

float CSng(double value)
{
    // Values just above FLT_MAX still round to it; only those that do not overflow.
    const float f = static_cast<float>(value);
    if (std::isnan(value) || std::isinf(f)) raiseRuntimeError(ErrNo::Overflow);
    return f;
}

int16_t CInt(double value)
{
    if (std::isnan(value)) raiseRuntimeError(ErrNo::Overflow);
    double r = std::nearbyint(value);
    if (r < -32768.0 || r > 32767.0) raiseRuntimeError(ErrNo::Overflow);
    return static_cast<int16_t>(r);
}

int32_t CLng(double value)
{
    if (std::isnan(value)) raiseRuntimeError(ErrNo::Overflow);
    double r = std::nearbyint(value);
    if (r < -2147483648.0 || r > 2147483647.0) raiseRuntimeError(ErrNo::Overflow);
    return static_cast<int32_t>(r);
}

double Ln(double value)
{
    if (!(value > 0.0)) raiseRuntimeError(ErrNo::InvalidCall);
    return std::log(value);
}

double Div(double dividend, double divisor)
{
    if (divisor == 0.0) raiseRuntimeError(ErrNo::DivisionByZero);
    double q = dividend / divisor;
    if (!std::isfinite(q)) raiseRuntimeError(ErrNo::Overflow);
    return q;
}

double Sqrt(double value)
{
    if (value < 0.0) raiseRuntimeError(ErrNo::InvalidCall);
    return std::sqrt(value);
}

} // namespace Num
