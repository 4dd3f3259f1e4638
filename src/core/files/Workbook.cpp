// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/Workbook.h"

#include "core/files/CellReference.h"
#include "core/files/ZipMember.h"

#include "core/base/AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>
#include <zip.h>

namespace Workbook {

const QString kErrorSource = QStringLiteral("ExportToExcel");

QString ErrorText() { return QCoreApplication::translate("Workbook", "数据导出过程中出错"); }

namespace {

const char kTemplateType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
const char kWorkbookType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";

// Excel's limits: rows of a sheet, characters of a cell.
constexpr long kMaxRows = 1048576;
constexpr int kMaxCellText = 32767;
constexpr zip_uint32_t kDeflateLevel = 6;

[[noreturn]] void fail(int32_t number) { throw AppError(number, kErrorSource, ErrorText()); }

// ---- the package -------------------------------------------------------------

struct Entry {
    std::string name;
    QByteArray data;
    bool directory = false;
};

std::vector<Entry> readPackage(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) fail(ErrNo::FileNotFound);
    if (!info.isFile()) fail(ErrNo::FileAccess);
    int err = 0;
    zip_t *za = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!za) fail(err == ZIP_ER_OPEN || err == ZIP_ER_READ ? ErrNo::FileAccess : kBrokenWorkbook);

    std::vector<Entry> entries;
    bool ok = true;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; ok && i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za, zip_uint64_t(i), 0, &st) < 0 || !(st.valid & ZIP_STAT_NAME) ||
            !(st.valid & ZIP_STAT_SIZE)) {
            ok = false;
            break;
        }
        Entry e;
        e.name = st.name;
        e.directory = !e.name.empty() && e.name.back() == '/';
        if (!e.directory) {
            ok = ZipMember::ReadIndex(za, zip_uint64_t(i), &e.data) == ZipMember::Outcome::Ok;
        }
        entries.push_back(std::move(e));
    }
    zip_discard(za);
    if (!ok) fail(kBrokenWorkbook);
    return entries;
}

QByteArray writePackage(const std::vector<Entry> &entries)
{
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &ze);
    zip_error_fini(&ze);
    if (!buffer) fail(ErrNo::FileAccess);
    zip_t *za = zip_open_from_source(buffer, ZIP_TRUNCATE, nullptr);
    if (!za) {
        zip_source_free(buffer);
        fail(ErrNo::FileAccess);
    }
    // The archive lets go of the buffer when it closes; we still read it then.
    zip_source_keep(buffer);

    bool ok = true;
    for (const Entry &e : entries) {
        if (e.directory) {
            ok = zip_dir_add(za, e.name.c_str(), ZIP_FL_ENC_UTF_8) >= 0;
        } else {
            zip_source_t *s = zip_source_buffer(za, e.data.constData(), zip_uint64_t(e.data.size()), 0);
            const zip_int64_t index = s ? zip_file_add(za, e.name.c_str(), s, ZIP_FL_ENC_UTF_8) : -1;
            if (s && index < 0) zip_source_free(s);
            // libzip compresses at its strongest level unless told otherwise: far
            // slower on a large sheet for a file hardly smaller.
            ok = index >= 0 &&
                 zip_set_file_compression(za, zip_uint64_t(index), ZIP_CM_DEFLATE, kDeflateLevel) == 0;
        }
        if (!ok) break;
    }
    if (!ok || zip_close(za) < 0) {
        zip_discard(za);
        zip_source_free(buffer);
        fail(ErrNo::FileAccess);
    }

    QByteArray out;
    zip_stat_t st;
    zip_stat_init(&st);
    ok = zip_source_stat(buffer, &st) >= 0 && (st.valid & ZIP_STAT_SIZE) && zip_source_open(buffer) >= 0;
    if (ok) {
        out.resize(qsizetype(st.size));
        zip_int64_t done = 0;
        while (done < out.size()) {
            const zip_int64_t n = zip_source_read(buffer, out.data() + done, zip_uint64_t(out.size() - done));
            if (n <= 0) break;
            done += n;
        }
        ok = done == out.size();
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    if (!ok) fail(ErrNo::FileAccess);
    return out;
}

