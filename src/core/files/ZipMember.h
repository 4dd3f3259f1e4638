#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

struct zip;

// Members of a zip package (an .xlsx) read in bounded pieces: however large a
// member claims or turns out to be, no more than the limit is ever held.
namespace ZipMember {

// What a spreadsheet member may unpack to: the XML of a sheet of a million
// analyses is well under this.
constexpr int64_t kLimit = 200LL * 1024 * 1024;

enum class Outcome { Ok, Missing, TooLarge, Broken };

// The member `name` (or the member at `index` when name is null), up to `limit`
// bytes; TooLarge as soon as it passes that, whatever its header claims.
Outcome Read(zip *archive, const char *name, QByteArray *out, int64_t limit = kLimit);
Outcome ReadIndex(zip *archive, uint64_t index, QByteArray *out, int64_t limit = kLimit);

// "解压后超过200 MB" and the like, for messages.
QString Why(Outcome outcome, int64_t limit = kLimit);

} // namespace ZipMember
