#include "core/files/Workbook.h"

#include "core/files/CellReference.h"
#include "core/files/ZipMember.h"

#include "core/base/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <vector>
#include <zip.h>

namespace Workbook {

const QString kErrorSource = QStringLiteral("ExportToExcel");
const QString kErrorText = QStringLiteral("数据导出过程中出错");

namespace {

const char kTemplateType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
const char kWorkbookType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";

// Excel's limits: rows of a sheet, characters of a cell.
constexpr long kMaxRows = 1048576;
constexpr int kMaxCellText = 32767;
constexpr zip_uint32_t kDeflateLevel = 6;

[[noreturn]] void fail(int32_t number) { throw AppError(number, kErrorSource, kErrorText); }

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

// Plain <t> or rich-text runs <r><t>; phonetic hints (<rPh>) are not the text.
// Walked without recursion: a file may nest runs millions deep, which a
// recursive walk would pay for with the stack.
void appendText(const pugi::xml_node &node, QString *text)
{
    pugi::xml_node c = node.first_child();
    while (c) {
        bool descend = false;
        if (c.type() == pugi::node_element) {
            const char *name = localName(c.name());
            if (std::strcmp(name, "t") == 0)
                *text += QString::fromUtf8(c.text().get());
            else if (std::strcmp(name, "rPh") != 0)
                descend = bool(c.first_child());
        }
        if (descend) {
            c = c.first_child();
            continue;
        }
        // The next sibling, or that of the nearest parent below `node` that has one.
        while (c && !c.next_sibling()) {
            c = c.parent();
            if (c == node) return;
        }
        if (c) c = c.next_sibling();
    }
}

QString innerText(const pugi::xml_node &node)
{
    QString text;
    appendText(node, &text);
    return text;
}

// Cells held at most, whatever the sheet: a million analyses of a dozen columns.
constexpr qint64 kMaxCells = 12'000'000;

QString cellName(int column, int row) { return Workbook::ColumnName(column) + QString::number(row); }

Sheet readArchive(zip_t *archive, const QString &sheetName)
{
    Sheet out;
    auto unreadable = [&out](const QString &why) {
        out.rows.clear();
        out.error = QStringLiteral("无法读取工作表：") + why;
        return out;
    };
    QList<QString> shared;
    QByteArray bytes;
    ZipMember::Outcome got = ZipMember::Read(archive, "xl/sharedStrings.xml", &bytes);
    if (got == ZipMember::Outcome::Ok) {
        pugi::xml_document doc;
        if (doc.load_buffer(bytes.constData(), size_t(bytes.size())))
            eachChild(doc.document_element(), "si", [&](pugi::xml_node si) { shared << innerText(si); });
    } else if (got != ZipMember::Outcome::Missing) {
        return unreadable(ZipMember::Why(got));
    }
    // The first worksheet named by the workbook, or the one of the name asked for.
    QString sheetPath = QStringLiteral("xl/worksheets/sheet1.xml");
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
                sheetPath =
                    target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            });
        }
    }
    if (!found) return unreadable(QStringLiteral("没有工作表") + sheetName);
    got = ZipMember::Read(archive, sheetPath.toUtf8().constData(), &bytes);
    if (got != ZipMember::Outcome::Ok) return unreadable(ZipMember::Why(got));
    pugi::xml_document doc;
    if (!doc.load_buffer(bytes.constData(), size_t(bytes.size())))
        return unreadable(QStringLiteral("XML格式错误"));
    bytes = QByteArray();

    // The first row with content is the header (or the first sample): its width
    // bounds every later row, so no row is ever padded past the columns it uses.
    int width = -1, nextRow = 1;
    qint64 cells = 0;
    const pugi::xml_node data = child(doc.document_element(), "sheetData");
    for (pugi::xml_node r = data.first_child(); r; r = r.next_sibling()) {
        if (r.type() != pugi::node_element || std::strcmp(localName(r.name()), "row") != 0) continue;
        SheetRow row;
        const pugi::xml_attribute number = attribute(r, "r");
        row.line = number ? Xlsx::ParseRowNumber(number.value()) : nextRow;
        if (row.line < 1 || row.line > Xlsx::kMaxRow)
            return unreadable(QStringLiteral("行号超出范围：") + QString::fromUtf8(number.value()).left(40));
        nextRow = row.line + 1;
        int nextCol = 1, last = 0;
        std::vector<std::pair<int, QString>> values;
        for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element || std::strcmp(localName(c.name()), "c") != 0) continue;
            int col = nextCol, rowOfCell = row.line;
            if (const pugi::xml_attribute ref = attribute(c, "r")) {
                if (!Xlsx::ParseCellReference(ref.value(), &col, &rowOfCell))
                    return unreadable(QStringLiteral("单元格引用无效：") +
                                      QString::fromUtf8(ref.value()).left(40));
            }
            if (col > Xlsx::kMaxColumn) return unreadable(QStringLiteral("列数超出范围"));
            nextCol = col + 1;
            const QString type = QString::fromUtf8(attribute(c, "t").value());
            const pugi::xml_node v = child(c, "v");
            QString value;
            if (type == QLatin1String("s"))
                value = shared.value(v.text().as_int(-1));
            else if (type == QLatin1String("inlineStr"))
                value = innerText(child(c, "is"));
            else
                value = QString::fromUtf8(v.text().get());
            // Written by a program that does not compute (a script, say): the
            // formula's result is not in the file, and guessing it empty would
            // drop a number without a word.
            if (!v && child(c, "f"))
                return unreadable(QStringLiteral("公式无计算结果：") + cellName(col, row.line));
            if (value.trimmed().isEmpty()) continue;
            if (width >= 0 && col > width) {
                row.problem =
                    QStringLiteral("单元格%1在表头以外：%2").arg(cellName(col, row.line), value.left(40));
                row.problemColumn = col;
                continue;
            }
            last = std::max(last, col);
            values.emplace_back(col, value);
        }
        if (last == 0 && row.problem.isEmpty()) continue; // a blank row
        if (width < 0) width = last;
        cells += last;
        if (cells > kMaxCells) return unreadable(QStringLiteral("单元格超过%1个").arg(kMaxCells));
        for (int i = 0; i < last; ++i) row.cells << QString();
        for (auto &[col, value] : values) row.cells[col - 1] = value;
        out.rows << row;
    }
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

namespace {

// The sheet of an opened package, which it then lets go; none opened: not a workbook.
Sheet readOpened(zip_t *archive, const QString &sheetName = QString())
{
    Sheet out;
    if (!archive) {
        out.error = QStringLiteral("不是有效的 .xlsx 文件");
        return out;
    }
    out = readArchive(archive, sheetName);
    zip_discard(archive);
    return out;
}

} // namespace

Sheet ReadFirstSheetData(const QByteArray &package)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source =
        zip_source_buffer_create(package.constData(), zip_uint64_t(package.size()), 0, &error);
    zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive && source) zip_source_free(source);
    return readOpened(archive);
}

Sheet ReadFirstSheet(const QString &path)
{
    int err = 0;
    return readOpened(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err));
}

Sheet ReadSheet(const QString &path, const QString &name)
{
    int err = 0;
    return readOpened(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err), name);
}

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