// Package part names compare without regard to case.
Entry *findPart(std::vector<Entry> &entries, const std::string &name)
{
    const QString wanted = QString::fromStdString(name);
    for (Entry &e : entries)
        if (!e.directory && QString::fromStdString(e.name).compare(wanted, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

Entry &requirePart(std::vector<Entry> &entries, const std::string &name)
{
    Entry *e = findPart(entries, name);
    if (!e) fail(kBrokenWorkbook);
    return *e;
}

// ---- XML ---------------------------------------------------------------------

void parse(pugi::xml_document &doc, const QByteArray &data)
{
    const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;
    if (!doc.load_buffer(data.constData(), size_t(data.size()), options, pugi::encoding_auto) ||
        !doc.document_element())
        fail(kBrokenWorkbook);
}

QByteArray serialize(const pugi::xml_document &doc)
{
    struct Writer : pugi::xml_writer {
        QByteArray out;
        void write(const void *data, size_t size) override
        {
            out.append(static_cast<const char *>(data), qsizetype(size));
        }
    } writer;
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.out;
}

const char *localName(const char *name)
{
    const char *colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

// The prefix ("" or "x:") with which a part names the elements of its namespace.
std::string prefixOf(const pugi::xml_node &element)
{
    const std::string name = element.name();
    const auto colon = name.find(':');
    return colon == std::string::npos ? std::string() : name.substr(0, colon + 1);
}

// "r:id" and the like: the attribute whose local name is given, prefixed.
pugi::xml_attribute prefixedAttribute(const pugi::xml_node &node, const char *local)
{
    for (pugi::xml_attribute a : node.attributes()) {
        const char *name = a.name();
        if (std::strchr(name, ':') && std::strcmp(localName(name), local) == 0) return a;
    }
    return pugi::xml_attribute();
}

bool endsWith(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string folderOf(const std::string &part)
{
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string relsOf(const std::string &part)
{
    const auto slash = part.rfind('/');
    const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
    return folderOf(part) + "_rels/" + file + ".rels";
}

// A relationship target as a part name of the package (no leading slash).
std::string resolve(const std::string &sourceFolder, const std::string &target)
{
    const std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : sourceFolder + target;
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start <= joined.size()) {
        auto end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        const std::string seg = joined.substr(start, end - start);
        if (seg == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!seg.empty() && seg != ".") {
            parts.push_back(seg);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string &p : parts) out += (out.empty() ? "" : "/") + p;
    return out;
}

struct Relationship {
    std::string type;
    std::string target;
};

std::map<std::string, Relationship>
readRelationships(std::vector<Entry> &entries, const std::string &relsPart, const std::string &sourceFolder)
{
    pugi::xml_document doc;
    parse(doc, requirePart(entries, relsPart).data);
    std::map<std::string, Relationship> rels;
    for (pugi::xml_node r : doc.document_element().children()) {
        if (std::strcmp(localName(r.name()), "Relationship") != 0) continue;
        if (std::strcmp(r.attribute("TargetMode").as_string(), "External") == 0) continue;
        rels[r.attribute("Id").as_string()] = {r.attribute("Type").as_string(),
                                               resolve(sourceFolder, r.attribute("Target").as_string())};
    }
    return rels;
}

// ---- cells -------------------------------------------------------------------

// "C12" -> column 3, row 12; zeros when the reference is not one a sheet can hold.
void parseRef(const char *ref, int *column, long *row)
{
    int r = 0;
    Xlsx::ParseCellReference(ref, column, &r);
    *row = r;
}

std::string cellRef(int column, long row) { return ColumnName(column).toStdString() + std::to_string(row); }

// The styles the template gives whole columns, so that written cells look like
// the cells the user formatted.
struct ColumnStyle {
    int min, max;
    unsigned style;
};

class TemplateSheet {
  public:
    explicit TemplateSheet(pugi::xml_document &doc) : ws_(doc.document_element()), p_(prefixOf(ws_))
    {
        sheetData_ = ws_.child(el("sheetData"));
        if (!sheetData_) fail(kBrokenWorkbook);
        for (pugi::xml_node c : ws_.child(el("cols")).children(el("col")))
            if (c.attribute("style"))
                styles_.push_back({c.attribute("min").as_int(), c.attribute("max").as_int(),
                                   c.attribute("style").as_uint()});
        long prev = 0;
        for (pugi::xml_node row : sheetData_.children(el("row"))) {
            long n = row.attribute("r").as_llong();
            if (n <= prev) n = prev + 1;
            setAttribute(row, "r", std::to_string(n));
            rows_[n] = row;
            prev = n;
        }
    }

    void writeRow(long number, const QStringList &texts)
    {
        auto found = rows_.find(number);
        if (found != rows_.end()) {
            merge(found->second, number, texts);
            return;
        }
        bool any = false;
        for (const QString &t : texts) any = any || !t.isEmpty();
        if (!any) return;
        const auto next = rows_.upper_bound(number);
        pugi::xml_node row = next == rows_.end() ? sheetData_.append_child(el("row"))
                                                 : sheetData_.insert_child_before(el("row"), next->second);
        row.append_attribute("r") = std::to_string(number).c_str();
        rows_.emplace_hint(next, number, row);
        for (int j = 0; j < texts.size(); ++j) {
            if (texts[j].isEmpty()) continue;
            pugi::xml_node c = row.append_child(el("c"));
            c.append_attribute("r") = cellRef(j + 1, number).c_str();
            if (const unsigned s = columnStyle(j + 1)) c.append_attribute("s") = s;
            setText(c, texts[j]);
        }
    }

    // The used range, as Excel expects it in the sheet's dimension.
    void updateDimension()
    {
        long minRow = 0, maxRow = 0;
        int minCol = 0, maxCol = 0;
        for (const auto &[number, row] : rows_) {
            for (pugi::xml_node c : row.children(el("c"))) {
                int col;
                long r;
                parseRef(c.attribute("r").as_string(), &col, &r);
                if (col == 0) continue;
                if (minRow == 0 || number < minRow) minRow = number;
                if (number > maxRow) maxRow = number;
                if (minCol == 0 || col < minCol) minCol = col;
                if (col > maxCol) maxCol = col;
            }
        }
        std::string ref = "A1";
        if (minRow > 0) {
            ref = cellRef(minCol, minRow);
            if (minRow != maxRow || minCol != maxCol) ref += ":" + cellRef(maxCol, maxRow);
        }
        pugi::xml_node dim = ws_.child(el("dimension"));
        if (!dim) {
            const pugi::xml_node sheetPr = ws_.child(el("sheetPr"));
            dim = sheetPr ? ws_.insert_child_after(el("dimension"), sheetPr)
                          : ws_.prepend_child(el("dimension"));
        }
        setAttribute(dim, "ref", ref);
    }

  private:
    // Element names with the part's prefix. Named iterators keep the pointer,
    // so the texts live as long as the sheet.
    const char *el(const char *local)
    {
        std::string &name = names_[local];
        if (name.empty()) name = p_ + local;
        return name.c_str();
    }

    static void setAttribute(pugi::xml_node node, const char *name, const std::string &value)
    {
        pugi::xml_attribute a = node.attribute(name);
        if (!a) a = node.append_attribute(name);
        a.set_value(value.c_str());
    }

    unsigned columnStyle(int column) const
    {
        for (const ColumnStyle &s : styles_)
            if (column >= s.min && column <= s.max) return s.style;
        return 0;
    }

    // A new cell at the end of a row (before its extension list, if any).
    pugi::xml_node appendCell(pugi::xml_node row)
    {
        const pugi::xml_node ext = row.child(el("extLst"));
        return ext ? row.insert_child_before(el("c"), ext) : row.append_child(el("c"));
    }

    // A row the template already has: its cells are kept; those written get the
    // new text (and keep their style).
    void merge(pugi::xml_node row, long number, const QStringList &texts)
    {
        row.remove_attribute("spans");
        std::map<int, pugi::xml_node> cells;
        int prev = 0;
        for (pugi::xml_node c : row.children(el("c"))) {
            int col;
            long r;
            parseRef(c.attribute("r").as_string(), &col, &r);
            if (col <= prev) col = prev + 1;
            setAttribute(c, "r", cellRef(col, number));
            cells[col] = c;
            prev = col;
        }
        for (int j = 0; j < texts.size(); ++j) {
            const int col = j + 1;
            auto found = cells.find(col);
            if (found != cells.end()) {
                clearValue(found->second);
                if (!texts[j].isEmpty()) setText(found->second, texts[j]);
                continue;
            }
            if (texts[j].isEmpty()) continue;
            const auto next = cells.upper_bound(col);
            pugi::xml_node c =
                next == cells.end() ? appendCell(row) : row.insert_child_before(el("c"), next->second);
            c.append_attribute("r") = cellRef(col, number).c_str();
            unsigned s = columnStyle(col);
            if (row.attribute("customFormat").as_bool()) s = row.attribute("s").as_uint();
            if (s) c.append_attribute("s") = s;
            setText(c, texts[j]);
            cells.emplace_hint(next, col, c);
        }
    }

    void clearValue(pugi::xml_node c)
    {
        c.remove_attribute("t");
        c.remove_attribute("cm");
        c.remove_attribute("vm");
        for (const char *local : {"f", "v", "is"})
            while (pugi::xml_node child = c.child(el(local))) c.remove_child(child);
    }

    void setText(pugi::xml_node c, const QString &text)
    {
        c.append_attribute("t") = "inlineStr";
        pugi::xml_node is = c.prepend_child(el("is"));
        pugi::xml_node t = is.append_child(el("t"));
        const QString value = CellText(text.left(kMaxCellText));
        if (value.front().isSpace() || value.back().isSpace() || value.contains(QLatin1Char('\n')))
            t.append_attribute("xml:space") = "preserve";
        t.text().set(value.toUtf8().constData());
    }

    pugi::xml_node ws_;
    std::string p_;
    pugi::xml_node sheetData_;
    std::vector<ColumnStyle> styles_;
    std::map<long, pugi::xml_node> rows_;
    std::map<std::string, std::string> names_;
};

// ---- reading a sheet --------------------------------------------------------

// Elements and attributes by their local names: a workbook may write its
// SpreadsheetML with a prefix ("x:row") or without.
pugi::xml_node child(const pugi::xml_node &node, const char *name)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && std::strcmp(localName(c.name()), name) == 0) return c;
    return {};
}

template <typename F> void eachChild(const pugi::xml_node &node, const char *name, F f)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && std::strcmp(localName(c.name()), name) == 0) f(c);
}

pugi::xml_attribute attribute(const pugi::xml_node &node, const char *name)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        if (std::strcmp(localName(a.name()), name) == 0) return a;
    return {};
}

// Cells held at most, whatever the sheet: a million analyses of a dozen columns.
constexpr qint64 kMaxCells = 12'000'000;

// Members are inflated this much at a time.
constexpr int64_t kPiece = 256 * 1024;

QString cellName(int column, int row) { return Workbook::ColumnName(column) + QString::number(row); }

// The bytes of a member as UTF-8, a piece at a time. Spreadsheet XML is UTF-8
// (a byte-order mark allowed); UTF-16 and UTF-32, told by their mark or by how
// "<?" is written, and Latin-1, when the declaration names it, are converted.
class Utf8Feed {
  public:
    explicit Utf8Feed(ZipMember::Reader *in) : in_(in) {}

    // Up to `size` bytes; 0 at the end or on a failure of the member.
    int64_t read(char *to, int64_t size)
    {
        if (first_) {
            first_ = false;
            if (!start()) return 0;
        }
        while (pending_.size() - at_ == 0) {
            if (!decoder_) return in_->read(to, size);
            pending_.resize(kPiece);
            const int64_t n = in_->read(pending_.data(), kPiece);
            if (n <= 0) {
                pending_.clear();
                at_ = 0;
                return 0;
            }
            const QString text = decoder_->decode(QByteArrayView(pending_.constData(), qsizetype(n)));
            pending_ = text.toUtf8();
            at_ = 0;
        }
        const int64_t n = std::min<int64_t>(size, pending_.size() - at_);
        std::memcpy(to, pending_.constData() + at_, size_t(n));
        at_ += n;
        return n;
    }

  private:
    // The first piece read, its encoding told, and what it holds made ready.
    bool start()
    {
        QByteArray head(kPiece, Qt::Uninitialized);
        const int64_t n = in_->read(head.data(), kPiece);
        if (n <= 0) return false;
        head.truncate(qsizetype(n));
        const auto begins = [&head](const char *bytes, int size) {
            return head.size() >= size && std::memcmp(head.constData(), bytes, size_t(size)) == 0;
        };
        std::optional<QStringConverter::Encoding> encoding;
        if (begins("\x00\x00\xFE\xFF", 4) || begins("\x00\x00\x00<", 4))
            encoding = QStringConverter::Utf32BE;
        else if (begins("\xFF\xFE\x00\x00", 4) || begins("<\x00\x00\x00", 4))
            encoding = QStringConverter::Utf32LE;
        else if (begins("\xFE\xFF", 2) || begins("\x00<\x00?", 4))
            encoding = QStringConverter::Utf16BE;
        else if (begins("\xFF\xFE", 2) || begins("<\x00?\x00", 4))
            encoding = QStringConverter::Utf16LE;
        else if (begins("\xEF\xBB\xBF", 3))
            head.remove(0, 3);
        else if (declaresLatin1(head))
            encoding = QStringConverter::Latin1;
        if (encoding) {
            decoder_.emplace(*encoding);
            pending_ = QString((*decoder_)(head)).toUtf8();
        } else {
            pending_ = std::move(head);
        }
        at_ = 0;
        return true;
    }

    static bool declaresLatin1(const QByteArray &head)
    {
        if (!head.startsWith("<?xml")) return false;
        const qsizetype end = head.indexOf("?>");
        const QByteArray declaration = head.left(end < 0 ? 0 : end);
        const qsizetype at = declaration.indexOf("encoding");
        if (at < 0) return false;
        qsizetype i = at + 8;
        while (i < declaration.size() && (declaration[i] == ' ' || declaration[i] == '=')) ++i;
        if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) return false;
        const qsizetype close = declaration.indexOf(declaration[i], i + 1);
        if (close < 0) return false;
        const QByteArray name = declaration.mid(i + 1, close - i - 1).toLower();
        return name == "iso-8859-1" || name == "iso_8859-1" || name == "latin1";
    }

    ZipMember::Reader *in_;
    bool first_ = true;
    std::optional<QStringDecoder> decoder_;
    QByteArray pending_;
    qsizetype at_ = 0;
};

