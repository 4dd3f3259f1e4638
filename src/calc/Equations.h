#pragma once

#include <QString>
#include <cstdint>

// The thermometer equations, free of windows. Temperatures in kelvin unless
// the name says otherwise. Arithmetic failures raise AppError.
namespace IsoEquation {

// Positive root of (Δ - C)·T² - B'·T - A' = 0, with A' = 10^6·A and B' = 10^3·B.
// A negative discriminant raises 0x80040064 "Δ<0" (source "frmCalculateIso.T");
// Δ equal to C raises the division-by-zero error.
float T(float delta, float aPrime, float bPrime, float c);

// δ of water in equilibrium with mineral A at t °C, rounded to two decimals.
float WaterDelta(float a, float b, float c, float tCelsius, float deltaA);

constexpr int32_t kNegativeDiscriminant = int32_t(0x80040064u);

} // namespace IsoEquation

namespace TraceEquation {

bool IsKnownLogType(const QString &logType); // "10" or "e", exactly

// log K = A/T + B solved for T (kelvin, single precision). K of 0 or below
// raises 5, x equal to B raises 11, a result past single precision raises 6.
// An unknown log type gives 0.
float Kelvin(const QString &logType, float k, float a, float b);

// The same in degrees Celsius; an unknown log type gives 0.
float CalculateTemperature(const QString &logType, float k, float a, float b);

} // namespace TraceEquation

namespace OlivineEquation {

// r1 = XFo/XFa, r2 = XMg/XFe. Whole kelvin, halves to even; a K of 0 or below
// raises 5, a result outside 16 bits raises 6.
int16_t UltramaficTemperature(float r1, float r2);
int16_t MaficTemperature(float r1, float r2);

} // namespace OlivineEquation
