// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/Equations.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Single precision as the checked narrowing gives it; false where it would raise.
bool toSingle(double value, float *out)
{
    const float f = static_cast<float>(value);
    if (std::isnan(value) || std::isinf(f)) return false;
    *out = f;
    return true;
}

} // namespace

namespace IsoEquation {

Solution Solve(float delta, float aPrime, float bPrime, float c, const std::optional<CalibrationRange> &range)
{
    Solution s;
    float d, disc;
    if (!toSingle(double(delta) - double(c), &d) ||
        !toSingle(std::pow(double(bPrime), 2) + double(4.0f * aPrime * d), &disc)) {
        s.status = SolveStatus::Overflow;
        return s;
    }
    if (disc < 0) {
        s.status = SolveStatus::NegativeDiscriminant;
        return s;
    }
    const double root = std::sqrt(double(disc));
    const double twoD = double(2.0f * d);
    if (twoD == 0.0) {
        s.status = SolveStatus::DivisionByZero;
        return s;
    }
    const double first = (double(bPrime) + root) / twoD;
    float r1;
    if (!std::isfinite(first) || !toSingle(first, &r1)) {
        s.status = SolveStatus::Overflow;
        return s;
    }
    // The second root is only a candidate; one beyond single precision is no temperature.
    const double other = (double(bPrime) - root) / twoD;
    const bool secondFinite = std::fabs(other) <= double(std::numeric_limits<float>::max());
    const float r2 = secondFinite ? float(other) : 0.0f;
    const RootRule::Root roots[] = {{double(r1), +1}, {double(r2), -1}};
    s.choice = RootRule::Choose(roots, secondFinite ? 2 : 1, range);
    s.kelvin = s.choice.first ? float(s.choice.first->kelvin) : (secondFinite ? std::max(r1, r2) : r1);
    return s;
}

std::optional<double> KelvinOnBranch(double delta, double aPrime, double bPrime, double c, int branch)
{
    const double d = delta - c;
    const double disc = bPrime * bPrime + 4.0 * aPrime * d;
    if (!(disc >= 0)) return std::nullopt;
    const double root = std::sqrt(disc);
    // r1 = (B' + √disc)/(2d) = 2A'/(√disc - B'); r2 = (B' - √disc)/(2d) = -2A'/(B' + √disc).
    // Of each pair the form whose sum does not cancel; at d = 0 it also gives the
    // linear equation's root -A'/B'.
    double kelvin;
    if (branch > 0)
        kelvin = bPrime >= 0 ? (bPrime + root) / (2.0 * d) : 2.0 * aPrime / (root - bPrime);
    else
        kelvin = bPrime >= 0 ? -2.0 * aPrime / (bPrime + root) : (bPrime - root) / (2.0 * d);
    if (!std::isfinite(kelvin) || !(kelvin > 0)) return std::nullopt;
    return kelvin;
}

// Past single precision they become infinite, which Solve reports as an overflow.
float APrime(double a) { return float(1e6 * a); }
float BPrime(double b) { return float(1e3 * b); }

void RaiseOnError(const Solution &s)
{
    switch (s.status) {
    case SolveStatus::Ok: return;
    case SolveStatus::NegativeDiscriminant:
        throw AppError(kNegativeDiscriminant, QStringLiteral("frmCalculateIso.T"), QStringLiteral("Δ<0"));
    case SolveStatus::DivisionByZero: raiseRuntimeError(ErrNo::DivisionByZero);
    case SolveStatus::Overflow: break;
    }
    raiseRuntimeError(ErrNo::Overflow);
}

float T(float delta, float aPrime, float bPrime, float c, const std::optional<CalibrationRange> &range)
{
    const Solution s = Solve(delta, aPrime, bPrime, c, range);
    RaiseOnError(s);
    return s.kelvin;
}

double Fractionation(double a, double b, double c, double kelvin)
{
    return a * 1e6 / (kelvin * kelvin) + b * 1e3 / kelvin + c;
}

double Slope(double a, double b, double kelvin)
{
    return -2.0 * a * 1e6 / (kelvin * kelvin * kelvin) - b * 1e3 / (kelvin * kelvin);
}

float WaterDelta(float a, float b, float c, float tCelsius, float deltaA)
{
    const double kelvin = double(tCelsius) + 273.15;
    const float x1 = Num::CSng(Num::Div(std::pow(10.0, 6) * a, kelvin * kelvin));
    const float x2 = Num::CSng(Num::Div(std::pow(10.0, 3) * b, kelvin));
    const float water = Num::CSng(double(deltaA) - x1 - x2 - c);
    return Num::ToSingle(Num::Fixed(water, 2));
}

} // namespace IsoEquation

