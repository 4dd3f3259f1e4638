#include "calc/Equations.h"

#include "app/AppError.h"
#include "app/NumberText.h"

#include <cmath>

namespace IsoEquation {

float T(float delta, float aPrime, float bPrime, float c)
{
    const float d = Num::CSng(double(delta) - double(c));
    const float disc = Num::CSng(std::pow(double(bPrime), 2) + double(4.0f * aPrime * d));
    if (disc < 0)
        throw AppError(kNegativeDiscriminant, QStringLiteral("frmCalculateIso.T"), QStringLiteral("Δ<0"));
    return Num::CSng(Num::Div(double(bPrime) + std::sqrt(double(disc)), double(2.0f * d)));
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
