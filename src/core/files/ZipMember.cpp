// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/ZipMember.h"

#include <QCoreApplication>
#include <QFile>
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

// ---- reading a package in pieces ---------------------------------------------

// Sits between libzip and the file (or memory) and counts what is read.
struct Package::Counter {
    zip_source_t *inner = nullptr;
    zip_error_t error;
    int64_t read = 0;

    Counter() { zip_error_init(&error); }
    ~Counter() { zip_error_fini(&error); }

    zip_int64_t fail()
    {
        zip_error_set(&error, zip_error_code_zip(zip_source_error(inner)),
                      zip_error_code_system(zip_source_error(inner)));
        return -1;
    }

    static zip_int64_t call(void *self, void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto *c = static_cast<Counter *>(self);
        switch (command) {
        case ZIP_SOURCE_OPEN: return zip_source_open(c->inner) < 0 ? c->fail() : 0;
        case ZIP_SOURCE_READ: {
            const zip_int64_t n = zip_source_read(c->inner, data, length);
            if (n < 0) return c->fail();
            c->read += n;
            return n;
        }
        case ZIP_SOURCE_CLOSE: return zip_source_close(c->inner) < 0 ? c->fail() : 0;
        case ZIP_SOURCE_STAT:
            if (length < sizeof(zip_stat_t)) break;
            if (zip_source_stat(c->inner, static_cast<zip_stat_t *>(data)) < 0) return c->fail();
            return zip_int64_t(sizeof(zip_stat_t));
        case ZIP_SOURCE_SEEK: {
            if (length < sizeof(zip_source_args_seek_t)) break;
            const auto *seek = static_cast<const zip_source_args_seek_t *>(data);
            return zip_source_seek(c->inner, seek->offset, seek->whence) < 0 ? c->fail() : 0;
        }
        case ZIP_SOURCE_TELL: {
            const zip_int64_t at = zip_source_tell(c->inner);
            return at < 0 ? c->fail() : at;
        }
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&c->error, data, length);
        case ZIP_SOURCE_FREE:
            zip_source_free(c->inner);
            c->inner = nullptr;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                  ZIP_SOURCE_STAT, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS, -1);
        default: break;
        }
        zip_error_set(&c->error, ZIP_ER_INVAL, 0);
        return -1;
    }
};

Package::Package(const QString &path)
{
    zip_error_t error;
    zip_error_init(&error);
    open(zip_source_file_create(QFile::encodeName(path).constData(), 0, -1, &error));
    zip_error_fini(&error);
}

Package::Package(const QByteArray &bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    open(zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error));
    zip_error_fini(&error);
}

void Package::open(zip_source_t *inner)
{
    if (!inner) return;
    counter_ = std::make_unique<Counter>();
    counter_->inner = inner;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *counted = zip_source_function_create(&Counter::call, counter_.get(), &error);
    if (!counted) {
        zip_source_free(inner);
        counter_->inner = nullptr;
    } else {
        archive_ = zip_open_from_source(counted, ZIP_RDONLY, &error);
        // Not taken by an archive: freed here, and the file with it.
        if (!archive_) zip_source_free(counted);
    }
    zip_error_fini(&error);
}

Package::~Package()
{
    if (archive_) zip_discard(archive_);
}

int64_t Package::bytesRead() const { return counter_ ? counter_->read : 0; }

Reader::Reader(zip *archive, const char *name, int64_t limit) : limit_(limit)
{
    const zip_int64_t index = archive ? zip_name_locate(archive, name, 0) : -1;
    zip_stat_t st;
    zip_stat_init(&st);
    if (index < 0 || zip_stat_index(archive, zip_uint64_t(index), 0, &st) != 0) {
        outcome_ = Outcome::Missing;
        return;
    }
    if ((st.valid & ZIP_STAT_SIZE) && st.size > uint64_t(limit)) {
        outcome_ = Outcome::TooLarge;
        return;
    }
    if (st.valid & ZIP_STAT_COMP_SIZE) compressed_ = int64_t(std::min<zip_uint64_t>(st.comp_size, INT64_MAX));
    file_ = zip_fopen_index(archive, zip_uint64_t(index), 0);
    if (!file_) outcome_ = Outcome::Broken;
}

Reader::~Reader()
{
    if (file_) zip_fclose(file_);
}

int64_t Reader::read(char *to, int64_t size)
{
    if (!file_ || outcome_ != Outcome::Ok || size <= 0) return 0;
    // One byte past the limit is asked for, to see a member that ends right there.
    const int64_t want = std::min(size, limit_ + 1 - done_);
    const zip_int64_t got = want > 0 ? zip_fread(file_, to, zip_uint64_t(want)) : 0;
    if (got < 0)
        outcome_ = Outcome::Broken;
    else if (done_ + got > limit_)
        outcome_ = Outcome::TooLarge;
    if (outcome_ != Outcome::Ok) {
        zip_fclose(file_);
        file_ = nullptr;
        return 0;
    }
    done_ += got;
    return got;
}

QString Why(Outcome outcome, int64_t limit)
{
    switch (outcome) {
    case Outcome::Ok: return QString();
    case Outcome::Missing: return QCoreApplication::translate("ZipMember", "缺少内容");
    case Outcome::TooLarge:
        return QCoreApplication::translate("ZipMember", "解压后超过%1 MB").arg(limit / (1024 * 1024));
    case Outcome::Broken: return QCoreApplication::translate("ZipMember", "压缩数据已损坏");
    }
    return QString();
}

} // namespace ZipMember