// XML read as it comes: start and end tags, and character data in pieces with
// its references resolved. Checks what makes a document readable (tags closed
// in order, names, attributes, comments, CDATA and processing instructions
// ended) and holds no more than one tag and one piece, however large the
// document: a tag longer than a few megabytes, nesting past a million elements,
// and a document type (whose entities could multiply) are refused.
class XmlScanner {
  public:
    enum Token { Start, End, Text, Done, Failed, Again };

    explicit XmlScanner(Utf8Feed *feed) : feed_(feed) { buffer_.resize(size_t(kPiece)); }

    Token next();

    // Of the element just started or ended: its local name and depth (the root's is 1).
    std::string_view local() const { return local_; }
    int depth() const { return depth_; }
    // Of Text: the piece, and the local name of the element it is in.
    std::string_view text() const { return text_; }
    std::string_view innermost() const;

    // Of Start: the value of its first attribute of that local name.
    bool attribute(std::string_view local, std::string_view *value);

    // Failed: why. (A member that failed ends the document early: its reader
    // says so, and that comes first.)
    const QString &error() const { return error_; }

  private:
    static constexpr size_t kMaxTag = 16u << 20;
    static constexpr int kMaxDepth = 1 << 20;
    static constexpr size_t kMaxNames = 32u << 20;

    struct Attr {
        size_t name, nameEnd, value, valueEnd;
    };

    bool more(bool grow);
    Token raw(const char *from, size_t size);
    Token fail(const char *why = QT_TRANSLATE_NOOP("Workbook", "XML格式错误"))
    {
        failed_ = true;
        error_ = QCoreApplication::translate("Workbook", why);
        return Failed;
    }
    Token sourceEnded();
    Token tag();
    Token startTag(size_t end);
    Token endTag(size_t end);
    Token special();
    Token skipUntil(const char *terminator, bool give);
    Token characters();
    std::string_view decode(const char *from, size_t size, bool attribute);

    static bool nameStart(unsigned char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
    }
    static bool nameChar(unsigned char c)
    {
        return nameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    }
    static bool space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    static std::string_view localOf(std::string_view name)
    {
        const size_t colon = name.find(':');
        return colon == std::string_view::npos ? name : name.substr(colon + 1);
    }

    Utf8Feed *feed_;
    std::string buffer_;
    size_t pos_ = 0, end_ = 0;
    bool eof_ = false, failed_ = false, sawRoot_ = false;
    // The open elements' names, one after another, and where each ends.
    std::string names_;
    std::vector<size_t> nameEnds_;
    // A started element closed by "/>" ends with the next token; an ended one
    // leaves the open names with the next token (its name is read until then).
    bool pendingEnd_ = false, pop_ = false;
    // Inside a CDATA section that runs past the buffer.
    bool inCdata_ = false;
    std::string_view local_, text_;
    int depth_ = 0;
    std::vector<Attr> attrs_;
    std::string scratch_, attrScratch_;
    QString error_;
};

