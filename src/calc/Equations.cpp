#include "calc/Equations.h"

#include "app/AppError.h"
#include "app/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace IsoEquation {

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
    if (!(std::fabs(other) <= double(std::numeric_limits<float>::max()))) {
        s.kelvin = r1;
        return s;
    }
    const float r2 = float(other);
    if (r1 <= 0 || r2 <= 0) {
        s.kelvin = std::max(r1, r2);
        return s;
    }
    if (range) {
        // A root computed in single precision from Δ at a range's end lands a
        // fraction of a degree either side of it; it still belongs to the range.
        constexpr double slack = 1.0;
        const bool in1 = range->containsKelvin(r1, slack), in2 = range->containsKelvin(r2, slack);
        if (in1 != in2) {
            s.kelvin = in1 ? r1 : r2;
            return s;
        }
        if (in1 && r1 != r2) s.ambiguousKelvin = std::min(r1, r2);
    }
    s.kelvin = std::max(r1, r2);
    return s;
}

float T(float delta, float aPrime, float bPrime, float c, const std::optional<CalibrationRange> &range)
{
    const Solution s = Solve(delta, aPrime, bPrime, c, range);
    switch (s.status) {
    case SolveStatus::Ok: return s.kelvin;
    case SolveStatus::NegativeDiscriminant:
        throw AppError(kNegativeDiscriminant, QStringLiteral("frmCalculateIso.T"), QStringLiteral("Δ<0"));
    case SolveStatus::DivisionByZero: raiseRuntimeError(ErrNo::DivisionByZero);
    case SolveStatus::Overflow: break;
    }
    raiseRuntimeError(ErrNo::Overflow);
}

double Fractionation(double a, double b, double c, double kelvin)
{
    return a * 1e6 / (kelvin * kelvin) + b * 1e3 / kelvin + c;
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

float Kelvin(const QString &logType, float k, float a, float b)
{
    double x;
    if (logType == QLatin1String("10"))
        x = Num::Ln(k) / std::log(10.0);
    else if (logType == QLatin1String("e"))
        x = Num::Ln(k);
    else
        return 0;
    return Num::CSng(Num::Div(double(a), x - double(b)));
}

float CalculateTemperature(const QString &logType, float k, float a, float b)
{
    if (!IsKnownLogType(logType)) return 0;
    return Num::CSng(double(Kelvin(logType, k, a, b)) - 273.15);
}

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
