// SPDX-License-Identifier: GPL-3.0-or-later
// A worksheet of 1,048,576 rows read as lorvane-calc reads a workbook, row by
// row as it is inflated: the time, its ratio to inflating the same worksheet
// alone, and the peak memory, which stays that of a few pieces whatever the
// sheet's length.

#include "core/files/Workbook.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

namespace {

constexpr int kRows = 1048576; // the header and 1,048,575 samples
constexpr zip_int64_t kPiece = 256 * 1024;

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The worksheet's XML made as libzip asks for it, so that the sheet never stands
// in memory. Text as Excel keeps it (shared strings: one per sample name, one
// each for the type and the minerals), numbers with three decimals.
struct SheetWriter {
    std::mt19937_64 random{7};
    std::uniform_real_distribution<double> u{0, 1};
    int row = 0;
    bool ended = false;
    zip_error_t error{};
    std::string pending;
    size_t at = 0;

    void refill()
    {
        pending.clear();
        at = 0;
        if (row == 0) {
            pending = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet "
                      "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
                      "<row r=\"1\">";
            for (const char *h :
                 {"sample", "type", "mineral_a", "mineral_b", "delta_a", "sigma_a", "delta_b", "sigma_b"})
                pending += std::string("<c t=\"inlineStr\"><is><t>") + h + "</t></is></c>";
            pending += "</row>";
            row = 1;
            return;
        }
        if (row >= kRows) {
            if (!ended) pending = "</sheetData></worksheet>";
            ended = true;
            return;
        }
        // Some hundreds of rows at a time.
        char number[32];
        for (int i = 0; i < 512 && row < kRows; ++i, ++row) {
            const std::string r = std::to_string(row + 1);
            pending += "<row r=\"" + r + "\"><c t=\"s\"><v>" + std::to_string(row + 2) +
                       "</v></c><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c><c t=\"s\"><v>2</v></c>";
            std::snprintf(number, sizeof number, "%.3f", 12 + 4 * u(random));
            pending += std::string("<c><v>") + number + "</v></c><c><v>0.1</v></c>";
            std::snprintf(number, sizeof number, "%.3f", 4 * u(random) - 2);
            pending += std::string("<c><v>") + number + "</v></c><c><v>0.1</v></c></row>";
        }
    }

    static zip_int64_t call(void *self, void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        auto *w = static_cast<SheetWriter *>(self);
        switch (command) {
        case ZIP_SOURCE_OPEN: return 0;
        case ZIP_SOURCE_READ: {
            zip_uint64_t done = 0;
            while (done < length) {
                if (w->at == w->pending.size()) {
                    w->refill();
                    if (w->pending.empty()) break;
                }
                const size_t n = std::min<size_t>(length - done, w->pending.size() - w->at);
                std::memcpy(static_cast<char *>(data) + done, w->pending.data() + w->at, n);
                w->at += n;
                done += n;
            }
            return zip_int64_t(done);
        }
        case ZIP_SOURCE_CLOSE: return 0;
        case ZIP_SOURCE_STAT: {
            zip_stat_init(static_cast<zip_stat_t *>(data));
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&w->error, data, length);
        case ZIP_SOURCE_FREE: return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                  ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default: zip_error_set(&w->error, ZIP_ER_INVAL, 0); return -1;
        }
    }
};

bool addText(zip_t *archive, const char *name, const std::string &text)
{
    char *copy = static_cast<char *>(std::malloc(text.size()));
    std::memcpy(copy, text.data(), text.size());
    zip_source_t *s = zip_source_buffer(archive, copy, text.size(), 1);
    if (!s || zip_file_add(archive, name, s, ZIP_FL_ENC_UTF_8) < 0) {
        if (s) zip_source_free(s);
        return false;
    }
    return true;
}

bool writePackage(const QString &path)
{
    int err = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!archive) return false;
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    std::string shared = head + "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                                "<si><t>氧同位素</t></si><si><t>石英</t></si><si><t>水</t></si>";
    for (int i = 1; i < kRows; ++i) shared += "<si><t>S" + std::to_string(i) + "</t></si>";
    shared += "</sst>";
    bool ok =
        addText(archive, "[Content_Types].xml",
                head + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" "
                       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>") &&
        addText(archive, "xl/workbook.xml",
                head + "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                       "<sheets><sheet name=\"samples\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>") &&
        addText(archive, "xl/_rels/workbook.xml.rels",
                head +
                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                    "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>") &&
        addText(archive, "xl/sharedStrings.xml", shared);
    shared = std::string();
    SheetWriter writer;
    zip_source_t *sheet = ok ? zip_source_function(archive, &SheetWriter::call, &writer) : nullptr;
    const zip_int64_t index = sheet ? zip_file_add(archive, "xl/worksheets/sheet1.xml", sheet, 0) : -1;
    if (sheet && index < 0) zip_source_free(sheet);
    ok = index >= 0 && zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 6) == 0;
    if (!ok || zip_close(archive) < 0) {
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.xlsx"));
    // Written by a child, so that the peak memory below is the reading's own.
    const pid_t child = fork();
    if (child == 0) _exit(writePackage(path) ? 0 : 1);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return 1;
    }
    QCoreApplication app(argc, argv);
    const long before = peakKiB();

    // The raw operation: the worksheet inflated alone, in the same pieces.
    QElapsedTimer timer;
    timer.start();
    qint64 inflated = 0, compressed = 0;
    {
        int err = 0;
        zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
        zip_stat_t st;
        zip_file_t *file = nullptr;
        if (archive && zip_stat(archive, "xl/worksheets/sheet1.xml", 0, &st) == 0) {
            compressed = qint64(st.comp_size);
            file = zip_fopen(archive, "xl/worksheets/sheet1.xml", 0);
        }
        if (!file) {
            std::fprintf(stderr, "cannot open the worksheet\n");
            return 1;
        }
        std::string piece(size_t(kPiece), '\0');
        for (zip_int64_t n; (n = zip_fread(file, piece.data(), zip_uint64_t(kPiece))) > 0;) inflated += n;
        zip_fclose(file);
        zip_discard(archive);
    }
    const double tRaw = double(timer.nsecsElapsed()) / 1e9;
    const long afterRaw = peakKiB();

    timer.restart();
    qint64 rows = 0, lastDone = 0, reports = 0;
    const QString error = Workbook::StreamFirstSheet(
        path,
        [&rows](Workbook::SheetRow &&) {
            ++rows;
            return true;
        },
        [&](int64_t done, int64_t) {
            lastDone = done;
            ++reports;
        });
    const double tStream = double(timer.nsecsElapsed()) / 1e9;
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("xlsx: %lld rows of 8 columns (worksheet %.0f MiB of XML, %.1f MiB compressed) streamed in "
                "%.2f s; inflating the worksheet alone %.3f s; ratio %.1f; %lld progress reports up to %lld "
                "bytes; peak memory %.0f MiB (%.0f MiB before reading, %.0f MiB after inflating)\n",
                static_cast<long long>(rows), double(inflated) / (1 << 20), double(compressed) / (1 << 20),
                tStream, tRaw, tStream / tRaw, static_cast<long long>(reports),
                static_cast<long long>(lastDone), double(peakKiB()) / 1024, double(before) / 1024,
                double(afterRaw) / 1024);
    return rows == kRows ? 0 : 1;
}
