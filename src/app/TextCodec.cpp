#include "app/TextCodec.h"

#include <QStringDecoder>
#include <cerrno>
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
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

QString FromGb18030(const QByteArray &bytes)
{
    bool ok = false;
    const QByteArray utf8 = convert(bytes, "UTF-8", "GB18030", &ok);
    if (ok) return QString::fromUtf8(utf8);
    // Strict reading failed: decode what can be decoded, byte by byte.
    QString result;
    for (qsizetype i = 0; i < bytes.size();) {
        bool done = false;
        for (int len : {1, 2, 4}) {
            if (i + len > bytes.size()) break;
            const QByteArray piece = convert(bytes.mid(i, len), "UTF-8", "GB18030", &ok);
            if (ok && !piece.isEmpty()) {
                result += QString::fromUtf8(piece);
                i += len;
                done = true;
                break;
            }
        }
        if (!done) {
            result += QChar(0xFFFD);
            ++i;
        }
    }
    return result;
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
