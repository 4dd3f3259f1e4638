// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/TextCodec.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace TextCodec {
namespace {

QByteArray convert(const QByteArray &in, const char *to, const char *from, bool *ok)
{
    *ok = false;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return QByteArray();
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    char *src = const_cast<char *>(in.constData());
    size_t srcLeft = size_t(in.size());
    char *dst = out.data();
    size_t dstLeft = size_t(out.size());
    bool failed = false;
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1)) {
            if (errno == E2BIG) {
                const qsizetype used = dst - out.data();
                out.resize(out.size() * 2);
                dst = out.data() + used;
                dstLeft = size_t(out.size() - used);
                continue;
            }
            failed = true;
            break;
        }
    }
    iconv_close(cd);
    if (failed) return QByteArray();
    out.truncate(dst - out.data());
    *ok = true;
    return out;
}

} // namespace

bool IsValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        int extra;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else
            return false;
        if (i + extra >= n) return false; // cut off at the end
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

QString FromGb18030(const QByteArray &bytes)
{
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) return QString(bytes.size(), QChar(0xFFFD));
    // One pass in runs: a byte that starts no GB18030 character becomes U+FFFD
    // and the conversion goes on after it, so one stray byte costs no more
    // than itself.
    static const char kReplacement[] = "\xEF\xBF\xBD";
    QByteArray out;
    out.resize(bytes.size() * 2 + 16);
    char *src = const_cast<char *>(bytes.constData());
    size_t srcLeft = size_t(bytes.size());
    char *dst = out.data();
    size_t dstLeft = size_t(out.size());
    auto grow = [&] {
        const qsizetype used = dst - out.data();
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = size_t(out.size() - used);
    };
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1)) break;
        if (errno == E2BIG) {
            grow();
            continue;
        }
        // EILSEQ (no character starts here) or EINVAL (cut off at the end).
        if (dstLeft < sizeof kReplacement) grow();
        memcpy(dst, kReplacement, 3);
        dst += 3;
        dstLeft -= 3;
        ++src;
        --srcLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    }
    iconv_close(cd);
    out.truncate(dst - out.data());
    return QString::fromUtf8(out);
}

QByteArray ToGb18030(const QString &text)
{
    bool ok = false;
    return convert(text.toUtf8(), "GB18030", "UTF-8", &ok);
}

QString Decode(const QByteArray &bytes)
{
    if (IsValidUtf8(bytes)) {
        QString text = QString::fromUtf8(bytes);
        if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
        return text;
    }
    return FromGb18030(bytes);
}

QByteArray Encode(const QString &text) { return text.toUtf8(); }

} // namespace TextCodec
