// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

// A failed comparison shows the text itself, Chinese included, not the bytes
// of each QChar: every runner gets the printers (see tests/CMakeLists.txt).
TEST(QtPrinting, FailedComparisonsShowReadableText)
{
    EXPECT_EQ(::testing::PrintToString(QStringLiteral("温度 T(°C)")), "\"温度 T(°C)\"");
    EXPECT_EQ(::testing::PrintToString(QStringList{QStringLiteral("矿物A"), QStringLiteral("B")}),
              "{\"矿物A\", \"B\"}");
}