// More bytes after those held; false at the end of the member, on its failure,
// or when a single tag would outgrow the buffer.
bool XmlScanner::more(bool grow)
{
    if (eof_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (grow && buffer_.size() - end_ < size_t(kPiece) / 2) {
        if (buffer_.size() >= kMaxTag) return false;
        buffer_.resize(std::min(buffer_.size() * 2, kMaxTag));
    }
    if (end_ == buffer_.size()) return false;
    const int64_t n = feed_->read(buffer_.data() + end_, int64_t(buffer_.size() - end_));
    if (n <= 0) {
        eof_ = true;
        return false;
    }
    end_ += size_t(n);
    return true;
}

XmlScanner::Token XmlScanner::sourceEnded()
{
    // The caller asks the member whether it ended or failed; an unfinished
    // document is an error of its own.
    if (!nameEnds_.empty() || !sawRoot_ || inCdata_) return fail();
    return Done;
}

std::string_view XmlScanner::innermost() const
{
    if (nameEnds_.empty()) return {};
    const size_t begin = nameEnds_.size() > 1 ? nameEnds_[nameEnds_.size() - 2] : 0;
    return localOf(std::string_view(names_).substr(begin, nameEnds_.back() - begin));
}

XmlScanner::Token XmlScanner::next()
{
    if (failed_) return Failed;
    if (pop_) {
        pop_ = false;
        names_.resize(nameEnds_.size() > 1 ? nameEnds_[nameEnds_.size() - 2] : 0);
        nameEnds_.pop_back();
    }
    if (pendingEnd_) {
        pendingEnd_ = false;
        pop_ = true;
        depth_ = int(nameEnds_.size());
        return End;
    }
    // Comments and processing instructions are passed over here, not by
    // recursion: a file may hold millions of them.
    for (;;) {
        Token t;
        if (inCdata_)
            t = skipUntil("]]>", true);
        else if (pos_ == end_ && !more(false))
            t = eof_ ? sourceEnded() : fail();
        else if (buffer_[pos_] == '<')
            t = tag();
        else
            t = characters();
        if (t != Again) return t;
    }
}

// Character data up to the next tag, in pieces no larger than the buffer.
XmlScanner::Token XmlScanner::characters()
{
    for (;;) {
        const char *from = buffer_.data() + pos_;
        const void *lt = std::memchr(from, '<', end_ - pos_);
        if (lt) {
            const size_t size = size_t(static_cast<const char *>(lt) - from);
            if (std::memchr(from, '\0', size)) return fail();
            pos_ += size;
            text_ = decode(from, size, false);
            depth_ = int(nameEnds_.size());
            return Text;
        }
        // No tag in sight: read on while there is room, else give what is held,
        // keeping back a reference or a line end the next piece may finish.
        if (more(false)) continue;
        size_t size = end_ - pos_;
        if (!eof_) {
            const size_t tail = std::min<size_t>(size, 32);
            for (size_t i = size; i > size - tail; --i) {
                const char c = from[i - 1];
                if (c == ';') break;
                if (c == '&') {
                    size = i - 1;
                    break;
                }
            }
            if (size > 0 && from[size - 1] == '\r') --size;
        }
        if (std::memchr(from, '\0', size)) return fail();
        pos_ += size;
        text_ = decode(from, size, false);
        depth_ = int(nameEnds_.size());
        return Text;
    }
}

// Resolves the five entities and character references as XML has them
// (anything else after '&' stays as written) and line ends to '\n'; in an
// attribute, white space of any kind becomes a space.
std::string_view XmlScanner::decode(const char *from, size_t size, bool attribute)
{
    const bool plain = !std::memchr(from, '&', size) && !std::memchr(from, '\r', size) &&
                       (!attribute || (!std::memchr(from, '\n', size) && !std::memchr(from, '\t', size)));
    if (plain) return std::string_view(from, size);
    std::string &out = attribute ? attrScratch_ : scratch_;
    out.clear();
    for (size_t i = 0; i < size; ++i) {
        const char c = from[i];
        if (c == '\r') {
            if (i + 1 < size && from[i + 1] == '\n') ++i;
            out += attribute ? ' ' : '\n';
        } else if (attribute && (c == '\n' || c == '\t')) {
            out += ' ';
        } else if (c == '&') {
            const char *semi =
                static_cast<const char *>(std::memchr(from + i, ';', std::min<size_t>(size - i, 32)));
            const std::string_view ref =
                semi ? std::string_view(from + i + 1, size_t(semi - from - i - 1)) : std::string_view();
            char32_t code = 0;
            bool ok = true;
            if (ref == "lt")
                code = '<';
            else if (ref == "gt")
                code = '>';
            else if (ref == "amp")
                code = '&';
            else if (ref == "apos")
                code = '\'';
            else if (ref == "quot")
                code = '"';
            else if (ref.size() >= 2 && ref[0] == '#') {
                const bool hex = ref[1] == 'x';
                const std::string_view digits = ref.substr(hex ? 2 : 1);
                ok = !digits.empty();
                for (const char d : digits) {
                    int v = -1;
                    if (d >= '0' && d <= '9')
                        v = d - '0';
                    else if (hex && d >= 'a' && d <= 'f')
                        v = d - 'a' + 10;
                    else if (hex && d >= 'A' && d <= 'F')
                        v = d - 'A' + 10;
                    if (v < 0 || code > 0x10FFFF) {
                        ok = false;
                        break;
                    }
                    code = code * (hex ? 16 : 10) + char32_t(v);
                }
                ok = ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
            } else {
                ok = false;
            }
            if (!ok) {
                out += c;
                continue;
            }
            if (code < 0x80) {
                out += char(code);
            } else if (code < 0x800) {
                out += char(0xC0 | (code >> 6));
                out += char(0x80 | (code & 0x3F));
            } else if (code < 0x10000) {
                out += char(0xE0 | (code >> 12));
                out += char(0x80 | ((code >> 6) & 0x3F));
                out += char(0x80 | (code & 0x3F));
            } else {
                out += char(0xF0 | (code >> 18));
                out += char(0x80 | ((code >> 12) & 0x3F));
                out += char(0x80 | ((code >> 6) & 0x3F));
                out += char(0x80 | (code & 0x3F));
            }
            i = size_t(semi - from);
        } else {
            out += c;
        }
    }
    return out;
}

XmlScanner::Token XmlScanner::tag()
{
    // At '<': what follows tells the kind.
    while (end_ - pos_ < 2)
        if (!more(true)) return fail();
    const char kind = buffer_[pos_ + 1];
    if (kind == '!' || kind == '?') return special();
    // The whole tag, its end found outside quoted values.
    size_t at = pos_ + 1;
    char quote = 0;
    for (;;) {
        for (; at < end_; ++at) {
            const char c = buffer_[at];
            if (c == '\0') return fail(); // never in XML
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            } else if (c == '<') {
                return fail();
            }
        }
        if (at < end_) break;
        const size_t offset = at - pos_;
        if (!more(true)) return fail();
        at = pos_ + offset;
    }
    return kind == '/' ? endTag(at) : startTag(at);
}

XmlScanner::Token XmlScanner::startTag(size_t end)
{
    const char *b = buffer_.data();
    size_t i = pos_ + 1;
    if (!nameStart(static_cast<unsigned char>(b[i]))) return fail();
    const size_t nameBegin = i;
    while (i < end && nameChar(static_cast<unsigned char>(b[i]))) ++i;
    const size_t nameEnd = i;
    bool selfClosing = false;
    attrs_.clear();
    for (;;) {
        const size_t before = i;
        while (i < end && space(b[i])) ++i;
        if (i == end) break;
        if (b[i] == '/' && i + 1 == end) {
            selfClosing = true;
            break;
        }
        if (i == before || !nameStart(static_cast<unsigned char>(b[i]))) return fail();
        Attr a;
        a.name = i;
        while (i < end && nameChar(static_cast<unsigned char>(b[i]))) ++i;
        a.nameEnd = i;
        while (i < end && space(b[i])) ++i;
        if (i == end || b[i] != '=') return fail();
        ++i;
        while (i < end && space(b[i])) ++i;
        if (i == end || (b[i] != '"' && b[i] != '\'')) return fail();
        const char quote = b[i++];
        a.value = i;
        while (i < end && b[i] != quote) ++i;
        if (i == end) return fail();
        a.valueEnd = i++;
        attrs_.push_back(a);
    }
    const std::string_view name(b + nameBegin, nameEnd - nameBegin);
    if (int(nameEnds_.size()) >= kMaxDepth || names_.size() + name.size() > kMaxNames)
        return fail(QT_TRANSLATE_NOOP("Workbook", "XML嵌套过深"));
    names_.append(name);
    nameEnds_.push_back(names_.size());
    sawRoot_ = true;
    depth_ = int(nameEnds_.size());
    local_ = localOf(std::string_view(names_).substr(names_.size() - name.size()));
    pos_ = end + 1;
    pendingEnd_ = selfClosing;
    return Start;
}

