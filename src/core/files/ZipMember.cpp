#include "core/files/ZipMember.h"

#include <algorithm>
#include <zip.h>

namespace ZipMember {

namespace {

Outcome readOpen(zip_file_t *file, QByteArray *out, int64_t limit, int64_t claimed)
{
    out->clear();
    if (!file) return Outcome::Broken;
    // The claimed size is only a hint: read in pieces and stop past the limit.
    // The first piece is what the member claims (and one byte more, to see that
    // it ends there), so that an honest member is read into one buffer.
    constexpr int64_t piece = 1 << 20;
    int64_t next = claimed > 0 ? std::min(claimed, limit) + 1 : piece;
    Outcome outcome = Outcome::Ok;
    for (;;) {
        const qsizetype at = out->size();
        const int64_t want = std::min<int64_t>(next, limit + 1 - at);
        next = piece;
        if (want <= 0) {
            outcome = Outcome::TooLarge;
            break;
        }
        out->resize(at + qsizetype(want));
        const zip_int64_t got = zip_fread(file, out->data() + at, zip_uint64_t(want));
        if (got < 0) {
            outcome = Outcome::Broken;
            break;
        }
        out->resize(at + qsizetype(got));
        if (got == 0) break;
    }
    zip_fclose(file);
    if (outcome == Outcome::Ok && out->size() > limit) outcome = Outcome::TooLarge;
    if (outcome != Outcome::Ok) *out = QByteArray();
    return outcome;
}

} // namespace

Outcome Read(zip *archive, const char *name, QByteArray *out, int64_t limit)
{
    out->clear();
    const zip_int64_t index = zip_name_locate(archive, name, 0);
    if (index < 0) return Outcome::Missing;
    return ReadIndex(archive, uint64_t(index), out, limit);
}

Outcome ReadIndex(zip *archive, uint64_t index, QByteArray *out, int64_t limit)
{
    out->clear();
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, index, 0, &st) != 0) return Outcome::Missing;
    const bool sized = st.valid & ZIP_STAT_SIZE;
    if (sized && st.size > uint64_t(limit)) return Outcome::TooLarge;
    return readOpen(zip_fopen_index(archive, index, 0), out, limit, sized ? int64_t(st.size) : 0);
}

QString Why(Outcome outcome, int64_t limit)
{
    switch (outcome) {
    case Outcome::Ok: return QString();
    case Outcome::Missing: return QStringLiteral("缺少内容");
    case Outcome::TooLarge: return QStringLiteral("解压后超过%1 MB").arg(limit / (1024 * 1024));
    case Outcome::Broken: return QStringLiteral("压缩数据已损坏");
    }
    return QString();
}

} // namespace ZipMember
