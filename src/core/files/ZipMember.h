// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

struct zip;
struct zip_file;
struct zip_source;

// Members of a zip package (an .xlsx) read in bounded pieces: however large a
// member claims or turns out to be, no more than the limit is ever held.
namespace ZipMember {

// What a spreadsheet member may unpack to: the XML of a sheet of a million
// analyses is well under this.
constexpr int64_t kLimit = 200LL * 1024 * 1024;
// What a worksheet read as it streams may unpack to: its memory stays flat, so
// only the time bounds it (some seconds a gigabyte), and a million-row sheet
// as Excel writes it is near 300 MB.
constexpr int64_t kStreamedLimit = 1024LL * 1024 * 1024;

enum class Outcome { Ok, Missing, TooLarge, Broken };

// The member `name` (or the member at `index` when name is null), up to `limit`
// bytes; TooLarge as soon as it passes that, whatever its header claims.
Outcome Read(zip *archive, const char *name, QByteArray *out, int64_t limit = kLimit);
Outcome ReadIndex(zip *archive, uint64_t index, QByteArray *out, int64_t limit = kLimit);

// "解压后超过200 MB" and the like, for messages.
QString Why(Outcome outcome, int64_t limit = kLimit);

// A package opened for reading, from a file or from bytes in memory (which
// must outlive it), counting the bytes taken from under it so that a long read
// can say how far it has come.
class Package {
  public:
    explicit Package(const QString &path);
    explicit Package(const QByteArray &bytes);
    ~Package();
    Package(const Package &) = delete;
    Package &operator=(const Package &) = delete;

    // Null when the file cannot be opened or is no zip package.
    zip *archive() const { return archive_; }
    // Bytes read from the file (or the memory) so far, headers included.
    int64_t bytesRead() const;

    struct Counter;

  private:
    void open(zip_source *inner);

    std::unique_ptr<Counter> counter_;
    zip *archive_ = nullptr;
};

// A member read a piece at a time, never more than `limit` bytes in all,
// whatever its headers claim.
class Reader {
  public:
    Reader(zip *archive, const char *name, int64_t limit = kLimit);
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // Up to `size` bytes of the member into `to`: 0 at its end and on a
    // failure, which outcome() then names (TooLarge as soon as the limit is passed).
    int64_t read(char *to, int64_t size);
    Outcome outcome() const { return outcome_; }
    int64_t limit() const { return limit_; }
    // The member's compressed size as its headers give it (0 when they do not).
    int64_t compressedSize() const { return compressed_; }
    // Bytes handed out so far.
    int64_t done() const { return done_; }

  private:
    zip_file *file_ = nullptr;
    Outcome outcome_ = Outcome::Ok;
    int64_t limit_ = 0, done_ = 0, compressed_ = 0;
};

} // namespace ZipMember