bool XmlScanner::attribute(std::string_view local, std::string_view *value)
{
    // The tag stays in the buffer until the next token is asked for.
    const char *b = buffer_.data();
    for (const Attr &a : attrs_) {
        if (localOf(std::string_view(b + a.name, a.nameEnd - a.name)) != local) continue;
        *value = decode(b + a.value, a.valueEnd - a.value, true);
        return true;
    }
    return false;
}

XmlScanner::Token XmlScanner::endTag(size_t end)
{
    const char *b = buffer_.data();
    size_t i = pos_ + 2;
    const size_t nameBegin = i;
    while (i < end && nameChar(static_cast<unsigned char>(b[i]))) ++i;
    const std::string_view name(b + nameBegin, i - nameBegin);
    while (i < end && space(b[i])) ++i;
    if (i != end || nameEnds_.empty()) return fail();
    const size_t begin = nameEnds_.size() > 1 ? nameEnds_[nameEnds_.size() - 2] : 0;
    if (std::string_view(names_).substr(begin) != name) return fail();
    depth_ = int(nameEnds_.size());
    local_ = localOf(std::string_view(names_).substr(begin));
    pop_ = true;
    pos_ = end + 1;
    return End;
}

// Comments, CDATA, processing instructions; a document type is refused.
XmlScanner::Token XmlScanner::special()
{
    while (end_ - pos_ < 9)
        if (!more(true)) break;
    const std::string_view head(buffer_.data() + pos_, std::min<size_t>(end_ - pos_, 9));
    if (head.substr(0, 2) == "<?") {
        // A target name first; then anything up to "?>".
        if (head.size() < 3 || !nameStart(static_cast<unsigned char>(head[2]))) return fail();
        pos_ += 2;
        return skipUntil("?>", false);
    }
    if (head.substr(0, 4) == "<!--") {
        pos_ += 4;
        return skipUntil("-->", false);
    }
    if (head == "<![CDATA[") {
        if (nameEnds_.empty()) return fail();
        pos_ += 9;
        inCdata_ = true;
        return skipUntil("]]>", true);
    }
    // "<!DOCTYPE" and anything else.
    return fail();
}

// Text as written (CDATA): only line ends made '\n'.
XmlScanner::Token XmlScanner::raw(const char *from, size_t size)
{
    depth_ = int(nameEnds_.size());
    if (!std::memchr(from, '\r', size)) {
        text_ = std::string_view(from, size);
        return Text;
    }
    scratch_.clear();
    for (size_t r = 0; r < size; ++r) {
        if (from[r] == '\r') {
            scratch_ += '\n';
            if (r + 1 < size && from[r + 1] == '\n') ++r;
        } else {
            scratch_ += from[r];
        }
    }
    text_ = scratch_;
    return Text;
}

// Past the terminator; with `give`, what comes before it as Text, a piece at a
// time, else Again.
XmlScanner::Token XmlScanner::skipUntil(const char *terminator, bool give)
{
    const std::string_view t(terminator);
    for (;;) {
        const std::string_view held(buffer_.data() + pos_, end_ - pos_);
        const size_t found = held.find(t);
        if (held.substr(0, found).find('\0') != std::string_view::npos) return fail();
        if (found != std::string_view::npos) {
            pos_ += found + t.size();
            if (!give) return Again;
            inCdata_ = false;
            return raw(held.data(), found);
        }
        // Keep what could begin the terminator (or a line end) for the next piece.
        size_t keep = std::min(held.size(), t.size() - 1);
        if (keep < held.size() && held[held.size() - keep - 1] == '\r') ++keep;
        if (!give || held.size() == keep) {
            pos_ = end_ - keep;
            if (!more(false)) return fail();
            continue;
        }
        pos_ += held.size() - keep;
        return raw(held.data(), held.size() - keep);
    }
}

// Reads a member to its end, for a failure of the member itself that decides
// the message (as it would, had the member been inflated whole first).
void drain(ZipMember::Reader *in)
{
    std::vector<char> sink(static_cast<size_t>(kPiece));
    while (in->read(sink.data(), kPiece) > 0) {
    }
}

// The shared strings of the workbook, one after another as UTF-8.
struct SharedStrings {
    std::string text;
    std::vector<uint32_t> ends;
    bool broken = false; // unreadable XML: no index into it can be trusted

    static_assert(ZipMember::kLimit < (int64_t(1) << 32), "offsets of 32 bits");

    bool at(std::string_view index, QString *value) const
    {
        // The index as Excel writes it: digits (spaces around them are let pass).
        size_t b = 0, e = index.size();
        while (b < e && (index[b] == ' ' || index[b] == '\t' || index[b] == '\n')) ++b;
        while (e > b && (index[e - 1] == ' ' || index[e - 1] == '\t' || index[e - 1] == '\n')) --e;
        if (broken || b == e || e - b > 10) return false;
        uint64_t n = 0;
        for (size_t i = b; i < e; ++i) {
            if (index[i] < '0' || index[i] > '9') return false;
            n = n * 10 + uint64_t(index[i] - '0');
        }
        if (n >= ends.size()) return false;
        const uint32_t from = n == 0 ? 0 : ends[size_t(n - 1)];
        *value = QString::fromUtf8(text.data() + from, qsizetype(ends[size_t(n)] - from));
        return true;
    }
};

// "xl/sharedStrings.xml" as the cells refer to it: each <si> of the root, its
// plain text or the text of its runs, phonetic hints (<rPh>) left out. A
// failure of the member is the error returned.
QString readShared(zip_t *archive, SharedStrings *out)
{
    ZipMember::Reader in(archive, "xl/sharedStrings.xml");
    if (in.outcome() == ZipMember::Outcome::Missing) return QString();
    Utf8Feed feed(&in);
    XmlScanner xml(&feed);
    bool inItem = false;
    int hint = 0, roots = 0; // depth of an open <rPh>; elements at the top
    for (;;) {
        const XmlScanner::Token t = xml.next();
        if (t == XmlScanner::Done || t == XmlScanner::Failed) {
            if (t == XmlScanner::Failed) drain(&in);
            if (in.outcome() != ZipMember::Outcome::Ok) return ZipMember::Why(in.outcome());
            out->broken = t == XmlScanner::Failed;
            if (out->broken) {
                out->text.clear();
                out->ends.clear();
            }
            return QString();
        }
        if (t == XmlScanner::Start) {
            if (xml.depth() == 1) ++roots;
            if (roots > 1) continue;
            if (xml.depth() == 2 && xml.local() == "si")
                inItem = true;
            else if (inItem && hint == 0 && xml.local() == "rPh")
                hint = xml.depth();
        } else if (t == XmlScanner::End) {
            if (xml.depth() == 2 && inItem) {
                inItem = false;
                out->ends.push_back(uint32_t(out->text.size()));
            } else if (xml.depth() == hint) {
                hint = 0;
            }
        } else if (t == XmlScanner::Text && inItem && hint == 0 && xml.innermost() == "t") {
            out->text.append(xml.text());
        }
    }
}