namespace TraceEquation {

bool IsKnownLogType(const QString &logType)
{
    return logType == QLatin1String("10") || logType == QLatin1String("e");
}

double LogK(double a, double b, double kelvin) { return a / kelvin + b; }

double Slope(double a, double kelvin) { return -a / (kelvin * kelvin); }

namespace {

double logOf(const QString &logType, double v)
{
    return logType == QLatin1String("e") ? std::log(v) : std::log10(v);
}

// The numerator (A + C·P^n + E·X) and the part beside B (B + F·X + ν terms);
// false where the conditions give no number.
bool parts(const Form &form, const Conditions &cond, double *numerator, double *beside)
{
    double pressure = 0;
    if (form.usesPressure()) {
        if (!(cond.pressureKbar >= 0) || !std::isfinite(cond.pressureKbar)) return false;
        pressure = form.c * std::pow(cond.pressureKbar, form.n);
    }
    double activities = 0;
    if (form.usesSiO2()) {
        if (!(cond.aSiO2 > 0)) return false;
        activities += form.nuSiO2 * logOf(form.logType, cond.aSiO2);
    }
    if (form.usesTiO2()) {
        if (!(cond.aTiO2 > 0)) return false;
        activities += form.nuTiO2 * logOf(form.logType, cond.aTiO2);
    }
    if (form.usesComposition() && !std::isfinite(cond.x)) return false;
    *numerator = form.a + pressure + form.e * cond.x;
    *beside = form.b + form.f * cond.x + activities;
    return std::isfinite(*numerator) && std::isfinite(*beside);
}

} // namespace

double LogK(const Form &form, double kelvin, const Conditions &conditions)
{
    double numerator, beside;
    if (!parts(form, conditions, &numerator, &beside)) return std::numeric_limits<double>::quiet_NaN();
    return numerator / kelvin + beside;
}

std::optional<double> Kelvin(const Form &form, double k, const Conditions &conditions)
{
    double numerator, beside;
    if (!(k > 0) || !IsKnownLogType(form.logType) || !parts(form, conditions, &numerator, &beside))
        return std::nullopt;
    const double denominator = logOf(form.logType, k) - beside;
    if (denominator == 0) return std::nullopt;
    const double kelvin = numerator / denominator;
    if (!std::isfinite(kelvin) || !(kelvin > 0)) return std::nullopt;
    return kelvin;
}

Sensitivity Sensitivities(const Form &form, double kelvin, const Conditions &c)
{
    // T = N/D with N = A + C·P^n + E·X and D = log K - B - F·X - ν_Si·log aSiO2 - ν_Ti·log aTiO2,
    // so that 1/D = T/N.
    const double n = form.a + form.c * std::pow(c.pressureKbar, form.n) + form.e * c.x;
    const double t2n = kelvin * kelvin / n;
    const double lnBase = form.logType == QLatin1String("10") ? std::log(10.0) : 1.0;
    Sensitivity s;
    s.logK = -t2n;
    s.pressure =
        form.usesPressure() ? form.c * form.n * std::pow(c.pressureKbar, form.n - 1) * kelvin / n : 0;
    s.x = (form.e + form.f * kelvin) * kelvin / n;
    s.aSiO2 = form.nuSiO2 * t2n / (c.aSiO2 * lnBase);
    s.aTiO2 = form.nuTiO2 * t2n / (c.aTiO2 * lnBase);
    return s;
}

QStringList ConditionWarnings(const Form &form, const QString &remark, const QString &xName,
                              const Conditions &conditions)
{
    QStringList warnings;
    if (form.usesPressure())
        if (const std::optional<CalibrationRange> p = ReadPressureRange(remark);
            p && !p->contains(conditions.pressureKbar))
            warnings << PressureWarning(*p);
    if (form.usesComposition())
        if (const std::optional<CalibrationRange> x = ReadCompositionRange(remark, xName);
            x && !x->contains(conditions.x))
            warnings << CompositionWarning(*x, xName);
    return warnings;
}

namespace {

// log K = A/T + B solved for T, with the checks of the checked arithmetic: the
// number of the error they would raise (0 for none), the kelvin in *kelvin. An
// unknown log type gives 0 K.
int32_t solveKelvin(const QString &logType, float k, float a, float b, float *kelvin)
{
    *kelvin = 0;
    if (!IsKnownLogType(logType)) return 0;
    if (!(double(k) > 0.0)) return ErrNo::InvalidCall;
    const double ln = std::log(double(k));
    const double x = logType == QLatin1String("10") ? ln / std::log(10.0) : ln;
    const double divisor = x - double(b);
    if (divisor == 0.0) return ErrNo::DivisionByZero;
    const double t = double(a) / divisor;
    if (!toSingle(t, kelvin) || !std::isfinite(t)) return ErrNo::Overflow;
    return 0;
}

} // namespace

float Kelvin(const QString &logType, float k, float a, float b)
{
    float kelvin;
    if (const int32_t error = solveKelvin(logType, k, a, b, &kelvin)) raiseRuntimeError(error);
    return kelvin;
}

std::optional<float> TryKelvin(const QString &logType, float k, float a, float b)
{
    float kelvin;
    if (solveKelvin(logType, k, a, b, &kelvin) != 0 || !(kelvin > 0)) return std::nullopt;
    return kelvin;
}

float CalculateTemperature(const QString &logType, float k, float a, float b)
{
    if (!IsKnownLogType(logType)) return 0;
    return CelsiusOf(Kelvin(logType, k, a, b));
}

float CelsiusOf(float kelvin) { return Num::CSng(double(kelvin) - 273.15); }

} // namespace TraceEquation

namespace OlivineEquation {

int16_t UltramaficTemperature(float r1, float r2)
{
    const double k = Num::Div(double(r1), double(r2));
    return Num::CInt(100000.0 * (2.262 - Num::Ln(k)) / 99.632);
}

int16_t MaficTemperature(float r1, float r2)
{
    const double k = Num::Div(double(r1), double(r2));
    return Num::CInt(10000.0 * (11.253 - Num::Ln(k)) / 66.388);
}

} // namespace OlivineEquation
