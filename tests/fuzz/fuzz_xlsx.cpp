// SPDX-License-Identifier: GPL-3.0-or-later
// Spreadsheet packages as the batch reads them: the first worksheet's cells,
// then mapped for both kinds and every row's numbers read.
//
// A byte flipped inside a zip member almost always breaks its checksum, so
// plain mutations stop at libzip. Most mutations here therefore unpack the
// package, mutate one member and pack it again (stored, checksums right), which
// lets the fuzzer reach the XML; the rest mutate the raw bytes, for the zip layer.
#include "FuzzCheck.h"

#include "core/files/CellReference.h"
#include "core/thermometry/BatchTable.h"

#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize);

namespace {

struct Member {
    std::string name, data;
};

// Every member, or false for a package libzip refuses or that unpacks past `limit`.
bool unpack(const uint8_t *data, size_t size, size_t limit, std::vector<Member> *members)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(data, size, 0, &error);
    zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        if (source) zip_source_free(source);
        return false;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    size_t total = 0;
    bool ok = count > 0;
    for (zip_int64_t i = 0; ok && i < count; ++i) {
        zip_stat_t st;
        zip_file_t *file = nullptr;
        ok = zip_stat_index(archive, zip_uint64_t(i), 0, &st) == 0 && (st.valid & ZIP_STAT_NAME) &&
             (st.valid & ZIP_STAT_SIZE) && (total += st.size) <= limit &&
             (file = zip_fopen_index(archive, zip_uint64_t(i), 0)) != nullptr;
        if (!ok) break;
        Member m{st.name, std::string(st.size, '\0')};
        ok = zip_fread(file, m.data.data(), st.size) == zip_int64_t(st.size);
        zip_fclose(file);
        members->push_back(std::move(m));
    }
    zip_discard(archive);
    return ok && !members->empty();
}

uint32_t crc32(const std::string &data)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put(std::string *out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out->push_back(char((value >> (8 * i)) & 0xFF));
}

// Bytes of the zip headers around the members' names and data.
constexpr size_t kLocalHeader = 30, kCentralHeader = 46, kEnd = 22;

// A zip of stored members: local headers and data, central directory, end record.
std::string pack(const std::vector<Member> &members)
{
    std::string out, central;
    for (const Member &m : members) {
        const uint32_t crc = crc32(m.data), offset = uint32_t(out.size()), size = uint32_t(m.data.size());
        const uint32_t nameSize = uint32_t(m.name.size());
        put(&out, 0x04034b50, 4);
        put(&out, 20, 2); // version needed
        put(&out, 0, 2);  // flags
        put(&out, 0, 2);  // stored
        put(&out, 0, 4);  // time, date
        put(&out, crc, 4);
        put(&out, size, 4);
        put(&out, size, 4);
        put(&out, nameSize, 2);
        put(&out, 0, 2); // extra
        out += m.name + m.data;
        put(&central, 0x02014b50, 4);
        put(&central, 20, 2); // made by
        put(&central, 20, 2); // needed
        put(&central, 0, 2);
        put(&central, 0, 2);
        put(&central, 0, 4);
        put(&central, crc, 4);
        put(&central, size, 4);
        put(&central, size, 4);
        put(&central, nameSize, 2);
        put(&central, 0, 2); // extra
        put(&central, 0, 2); // comment
        put(&central, 0, 2); // disk
        put(&central, 0, 2); // internal attributes
        put(&central, 0, 4); // external attributes
        put(&central, offset, 4);
        central += m.name;
    }
    const uint32_t centralOffset = uint32_t(out.size()), centralSize = uint32_t(central.size());
    out += central;
    put(&out, 0x06054b50, 4);
    put(&out, 0, 4); // disk numbers
    put(&out, uint32_t(members.size()), 2);
    put(&out, uint32_t(members.size()), 2);
    put(&out, centralSize, 4);
    put(&out, centralOffset, 4);
    put(&out, 0, 2); // comment
    return out;
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize, unsigned int seed)
{
    std::minstd_rand random(seed);
    std::vector<Member> members;
    if (random() % 4 == 0 || !unpack(data, size, maxSize * 4, &members))
        return LLVMFuzzerMutate(data, size, maxSize);
    // The worksheet and the shared strings are where the reading is: half the time one of them.
    std::vector<size_t> cellParts;
    for (size_t i = 0; i < members.size(); ++i)
        if (members[i].name.find("sheet") != std::string::npos ||
            members[i].name.find("sharedStrings") != std::string::npos)
            cellParts.push_back(i);
    const size_t pick = !cellParts.empty() && random() % 2 ? cellParts[random() % cellParts.size()]
                                                           : random() % members.size();
    size_t others = kEnd;
    for (const Member &m : members)
        others += kLocalHeader + kCentralHeader + 2 * m.name.size() + m.data.size();
    others -= members[pick].data.size();
    if (others >= maxSize) return LLVMFuzzerMutate(data, size, maxSize);
    const size_t room = maxSize - others;
    std::string &target = members[pick].data;
    std::vector<uint8_t> buffer(room);
    const size_t kept = std::min(target.size(), room);
    std::copy(target.begin(), target.begin() + std::ptrdiff_t(kept), buffer.begin());
    target.assign(reinterpret_cast<const char *>(buffer.data()), LLVMFuzzerMutate(buffer.data(), kept, room));
    const std::string packed = pack(members);
    if (packed.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
    std::copy(packed.begin(), packed.end(), data);
    return packed.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray package = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Batch::FileCells cells = Batch::ReadWorkbookData(package);
    for (const Batch::Row &row : cells.rows) {
        // Rows and columns a worksheet can hold, and no more.
        FUZZ_CHECK(row.line >= 1 && row.line <= Xlsx::kMaxRow);
        FUZZ_CHECK(row.cells.size() <= Xlsx::kMaxColumn);
    }
    for (Batch::Kind kind : {Batch::Kind::Isotope, Batch::Kind::Trace}) {
        const Batch::Mapped mapped = Batch::MapColumns(kind, cells.rows);
        QList<Batch::CellProblem> problems;
        for (int i = 0; i < mapped.rows.size(); ++i) Batch::ReadValues(kind, mapped.rows[i], i, &problems);
    }
    return 0;
}