// The part of the first worksheet the workbook names, or of the one named.
// False when there is no sheet of that name.
bool findSheet(zip_t *archive, const QString &sheetName, QString *sheetPath)
{
    *sheetPath = QStringLiteral("xl/worksheets/sheet1.xml");
    bool found = sheetName.isEmpty();
    QByteArray wb, rels;
    if (ZipMember::Read(archive, "xl/workbook.xml", &wb) == ZipMember::Outcome::Ok &&
        ZipMember::Read(archive, "xl/_rels/workbook.xml.rels", &rels) == ZipMember::Outcome::Ok) {
        pugi::xml_document wdoc, rdoc;
        if (wdoc.load_buffer(wb.constData(), size_t(wb.size())) &&
            rdoc.load_buffer(rels.constData(), size_t(rels.size()))) {
            pugi::xml_node sheet = child(child(wdoc.document_element(), "sheets"), "sheet");
            if (!sheetName.isEmpty()) {
                for (; sheet; sheet = sheet.next_sibling())
                    if (sheet.type() == pugi::node_element &&
                        std::strcmp(localName(sheet.name()), "sheet") == 0 &&
                        QString::fromUtf8(attribute(sheet, "name").value()) == sheetName)
                        break;
                found = bool(sheet);
            }
            const char *rid = attribute(sheet, "id").value();
            eachChild(rdoc.document_element(), "Relationship", [&](pugi::xml_node rel) {
                if (std::strcmp(attribute(rel, "Id").value(), rid) != 0) return;
                const QString target = QString::fromUtf8(attribute(rel, "Target").value());
                *sheetPath =
                    target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            });
        }
    }
    return found;
}

// The cells of a sheet as they are read: each row handed on once it is whole.
// Errors of the member come before errors of the XML, and these before what
// the cells are found to hold, as if the sheet had been read whole first; so
// once the cells go wrong the rest is still read, though no row is handed on.
class SheetReader {
  public:
    SheetReader(const SharedStrings &shared, const std::function<bool(SheetRow &&)> &onRow)
        : shared_(shared), onRow_(onRow)
    {
    }

    QString read(ZipMember::Reader *in, const std::function<void(int64_t)> &tick)
    {
        Utf8Feed feed(in);
        XmlScanner xml(&feed);
        int64_t lastDone = -1;
        for (;;) {
            const XmlScanner::Token t = xml.next();
            if (tick && in->done() != lastDone) {
                lastDone = in->done();
                tick(lastDone);
            }
            switch (t) {
            case XmlScanner::Done: break;
            case XmlScanner::Failed:
                drain(in);
                if (in->outcome() != ZipMember::Outcome::Ok)
                    return unreadable(ZipMember::Why(in->outcome(), in->limit()));
                return unreadable(xml.error());
            case XmlScanner::Start: start(xml); break;
            case XmlScanner::End: end(xml); break;
            case XmlScanner::Text: text(xml); break;
            case XmlScanner::Again: break;
            }
            if (t == XmlScanner::Done) break;
            if (cancelled_) return QString();
        }
        if (in->outcome() != ZipMember::Outcome::Ok)
            return unreadable(ZipMember::Why(in->outcome(), in->limit()));
        return error_.isEmpty() ? QString() : unreadable(error_);
    }

    bool cancelled() const { return cancelled_; }

  private:
    static QString unreadable(const QString &why)
    {
        return QCoreApplication::translate("Workbook", "无法读取工作表：%1").arg(why);
    }

    void fail(const QString &why)
    {
        if (error_.isEmpty()) error_ = why;
    }

    void start(XmlScanner &xml)
    {
        const int depth = xml.depth();
        const std::string_view name = xml.local();
        // Only the first element at the top is the document's.
        if (depth == 1) ++roots_;
        if (roots_ > 1) return;
        if (depth == 2) {
            if (data_ == Before && name == "sheetData") data_ = Inside;
            return;
        }
        if (data_ != Inside || !error_.isEmpty()) return;
        if (depth == 3) {
            inRow_ = name == "row";
            if (inRow_) startRow(xml);
        } else if (depth == 4 && inRow_) {
            inCell_ = name == "c";
            if (inCell_) startCell(xml);
        } else if (depth == 5 && inCell_) {
            if (name == "v" && !hasV_) {
                hasV_ = inV_ = true;
            } else if (name == "f") {
                hasF_ = true;
            } else if (name == "is" && !hasIs_) {
                hasIs_ = inIs_ = true;
            }
        } else if (depth > 5 && inIs_ && hint_ == 0 && name == "rPh") {
            hint_ = depth;
        }
    }

    void end(XmlScanner &xml)
    {
        const int depth = xml.depth();
        if (depth == 2) {
            if (data_ == Inside) data_ = After;
            return;
        }
        if (data_ != Inside) return;
        if (depth == 3) {
            if (inRow_ && error_.isEmpty()) endRow();
            inRow_ = false;
        } else if (depth == 4) {
            if (inCell_ && error_.isEmpty()) endCell();
            inCell_ = false;
        } else if (depth == 5) {
            inV_ = inIs_ = false;
        } else if (depth == hint_) {
            hint_ = 0;
        }
    }

    void text(XmlScanner &xml)
    {
        if (!inCell_) return;
        if (inV_ && xml.depth() == 5) {
            v_.append(xml.text());
        } else if (inIs_ && hint_ == 0 && xml.depth() > 5 && xml.innermost() == "t") {
            is_.append(xml.text());
        }
    }

    void startRow(XmlScanner &xml)
    {
        row_ = SheetRow();
        values_.clear();
        nextCol_ = 1;
        last_ = 0;
        std::string_view number;
        if (xml.attribute("r", &number)) {
            scratch_.assign(number);
            row_.line = scratch_.find('\0') == std::string::npos ? Xlsx::ParseRowNumber(scratch_.c_str()) : 0;
        } else {
            row_.line = nextRow_;
        }
        if (row_.line < 1 || row_.line > Xlsx::kMaxRow) {
            fail(QCoreApplication::translate("Workbook", "行号超出范围：%1")
                     .arg(QString::fromUtf8(number.data(), qsizetype(number.size())).left(40)));
            return;
        }
        nextRow_ = row_.line + 1;
    }

    void startCell(XmlScanner &xml)
    {
        col_ = nextCol_;
        int rowOfCell = row_.line;
        std::string_view value;
        if (xml.attribute("r", &value)) {
            scratch_.assign(value);
            if (scratch_.find('\0') != std::string::npos ||
                !Xlsx::ParseCellReference(scratch_.c_str(), &col_, &rowOfCell)) {
                fail(QCoreApplication::translate("Workbook", "单元格引用无效：%1")
                         .arg(QString::fromUtf8(value.data(), qsizetype(value.size())).left(40)));
                return;
            }
        }
        if (col_ > Xlsx::kMaxColumn) {
            fail(QCoreApplication::translate("Workbook", "列数超出范围"));
            return;
        }
        nextCol_ = col_ + 1;
        type_ = Other;
        if (xml.attribute("t", &value)) {
            if (value == "s")
                type_ = Shared;
            else if (value == "inlineStr")
                type_ = Inline;
        }
        hasV_ = hasF_ = hasIs_ = inV_ = inIs_ = false;
        hint_ = 0;
        v_.clear();
        is_.clear();
    }

    void endCell()
    {
        // Written by a program that does not compute (a script, say): the
        // formula's result is not in the file, and guessing it empty would
        // drop a number without a word.
        if (!hasV_ && hasF_) {
            fail(
                QCoreApplication::translate("Workbook", "公式无计算结果：%1").arg(cellName(col_, row_.line)));
            return;
        }
        QString value;
        if (type_ == Shared) {
            // An index the table does not hold is a broken file, not an empty cell.
            if (hasV_ && !QByteArrayView(v_.data(), qsizetype(v_.size())).trimmed().isEmpty() &&
                !shared_.at(v_, &value)) {
                fail(QCoreApplication::translate("Workbook", "共享字符串无效：%1")
                         .arg(cellName(col_, row_.line)));
                return;
            }
        } else {
            const std::string &raw = type_ == Inline ? is_ : v_;
            value = QString::fromUtf8(raw.data(), qsizetype(raw.size()));
        }
        if (value.trimmed().isEmpty()) return;
        if (width_ >= 0 && col_ > width_) {
            row_.problem = QCoreApplication::translate("Workbook", "单元格%1在表头以外：%2")
                               .arg(cellName(col_, row_.line), value.left(40));
            row_.problemColumn = col_;
            return;
        }
        last_ = std::max(last_, col_);
        values_.emplace_back(col_, std::move(value));
    }

