#include "core/thermometry/BatchTable.h"

#include "core/base/NumberText.h"
#include "core/files/TextCodec.h"

#include "core/files/CalibrationWorkbook.h"
#include "core/files/CellReference.h"
#include "core/files/ZipMember.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <pugixml.hpp>
#include <zip.h>

namespace Batch {

int ColumnCount(Kind kind) { return kind == Kind::Isotope ? 8 : 9; }

QStringList ColumnTitles(Kind kind)
{
    if (kind == Kind::Isotope)
        return {QStringLiteral("样品"),  QStringLiteral("同位素"), QStringLiteral("矿物A"),
                QStringLiteral("矿物B"), QStringLiteral("δA"),     QStringLiteral("σA"),
                QStringLiteral("δB"),    QStringLiteral("σB")};
    return {QStringLiteral("样品"),  QStringLiteral("元素"),  QStringLiteral("矿物A"),
            QStringLiteral("矿物B"), QStringLiteral("含量A"), QStringLiteral("σA"),
            QStringLiteral("含量B"), QStringLiteral("σB"),    QStringLiteral("K")};
}

QStringList EnglishNames(Kind kind)
{
    if (kind == Kind::Isotope)
        return {QStringLiteral("sample"),    QStringLiteral("type"),    QStringLiteral("mineral_a"),
                QStringLiteral("mineral_b"), QStringLiteral("delta_a"), QStringLiteral("sigma_a"),
                QStringLiteral("delta_b"),   QStringLiteral("sigma_b")};
    return {QStringLiteral("sample"),    QStringLiteral("element"), QStringLiteral("mineral_a"),
            QStringLiteral("mineral_b"), QStringLiteral("conc_a"),  QStringLiteral("sigma_a"),
            QStringLiteral("conc_b"),    QStringLiteral("sigma_b"), QStringLiteral("k")};
}

int ColumnOfHeader(Kind kind, const QString &header)
{
    const QString h = header.trimmed();
    const QStringList titles = ColumnTitles(kind), english = EnglishNames(kind);
    for (int c = 0; c < titles.size(); ++c)
        if (h.compare(titles[c], Qt::CaseInsensitive) == 0 || h.compare(english[c], Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

Values ReadValues(Kind kind, const Row &row, int rowIndex, QList<CellProblem> *problems)
{
    Values v;
    auto number = [&](int column, std::optional<double> *out) {
        const QString text = row.cells.value(column).trimmed();
        if (text.isEmpty()) return;
        if (!Num::IsNumeric(text)) {
            if (problems) problems->append({rowIndex, column, QStringLiteral("不是数字：") + text.left(40)});
            return;
        }
        // "1e999" passes the numeric test but is no number a calculation can use.
        const std::optional<double> parsed = Num::TryDouble(text);
        if (!parsed) {
            if (problems)
                problems->append({rowIndex, column, QStringLiteral("数值超出范围：") + text.left(40)});
            return;
        }
        const double value = *parsed;
        const bool sigma = column == SigmaA || column == SigmaB;
        if (sigma && value < 0) {
            if (problems) problems->append({rowIndex, column, QStringLiteral("σ不能为负：") + text});
            return;
        }
        *out = value;
    };
    number(ValueA, &v.a);
    number(SigmaA, &v.sigmaA);
    number(ValueB, &v.b);
    number(SigmaB, &v.sigmaB);
    if (kind == Kind::Trace) number(K, &v.k);
    return v;
}

QChar GuessSeparator(const QString &firstLine, bool csvFile)
{
    if (!csvFile) return QLatin1Char('\t');
    if (firstLine.contains(QLatin1Char(';')) && !firstLine.contains(QLatin1Char(',')))
        return QLatin1Char(';');
    return QLatin1Char(',');
}

QString CsvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QList<Row> SplitDelimited(const QString &text, QChar separator)
{
    QList<Row> rows;
    Row row;
    QString cell;
    int line = 1, rowLine = 1;
    bool quoted = false, cellStarted = false;
    auto endCell = [&] {
        row.cells << cell;
        cell.clear();
        cellStarted = false;
    };
    auto endRow = [&] {
        endCell();
        bool blank = true;
        for (const QString &c : row.cells) blank = blank && c.trimmed().isEmpty();
        if (!blank) {
            row.line = rowLine;
            rows << row;
        }
        row = Row();
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    cell += QLatin1Char('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (ch == QLatin1Char('\n')) ++line;
                cell += ch;
            }
            continue;
        }
        if (ch == QLatin1Char('"') && !cellStarted && cell.trimmed().isEmpty()) {
            quoted = true;
            cellStarted = true;
            cell.clear();
        } else if (ch == separator) {
            endCell();
        } else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            endRow();
            rowLine = ++line;
        } else {
            cell += ch;
        }
    }
    if (!cell.isEmpty() || !row.cells.isEmpty()) endRow();
    return rows;
}

Mapped MapColumns(Kind kind, const QList<Row> &raw)
{
    Mapped out;
    const int count = ColumnCount(kind);
    QList<int> columnOf; // raw position -> canonical column
    if (!raw.isEmpty()) {
        int named = 0;
        for (const QString &h : raw.first().cells) {
            columnOf << ColumnOfHeader(kind, h);
            if (columnOf.last() >= 0) ++named;
        }
        out.hadHeader = named >= 2;
    }
    if (out.hadHeader) {
        const bool values = columnOf.contains(ValueA) || columnOf.contains(ValueB) ||
                            (kind == Kind::Trace && columnOf.contains(K));
        if (!values) {
            out.error = QStringLiteral("表头中没有样品数值列（") +
                        ColumnTitles(kind).mid(ValueA).join(QStringLiteral("、")) + QStringLiteral("）");
            return out;
        }
    } else {
        columnOf.clear();
        for (int c = 0; c < count; ++c) columnOf << c;
    }
    for (int c = 0; c < count; ++c) out.sourceColumn << int(columnOf.indexOf(c) + 1);
    // A field past the header (or past the last column without one) has no
    // column to go to: an unquoted decimal comma ("20,5") splits a number and
    // shifts every later field, so such a row is refused, never cut.
    const qsizetype width = out.hadHeader ? raw.first().cells.size() : count;
    for (qsizetype r = out.hadHeader ? 1 : 0; r < raw.size(); ++r) {
        const Row &source = raw[r];
        Row row;
        row.line = source.line;
        row.problem = source.problem;
        row.problemColumn = source.problemColumn;
        for (int c = 0; c < count; ++c) row.cells << QString();
        for (qsizetype i = 0; i < source.cells.size(); ++i) {
            if (i >= width) {
                if (row.problem.isEmpty() && !source.cells[i].trimmed().isEmpty()) {
                    row.problem =
                        QStringLiteral("字段多于表头（小数逗号须加引号）：") + source.cells[i].left(40);
                    row.problemColumn = int(i + 1);
                }
                continue;
            }
            if (i < columnOf.size() && columnOf[i] >= 0) row.cells[columnOf[i]] = source.cells[i].trimmed();
        }
        out.rows << row;
    }
    return out;
}

namespace {

// Elements and attributes by their local names: a workbook may write its
// SpreadsheetML with a prefix ("x:row") or without.
const char *localName(const char *name)
{
    const char *colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

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
void appendText(const pugi::xml_node &node, QString *text)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const char *name = localName(c.name());
        if (std::strcmp(name, "rPh") == 0) continue;
        if (std::strcmp(name, "t") == 0)
            *text += QString::fromUtf8(c.text().get());
        else
            appendText(c, text);
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

QString cellName(int column, int row)
{
    return CalibrationWorkbook::ColumnName(column) + QString::number(row);
}

FileCells readArchive(zip_t *archive)
{
    FileCells out;
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
    // The first worksheet named by the workbook.
    QString sheetPath = QStringLiteral("xl/worksheets/sheet1.xml");
    QByteArray wb, rels;
    if (ZipMember::Read(archive, "xl/workbook.xml", &wb) == ZipMember::Outcome::Ok &&
        ZipMember::Read(archive, "xl/_rels/workbook.xml.rels", &rels) == ZipMember::Outcome::Ok) {
        pugi::xml_document wdoc, rdoc;
        if (wdoc.load_buffer(wb.constData(), size_t(wb.size())) &&
            rdoc.load_buffer(rels.constData(), size_t(rels.size()))) {
            const pugi::xml_node sheet = child(child(wdoc.document_element(), "sheets"), "sheet");
            const char *rid = attribute(sheet, "id").value();
            eachChild(rdoc.document_element(), "Relationship", [&](pugi::xml_node rel) {
                if (std::strcmp(attribute(rel, "Id").value(), rid) != 0) return;
                const QString target = QString::fromUtf8(attribute(rel, "Target").value());
                sheetPath =
                    target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            });
        }
    }
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
        Row row;
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

FileCells ReadWorkbookData(const QByteArray &package)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source =
        zip_source_buffer_create(package.constData(), zip_uint64_t(package.size()), 0, &error);
    zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        if (source) zip_source_free(source);
        FileCells out;
        out.error = QStringLiteral("不是有效的 .xlsx 文件");
        return out;
    }
    FileCells out = readArchive(archive);
    zip_discard(archive);
    return out;
}

namespace {

FileCells readWorkbook(const QString &path)
{
    int err = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!archive) {
        FileCells out;
        out.error = QStringLiteral("不是有效的 .xlsx 文件");
        return out;
    }
    FileCells out = readArchive(archive);
    zip_discard(archive);
    return out;
}

} // namespace

FileCells ReadFileCells(const QString &path)
{
    FileCells out;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx")) return readWorkbook(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = QStringLiteral("无法打开文件");
        return out;
    }
    const QString text = TextCodec::Decode(file.readAll());
    const QString firstLine = text.section(QLatin1Char('\n'), 0, 0);
    out.rows = SplitDelimited(text, GuessSeparator(firstLine, suffix == QLatin1String("csv")));
    return out;
}

Mapped ReadSampleFile(Kind kind, const QString &path)
{
    const FileCells cells = ReadFileCells(path);
    if (!cells.error.isEmpty()) {
        Mapped m;
        m.error = cells.error;
        return m;
    }
    Mapped m = MapColumns(kind, cells.rows);
    if (m.error.isEmpty() && m.rows.isEmpty())
        m.error =
            m.hadHeader ? QStringLiteral("文件只有表头，没有样品行") : QStringLiteral("文件中没有样品行");
    return m;
}

} // namespace Batch
