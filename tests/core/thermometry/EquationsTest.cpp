// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/Equations.h"
#include "core/base/AppError.h"

#include "support/core/Errors.h"
#include <cmath>

#include <gtest/gtest.h>

TEST(IsotopeEquation, SolvesTheFractionationEquationForT)
{
    // A = 3.38, B = 0, C = -3.4; δA 10, δB 2.
    const float kelvin = IsoEquation::T(8.0f, 3.38e6f, 0.0f, -3.4f);
    EXPECT_NEAR(kelvin, 544.51, 0.01);
    EXPECT_EQ(std::nearbyint(double(kelvin) - 273.15), 271.0);
    EXPECT_FLOAT_EQ(IsoEquation::WaterDelta(3.38f, 0.0f, -3.4f, 271.0f, 10.0f), 1.98f);
}

TEST(IsotopeEquation, FailuresAreErrorsNotNumbers)
{
    try {
        IsoEquation::T(-10.0f, 3.38e6f, 0.0f, -3.4f);
        FAIL();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), int32_t(0x80040064u));
        EXPECT_EQ(e.source(), QStringLiteral("frmCalculateIso.T"));
        EXPECT_EQ(e.description(), QStringLiteral("Δ<0"));
    }
    EXPECT_EQ(errorOf([] { IsoEquation::T(-3.4f, 3.38e6f, 1000.0f, -3.4f); }), ErrNo::DivisionByZero);
}

TEST(TraceEquation, BothLogarithmTypes)
{
    EXPECT_FLOAT_EQ(TraceEquation::CalculateTemperature(QStringLiteral("10"), 10, 1000, 0), 726.85f);
    EXPECT_FLOAT_EQ(TraceEquation::CalculateTemperature(QStringLiteral("e"), 7.389056f, 2000, 1), 1726.85f);
    EXPECT_EQ(TraceEquation::CalculateTemperature(QStringLiteral("E"), 10, 1000, 0), 0.0f);
    EXPECT_EQ(TraceEquation::CalculateTemperature(QString(), 10, 1000, 0), 0.0f);
    EXPECT_FALSE(TraceEquation::IsKnownLogType(QStringLiteral("E")));
}

TEST(TraceEquation, FailuresAreErrorsNotNumbers)
{
    EXPECT_EQ(errorOf([] { TraceEquation::Kelvin(QStringLiteral("e"), 0, 1000, 0); }), ErrNo::InvalidCall);
    EXPECT_EQ(errorOf([] { TraceEquation::Kelvin(QStringLiteral("10"), -1, 1000, 0); }), ErrNo::InvalidCall);
    EXPECT_EQ(errorOf([] { TraceEquation::Kelvin(QStringLiteral("e"), 1, 1000, 0); }), ErrNo::DivisionByZero);
    EXPECT_EQ(errorOf([] { TraceEquation::Kelvin(QStringLiteral("e"), 1.0001f, 3e38f, 0); }),
              ErrNo::Overflow);
}

TEST(OlivineEquation, TheTwoCalibrations)
{
    const float r1 = 0.9f / 0.1f, r2 = 0.2f / 0.1f;
    EXPECT_EQ(OlivineEquation::UltramaficTemperature(r1, r2), 761);
    EXPECT_EQ(OlivineEquation::MaficTemperature(r1, r2), 1468);
    EXPECT_EQ(OlivineEquation::UltramaficTemperature(1, 1), 2270);
    EXPECT_EQ(OlivineEquation::MaficTemperature(1, 1), 1695);
    EXPECT_EQ(errorOf([] { OlivineEquation::UltramaficTemperature(0, 1); }), ErrNo::InvalidCall);
    EXPECT_EQ(errorOf([] { OlivineEquation::MaficTemperature(-1, 1); }), ErrNo::InvalidCall);
    EXPECT_EQ(errorOf([] { OlivineEquation::UltramaficTemperature(1e-30f, 1); }), ErrNo::Overflow);
}