    void endRow()
    {
        if (last_ == 0 && row_.problem.isEmpty()) return; // a blank row
        // The first row with content is the header (or the first sample): its
        // width bounds every later row, so no row is ever padded past the
        // columns it uses.
        if (width_ < 0) width_ = last_;
        cells_ += last_;
        if (cells_ > kMaxCells) {
            fail(QCoreApplication::translate("Workbook", "单元格超过%1个").arg(kMaxCells));
            return;
        }
        row_.cells.reserve(last_);
        for (int i = 0; i < last_; ++i) row_.cells << QString();
        for (auto &[col, value] : values_) row_.cells[col - 1] = std::move(value);
        values_.clear();
        if (!onRow_(std::move(row_))) cancelled_ = true;
    }

    const SharedStrings &shared_;
    const std::function<bool(SheetRow &&)> &onRow_;
    enum { Before, Inside, After } data_ = Before;
    enum { Other, Shared, Inline } type_ = Other;
    bool inRow_ = false, inCell_ = false, inV_ = false, inIs_ = false;
    bool hasV_ = false, hasF_ = false, hasIs_ = false, cancelled_ = false;
    int hint_ = 0, roots_ = 0;
    int width_ = -1, nextRow_ = 1, nextCol_ = 1, last_ = 0, col_ = 0;
    qint64 cells_ = 0;
    SheetRow row_;
    std::vector<std::pair<int, QString>> values_;
    std::string v_, is_, scratch_;
    QString error_;
};

// The sheet of an opened package, row by row.
QString streamPackage(const ZipMember::Package &package, const QString &sheetName,
                      const std::function<bool(SheetRow &&)> &onRow,
                      const std::function<void(int64_t, int64_t)> &progress)
{
    zip_t *archive = package.archive();
    if (!archive) return QCoreApplication::translate("Workbook", "不是有效的 .xlsx 文件");
    const auto unreadable = [](const QString &why) {
        return QCoreApplication::translate("Workbook", "无法读取工作表：%1").arg(why);
    };
    SharedStrings shared;
    const QString why = readShared(archive, &shared);
    if (!why.isEmpty()) return unreadable(why);
    QString sheetPath;
    if (!findSheet(archive, sheetName, &sheetPath))
        return unreadable(QCoreApplication::translate("Workbook", "没有工作表%1").arg(sheetName));
    ZipMember::Reader in(archive, sheetPath.toUtf8().constData(), ZipMember::kStreamedLimit);
    if (in.outcome() != ZipMember::Outcome::Ok)
        return unreadable(ZipMember::Why(in.outcome(), ZipMember::kStreamedLimit));
    std::function<void(int64_t)> tick;
    if (progress) {
        const int64_t total = in.compressedSize(), from = package.bytesRead();
        tick = [&package, &progress, total, from](int64_t) {
            progress(std::clamp<int64_t>(package.bytesRead() - from, 0, total), total);
        };
    }
    SheetReader reader(shared, onRow);
    const QString error = reader.read(&in, tick);
    if (progress && error.isEmpty() && !reader.cancelled())
        progress(in.compressedSize(), in.compressedSize());
    return error;
}

Sheet collect(const ZipMember::Package &package, const QString &sheetName)
{
    Sheet out;
    out.error = streamPackage(package, sheetName,
                              [&out](SheetRow &&row) {
                                  out.rows << std::move(row);
                                  return true;
                              },
                              {});
    if (!out.error.isEmpty()) out.rows.clear();
    return out;
}

} // namespace

QString ColumnName(int column)
{
    QString name;
    while (column > 0) {
        const int rest = (column - 1) % 26;
        name.prepend(QChar('A' + rest));
        column = (column - 1) / 26;
    }
    return name;
}

QString CellText(const QString &text)
{
    static const auto isHex = [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    };
    const auto escaped = [](char16_t u) {
        return QStringLiteral("_x%1_").arg(
            QString::number(u, 16).toUpper().rightJustified(4, QLatin1Char('0')));
    };
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        const char16_t u = ch.unicode();
        if (u == u'_' && i + 6 < n && text[i + 1] == QLatin1Char('x') && isHex(text[i + 2]) &&
            isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]) &&
            text[i + 6] == QLatin1Char('_')) {
            out += escaped(u);
        } else if ((u < 0x20 && u != u'\t' && u != u'\n') || u == 0xFFFE || u == 0xFFFF) {
            out += escaped(u);
        } else if (ch.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            out += ch;
            out += text[++i];
        } else if (ch.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += ch;
        }
    }
    return out;
}

QByteArray Fill(const QString &templatePath, const QVector<QStringList> &rows)
{
    if (rows.size() >= kMaxRows) fail(ErrNo::Overflow);
    std::vector<Entry> entries = readPackage(templatePath);

    // The workbook: the package's office document.
    std::string workbookPart;
    for (const auto &[id, rel] : readRelationships(entries, "_rels/.rels", ""))
        if (endsWith(rel.type, "/officeDocument")) workbookPart = rel.target;
    if (workbookPart.empty()) fail(kBrokenWorkbook);
    Entry &workbookEntry = requirePart(entries, workbookPart);
    pugi::xml_document workbook;
    parse(workbook, workbookEntry.data);

    // Its first worksheet (chart sheets are not worksheets).
    const auto rels = readRelationships(entries, relsOf(workbookPart), folderOf(workbookPart));
    const std::string wbPrefix = prefixOf(workbook.document_element());
    std::string sheetPart;
    for (pugi::xml_node s : workbook.document_element().child((wbPrefix + "sheets").c_str()).children()) {
        const auto rel = rels.find(prefixedAttribute(s, "id").as_string());
        if (rel != rels.end() && endsWith(rel->second.type, "/worksheet")) {
            sheetPart = rel->second.target;
            break;
        }
    }
    if (sheetPart.empty()) fail(kBrokenWorkbook);

    Entry &sheetEntry = requirePart(entries, sheetPart);
    pugi::xml_document sheetDoc;
    parse(sheetDoc, sheetEntry.data);
    TemplateSheet sheet(sheetDoc);
    for (int i = 0; i < rows.size(); ++i) sheet.writeRow(i + 2, rows[i]);
    sheet.updateDimension();
    sheetEntry.data = serialize(sheetDoc);

    // Formulas of the template see the new cells when the workbook opens.
    if (pugi::xml_node calcPr = workbook.document_element().child((wbPrefix + "calcPr").c_str())) {
        calcPr.remove_attribute("fullCalcOnLoad");
        calcPr.append_attribute("fullCalcOnLoad") = "1";
        workbookEntry.data = serialize(workbook);
    }

    // A workbook, no longer a template.
    Entry &typesEntry = requirePart(entries, "[Content_Types].xml");
    pugi::xml_document types;
    parse(types, typesEntry.data);
    const QString partName = QLatin1Char('/') + QString::fromStdString(workbookPart);
    pugi::xml_node override;
    for (pugi::xml_node o : types.document_element().children()) {
        if (std::strcmp(localName(o.name()), "Override") == 0 &&
            QString::fromUtf8(o.attribute("PartName").as_string()).compare(partName, Qt::CaseInsensitive) ==
                0)
            override = o;
    }
    if (!override) {
        override =
            types.document_element().append_child((prefixOf(types.document_element()) + "Override").c_str());
        override.append_attribute("PartName") = partName.toUtf8().constData();
        override.append_attribute("ContentType") = kTemplateType;
    }
    if (std::strcmp(override.attribute("ContentType").as_string(), kTemplateType) == 0)
        override.attribute("ContentType").set_value(kWorkbookType);
    typesEntry.data = serialize(types);

    return writePackage(entries);
}

