// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/NumberText.h"
#include "core/base/AppError.h"

#include "support/core/Errors.h"
#include <cfloat>
#include <cmath>

#include <QLocale>
#include <gtest/gtest.h>

TEST(NumberText, GeneralSingleText)
{
    EXPECT_EQ(Num::Str(726.8499755859375f), "726.85");
    EXPECT_EQ(Num::Str(-3.4f), "-3.4");
    EXPECT_EQ(Num::Str(0.5f), "0.5");
    EXPECT_EQ(Num::Str(3.38f), "3.38");
    EXPECT_EQ(Num::Str(0.0f), "0");
    EXPECT_EQ(Num::Str(-0.0f), "0");
    EXPECT_EQ(Num::Str(1000000.0f), "1000000");
    EXPECT_EQ(Num::Str(1234567.0f), "1234567");
    EXPECT_EQ(Num::Str(0.0001f), "0.0001");
    EXPECT_EQ(Num::Str(150000000.0f), "1.5E+08");
    EXPECT_EQ(Num::Str(0.00001f), "1E-05");
    EXPECT_EQ(Num::Str(1726.85f), "1726.85");
}

TEST(NumberText, ExponentFormReadsBackAsTheSameFloat)
{
    for (float f : {1.2345678e20f, -9.876543e-12f, FLT_MAX, FLT_MIN, 3.0e-7f, 16777217.0f, 1.0e10f}) {
        const QString text = Num::Str(f);
        EXPECT_EQ(Num::ToSingle(text), f) << text.toStdString();
    }
}

TEST(NumberText, NumericTest)
{
    for (const char *yes : {"-3.38", "2.5E+6", "0", " 12 ", "+.5", "5.", "1e5", "\t7"})
        EXPECT_TRUE(Num::IsNumeric(QString::fromLatin1(yes))) << yes;
    for (const char *no : {"", " ", "12a", "a12", ".", "-", "1e", "$5", "1 2", "e5", "1.000,5", "1,000.5"})
        EXPECT_FALSE(Num::IsNumeric(QString::fromLatin1(no))) << no;
    // A comma is a decimal separator only where the user's locale has it so.
    EXPECT_EQ(Num::IsNumeric(QStringLiteral("1,000")),
              QLocale::system().decimalPoint() == QStringLiteral(","));
    EXPECT_FALSE(Num::IsNumeric(QStringLiteral("１２"))); // full-width digits are not ours
}

TEST(NumberText, ConversionsRaiseInsteadOfGarbage)
{
    EXPECT_EQ(Num::ToDouble(QStringLiteral(" -3.38 ")), -3.38);
    EXPECT_EQ(errorOf([] { Num::ToSingle(QStringLiteral("12a")); }), ErrNo::TypeMismatch);
    EXPECT_EQ(errorOf([] { Num::ToSingle(QString()); }), ErrNo::TypeMismatch);
    EXPECT_EQ(errorOf([] { Num::ToSingle(QStringLiteral("1e39")); }), ErrNo::Overflow);
    EXPECT_EQ(errorOf([] { Num::ToDouble(QStringLiteral("1e400")); }), ErrNo::Overflow);
    EXPECT_EQ(errorOf([] { Num::Ln(0); }), ErrNo::InvalidCall);
    EXPECT_EQ(errorOf([] { Num::Ln(-1); }), ErrNo::InvalidCall);
    EXPECT_EQ(errorOf([] { Num::Div(1, 0); }), ErrNo::DivisionByZero);
    EXPECT_EQ(errorOf([] { Num::CSng(1e300); }), ErrNo::Overflow);
    EXPECT_EQ(errorOf([] { Num::CSng(NAN); }), ErrNo::Overflow);

    try {
        Num::ToSingle(QStringLiteral("x"));
    } catch (const AppError &e) {
        EXPECT_EQ(e.description(), QStringLiteral("类型不匹配"));
    }
}

TEST(NumberText, LeadingNumber)
{
    EXPECT_EQ(Num::Val(QStringLiteral("12abc")), 12.0);
    EXPECT_EQ(Num::Val(QStringLiteral("  -3.5e2x")), -350.0);
    EXPECT_EQ(Num::Val(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(Num::Val(QString()), 0.0);
    EXPECT_EQ(Num::Val(QStringLiteral("2e")), 2.0);
    EXPECT_EQ(Num::Val(QStringLiteral(".5")), 0.5);
}

TEST(NumberText, SixteenBitRoundingHalvesToEven)
{
    EXPECT_EQ(Num::CInt(271.5), 272);
    EXPECT_EQ(Num::CInt(270.5), 270);
    EXPECT_EQ(Num::CInt(-2.5), -2);
    EXPECT_EQ(Num::CInt(760.6), 761);
    EXPECT_EQ(Num::CInt(32767.4), 32767);
    EXPECT_EQ(Num::CInt(-32768.0), -32768);
    EXPECT_EQ(errorOf([] { Num::CInt(32767.5); }), ErrNo::Overflow);
    EXPECT_EQ(errorOf([] { Num::CInt(-32768.6); }), ErrNo::Overflow);
    EXPECT_EQ(errorOf([] { Num::CInt(NAN); }), ErrNo::Overflow);
    EXPECT_EQ(errorOf([] { Num::CLng(3e9); }), ErrNo::Overflow);
}

TEST(NumberText, FixedDecimals)
{
    EXPECT_EQ(Num::Fixed(1.98456, 2), "1.98");
    EXPECT_EQ(Num::Fixed(5.2, 2), "5.20");
    EXPECT_EQ(Num::Fixed(-0.001, 2), "0.00");
    EXPECT_EQ(Num::Fixed(0.5, 2), "0.50");
}
