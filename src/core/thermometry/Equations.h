// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/CalibrationRange.h"
#include "core/thermometry/RootRule.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The thermometer equations, free of windows. Temperatures in kelvin unless
// the name says otherwise. Arithmetic failures raise AppError.
namespace IsoEquation {

// Temperature (kelvin) at which the calibration gives Δ: a root of
// (Δ - C)·T² - B'·T - A' = 0, with A' = 10^6·A and B' = 10^3·B, chosen by the
// root rule (RootRule::Choose) among r1 = (B' + √disc)/(2(Δ - C)) and
// r2 = (B' - √disc)/(2(Δ - C)): the one that fits the calibration's range (or
// 0-1200 ℃ when it states none), r1 when both fit, else the one nearest the
// range. r1 is computed exactly as the calculator always has. With no positive
// root the result is 0 or below, which is no temperature.
// A negative discriminant raises 0x80040064 "Δ<0" (source "frmCalculateIso.T");
// Δ equal to C raises the division-by-zero error.
float T(float delta, float aPrime, float bPrime, float c,
        const std::optional<CalibrationRange> &range = std::nullopt);

// The same without exceptions, for work that solves many values: the status
// says which error T would raise.
enum class SolveStatus { Ok, NegativeDiscriminant, DivisionByZero, Overflow };
struct Solution {
    SolveStatus status = SolveStatus::Ok;
    float kelvin = 0;        // the first result (single precision); 0 or below: no positive root
    RootRule::Choice choice; // both results, their branches, whether the first fits
};
Solution Solve(float delta, float aPrime, float bPrime, float c,
               const std::optional<CalibrationRange> &range = std::nullopt);
// Raises the error T would raise for the solution's status; nothing for Ok.
void RaiseOnError(const Solution &s);

// The root of one branch (+1: r1, -1: r2) in double precision, for draws
// around a result: each stays on its result's side of the curve's turning
// point. Written so that neither root loses digits to cancellation. Empty where
// the branch has no root above 0 K.
std::optional<double> KelvinOnBranch(double delta, double aPrime, double bPrime, double c, int branch);

// A' = 10^6·A and B' = 10^3·B in single precision, as the equation takes them.
float APrime(double a);
float BPrime(double b);

// Δ of the calibration at a temperature (kelvin), in double precision:
// A·10^6/T² + B·10^3/T + C.
double Fractionation(double a, double b, double c, double kelvin);
// dΔ/dT at a temperature (kelvin).
double Slope(double a, double b, double kelvin);

// δ of water in equilibrium with mineral A at t °C, rounded to two decimals.
float WaterDelta(float a, float b, float c, float tCelsius, float deltaA);

constexpr int32_t kNegativeDiscriminant = int32_t(0x80040064u);

} // namespace IsoEquation

namespace TraceEquation {

bool IsKnownLogType(const QString &logType); // "10" or "e", exactly

// log K = A/T + B at a temperature (kelvin), in the calibration's own log base,
// and its slope d(log K)/dT.
double LogK(double a, double b, double kelvin);
double Slope(double a, double kelvin);

// A thermometer in its published form, with pressure, a composition variable
// and the activities of SiO2 and TiO2:
//   log_b K = (A + C·P^n + E·X)/T + B + F·X + ν_Si·log_b aSiO2 + ν_Ti·log_b aTiO2
// T in kelvin, P in kbar, b = 10 or e. With C = E = F = ν = 0 it is log K = A/T + B.
struct Form {
    QString logType = QStringLiteral("10");
    double a = 0, b = 0;
    double c = 0, n = 1; // pressure term
    double e = 0, f = 0; // composition terms, X in the 1/T part and beside B
    double nuSiO2 = 0, nuTiO2 = 0;

    bool usesPressure() const { return c != 0; }
    bool usesComposition() const { return e != 0 || f != 0; }
    bool usesSiO2() const { return nuSiO2 != 0; }
    bool usesTiO2() const { return nuTiO2 != 0; }
    // Anything beyond log K = A/T + B.
    bool hasTerms() const { return usesPressure() || usesComposition() || usesSiO2() || usesTiO2(); }
};

// The conditions a sample formed at; activities default to 1 (saturated).
struct Conditions {
    double pressureKbar = 0;
    double x = 0;
    double aSiO2 = 1, aTiO2 = 1;
};

// log K of the form at a temperature (kelvin); NaN where the conditions give
// none (a negative pressure under a fractional power, an activity of 0 or below).
double LogK(const Form &form, double kelvin, const Conditions &conditions);
// T (kelvin) at which the form gives K, in closed form:
//   T = (A + C·P^n + E·X) / (log_b K - B - F·X - ν_Si·log_b aSiO2 - ν_Ti·log_b aTiO2).
// Empty for K of 0 or below, unusable conditions, a zero denominator or 0 K or below.
std::optional<double> Kelvin(const Form &form, double k, const Conditions &conditions);

// ∂T/∂ each input at a temperature (kelvin) the form gives under the
// conditions: log K (in the form's own base), P, X, aSiO2, aTiO2. NaN where the
// derivative does not exist (P = 0 under a power below 1).
struct Sensitivity {
    double logK = 0, pressure = 0, x = 0, aSiO2 = 0, aTiO2 = 0;
};
Sensitivity Sensitivities(const Form &form, double kelvin, const Conditions &conditions);

// Where the conditions lie outside the spans the remark states, for the terms the
// form uses: "超出适用压力范围（5-20 kbar）", "超出适用成分范围（Cr# 0.07-0.69）".
QStringList ConditionWarnings(const Form &form, const QString &remark, const QString &xName,
                              const Conditions &conditions);

// log K = A/T + B solved for T (kelvin, single precision). K of 0 or below
// raises 5, x equal to B raises 11, a result past single precision raises 6.
// An unknown log type gives 0.
float Kelvin(const QString &logType, float k, float a, float b);

// The same without exceptions, for rows solved side by side: empty where Kelvin
// would raise, for an unknown log type and for 0 K or below.
std::optional<float> TryKelvin(const QString &logType, float k, float a, float b);

// The same in degrees Celsius; an unknown log type gives 0.
float CalculateTemperature(const QString &logType, float k, float a, float b);
// Kelvin to the Celsius the calculator shows (single precision).
float CelsiusOf(float kelvin);

} // namespace TraceEquation

namespace OlivineEquation {

// r1 = XFo/XFa, r2 = XMg/XFe. Whole kelvin, halves to even; a K of 0 or below
// raises 5, a result outside 16 bits raises 6.
int16_t UltramaficTemperature(float r1, float r2);
int16_t MaficTemperature(float r1, float r2);

} // namespace OlivineEquation