QString SaveNew(const QString &folder, const QString &baseName, const QByteArray &package)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) fail(ErrNo::FileAccess);
    for (int n = 1; n < 1000000; ++n) {
        const QString path = dir.filePath(baseName + QString::number(n) + QStringLiteral(".xlsx"));
        QFile file(path);
        // NewOnly claims the name: an earlier export is never opened for writing.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const bool written = file.write(package) == package.size() && file.flush();
            file.close();
            if (!written || file.error() != QFileDevice::NoError) {
                file.remove();
                fail(ErrNo::FileAccess);
            }
            return path;
        }
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) fail(ErrNo::FileAccess);
    }
    fail(ErrNo::FileAccess);
}

QString StreamFirstSheet(const QString &path, const std::function<bool(SheetRow &&)> &onRow,
                         const std::function<void(int64_t, int64_t)> &progress)
{
    const ZipMember::Package package(path);
    return streamPackage(package, QString(), onRow, progress);
}

QString StreamFirstSheetData(const QByteArray &package, const std::function<bool(SheetRow &&)> &onRow,
                             const std::function<void(int64_t, int64_t)> &progress)
{
    const ZipMember::Package opened(package);
    return streamPackage(opened, QString(), onRow, progress);
}

QString StreamSheet(const QString &path, const QString &name, const std::function<bool(SheetRow &&)> &onRow,
                    const std::function<void(int64_t, int64_t)> &progress)
{
    const ZipMember::Package package(path);
    return streamPackage(package, name, onRow, progress);
}

Sheet ReadFirstSheetData(const QByteArray &package)
{
    return collect(ZipMember::Package(package), QString());
}

Sheet ReadFirstSheet(const QString &path) { return collect(ZipMember::Package(path), QString()); }

Sheet ReadSheet(const QString &path, const QString &name) { return collect(ZipMember::Package(path), name); }

namespace {

QByteArray xmlText(const QString &text) { return CellText(text.left(kMaxCellText)).toHtmlEscaped().toUtf8(); }

// The style of a cell: 0 general, 1 the bold heading, 2 + d a number with d decimals.
constexpr int kMaxDecimals = 12;

QByteArray sheetXml(const NewSheet &sheet)
{
    QByteArray x =
        QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                          "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
    int columns = 0;
    for (const auto &row : sheet.rows) columns = std::max(columns, int(row.size()));
    const long rows = long(sheet.rows.size());
    x += "<dimension ref=\"A1";
    if (rows > 0 && columns > 0 && (rows > 1 || columns > 1))
        x += ":" + QByteArray::fromStdString(cellRef(columns, rows));
    x += "\"/>";
    if (sheet.headingRow && rows > 1)
        x += "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" "
             "activePane=\"bottomLeft\" state=\"frozen\"/></sheetView></sheetViews>";
    if (!sheet.widths.isEmpty()) {
        x += "<cols>";
        for (int c = 0; c < sheet.widths.size(); ++c)
            x += "<col min=\"" + QByteArray::number(c + 1) + "\" max=\"" + QByteArray::number(c + 1) +
                 "\" width=\"" + QByteArray::number(sheet.widths[c]) + "\" customWidth=\"1\"/>";
        x += "</cols>";
    }
    x += "<sheetData>";
    for (long r = 0; r < rows; ++r) {
        const QVector<Cell> &row = sheet.rows[int(r)];
        x += "<row r=\"" + QByteArray::number(qlonglong(r + 1)) + "\">";
        for (int c = 0; c < row.size(); ++c) {
            const Cell &cell = row[c];
            const QByteArray ref = QByteArray::fromStdString(cellRef(c + 1, r + 1));
            const bool heading = sheet.headingRow && r == 0;
            if (cell.number && std::isfinite(*cell.number)) {
                const int style = cell.decimals < 0 ? 0 : 2 + std::min(cell.decimals, kMaxDecimals);
                x += "<c r=\"" + ref + "\"" +
                     (style ? " s=\"" + QByteArray::number(style) + "\"" : QByteArray()) + "><v>" +
                     QString::number(*cell.number, 'g', QLocale::FloatingPointShortest).toLatin1() +
                     "</v></c>";
            } else if (!cell.text.isEmpty()) {
                x += "<c r=\"" + ref + "\" t=\"inlineStr\"" + (heading ? " s=\"1\"" : "") +
                     "><is><t xml:space=\"preserve\">" + xmlText(cell.text) + "</t></is></c>";
            }
        }
        x += "</row>";
    }
    x += "</sheetData></worksheet>";
    return x;
}

QByteArray stylesXml()
{
    QByteArray x =
        QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                          "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
    x += "<numFmts count=\"" + QByteArray::number(kMaxDecimals + 1) + "\">";
    for (int d = 0; d <= kMaxDecimals; ++d)
        x += "<numFmt numFmtId=\"" + QByteArray::number(164 + d) + "\" formatCode=\"" +
             (d == 0 ? QByteArray("0") : "0." + QByteArray(d, '0')) + "\"/>";
    x += "</numFmts><fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
         "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
         "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
         "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
         "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
         "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
         "borderId=\"0\"/></cellStyleXfs>"
         "<cellXfs count=\"" +
         QByteArray::number(2 + kMaxDecimals + 1) +
         "\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
         "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>";
    for (int d = 0; d <= kMaxDecimals; ++d)
        x += "<xf numFmtId=\"" + QByteArray::number(164 + d) +
             "\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>";
    x += "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
         "builtinId=\"0\"/></cellStyles>"
         "</styleSheet>";
    return x;
}

} // namespace

QByteArray Create(const QVector<NewSheet> &sheets)
{
    if (sheets.isEmpty()) fail(kBrokenWorkbook);
    for (const NewSheet &sheet : sheets)
        if (sheet.rows.size() >= kMaxRows) fail(ErrNo::Overflow);
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    std::vector<Entry> entries;
    QByteArray types = head +
                       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" ContentType=\"application/"
                       "vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                       "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
                       QByteArray(kWorkbookType) +
                       "\"/><Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
                       "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    QByteArray workbook = head +
                          "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                          "<sheets>";
    QByteArray rels =
        head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (int i = 0; i < sheets.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        types +=
            "<Override PartName=\"/xl/worksheets/sheet" + n +
            ".xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        workbook += "<sheet name=\"" + sheets[i].name.left(31).toHtmlEscaped().toUtf8() + "\" sheetId=\"" +
                    n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                "Target=\"worksheets/sheet" +
                n + ".xml\"/>";
        entries.push_back({"xl/worksheets/sheet" + n.toStdString() + ".xml", sheetXml(sheets[i]), false});
    }
    rels += "<Relationship Id=\"rId" + QByteArray::number(sheets.size() + 1) +
            "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
            "Target=\"styles.xml\"/></Relationships>";
    types += "</Types>";
    workbook += "</sheets></workbook>";
    entries.push_back({"[Content_Types].xml", types, false});
    entries.push_back(
        {"_rels/.rels",
         head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>",
         false});
    entries.push_back({"xl/workbook.xml", workbook, false});
    entries.push_back({"xl/_rels/workbook.xml.rels", rels, false});
    entries.push_back({"xl/styles.xml", stylesXml(), false});
    return writePackage(entries);
}

} // namespace Workbook
