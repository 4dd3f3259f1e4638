// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding a GB18030 file with bytes that belong to no encoding: the bytes
// around such a byte decode as ever, and the work done does not grow with the
// rest of the file. The converter calls are counted by standing in for iconv.
#include "core/files/TextCodec.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <iconv.h>

namespace {
int g_opens = 0;
int g_calls = 0;
} // namespace

extern "C" iconv_t iconv_open(const char *to, const char *from)
{
    using Open = iconv_t (*)(const char *, const char *);
    static const Open real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "iconv_open"));
    ++g_opens;
    return real(to, from);
}

extern "C" size_t iconv(iconv_t cd, char **in, size_t *inLeft, char **out, size_t *outLeft)
{
    using Convert = size_t (*)(iconv_t, char **, size_t *, char **, size_t *);
    static const Convert real = reinterpret_cast<Convert>(dlsym(RTLD_NEXT, "iconv"));
    ++g_calls;
    return real(cd, in, inLeft, out, outLeft);
}

TEST(TextCodec, StrayBytesCostOnlyThemselves)
{
    // "石英\t3.38\r\n" in GB18030, 20,000 times, one byte 0xFF (neither UTF-8
    // nor GB18030) in line 10, and a lead byte cut off at the very end.
    const QByteArray line = TextCodec::ToGb18030(QStringLiteral("石英\t3.38\r\n"));
    ASSERT_EQ(line.size(), 11);
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i) {
        bytes += line;
        if (i == 9) bytes += '\xff';
    }
    bytes += '\x81';

    g_opens = 0;
    g_calls = 0;
    const QString text = TextCodec::Decode(bytes);
    EXPECT_LE(g_opens, 2) << "the converter is opened once, not once a byte";
    EXPECT_LE(g_calls, 10) << "the rest of the file is decoded in one run";

    QString expected;
    for (int i = 0; i < 20000; ++i) {
        expected += QStringLiteral("石英\t3.38\r\n");
        if (i == 9) expected += QChar(0xFFFD);
    }
    expected += QChar(0xFFFD);
    EXPECT_TRUE(text == expected);
    EXPECT_EQ(text.count(QChar(0xFFFD)), 2);
}

TEST(TextCodec, InvalidSequencesBecomeOneReplacementPerByte)
{
    // 0x81 0x20 starts no character: the 0x81 is replaced, the blank stays.
    EXPECT_EQ(TextCodec::FromGb18030(QByteArray("a\x81 b")), QString("a") + QChar(0xFFFD) + " b");
    EXPECT_EQ(TextCodec::FromGb18030(QByteArray("\xff\xff")), QString(2, QChar(0xFFFD)));
    // A four-byte GB18030 sequence (U+0080) still reads as one character.
    EXPECT_EQ(TextCodec::FromGb18030(QByteArray("\x81\x30\x81\x30\xff")),
              QString(QChar(0x80)) + QChar(0xFFFD));
}
