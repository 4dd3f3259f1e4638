#include "core/files/ZipMember.h"

#include <zip.h>

namespace ZipMember {

namespace {

Outcome readOpen(zip_file_t *file, QByteArray *out, int64_t limit)
{
    out->clear();
    if (!file) return Outcome::Broken;
    // The claimed size is only a hint: read in pieces and stop past the limit.
    constexpr int64_t piece = 1 << 20;
    Outcome outcome = Outcome::Ok;
    for (;;) {
        const qsizetype at = out->size();
        const int64_t want = std::min<int64_t>(piece, limit + 1 - at);
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
    if ((st.valid & ZIP_STAT_SIZE) && st.size > uint64_t(limit)) return Outcome::TooLarge;
    return readOpen(zip_fopen_index(archive, index, 0), out, limit);
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
