#include "calc/BatchTable.h"

#include "app/NumberText.h"
#include "app/TextCodec.h"

#include <QFile>
#include <QFileInfo>
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
            if (problems) problems->append({rowIndex, column, QStringLiteral("不是数字：") + text});
            return;
        }
        const double value = Num::ToDouble(text);
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
    for (qsizetype r = out.hadHeader ? 1 : 0; r < raw.size(); ++r) {
        Row row;
        row.line = raw[r].line;
        for (int c = 0; c < count; ++c) row.cells << QString();
        for (qsizetype i = 0; i < raw[r].cells.size() && i < columnOf.size(); ++i)
            if (columnOf[i] >= 0) row.cells[columnOf[i]] = raw[r].cells[i].trimmed();
        out.rows << row;
    }
    return out;
}

namespace {

// One member of a zip package, or empty with `ok` false.
QByteArray zipMember(zip_t *archive, const char *name, bool *ok)
{
    *ok = false;
    zip_stat_t st;
    if (zip_stat(archive, name, 0, &st) != 0) return {};
    zip_file_t *file = zip_fopen(archive, name, 0);
    if (!file) return {};
    QByteArray data(qsizetype(st.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(file, data.data(), st.size);
    zip_fclose(file);
    if (got != zip_int64_t(st.size)) return {};
    *ok = true;
    return data;
}

// "BC12" -> column 54 (0-based); -1 when the reference has no letters.
int columnOfReference(const char *ref)
{
    int col = 0, letters = 0;
    for (; *ref >= 'A' && *ref <= 'Z'; ++ref, ++letters) col = col * 26 + (*ref - 'A' + 1);
    return letters ? col - 1 : -1;
}

QString innerText(const pugi::xml_node &node)
{
    // Plain <t> or rich-text runs <r><t>; phonetic hints (<rPh>) are not the text.
    QString text;
    for (const pugi::xpath_node &t :
         node.select_nodes(".//*[local-name()='t'][not(ancestor::*[local-name()='rPh'])]"))
        text += QString::fromUtf8(t.node().text().get());
    return text;
}

FileCells readWorkbook(const QString &path)
{
    FileCells out;
    int err = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!archive) {
        out.error = QStringLiteral("不是有效的 .xlsx 文件");
        return out;
    }
    bool ok = false;
    QList<QString> shared;
    const QByteArray sst = zipMember(archive, "xl/sharedStrings.xml", &ok);
    if (ok) {
        pugi::xml_document doc;
        if (doc.load_buffer(sst.constData(), size_t(sst.size())))
            for (pugi::xml_node si : doc.document_element().children("si")) shared << innerText(si);
    }
    // The first worksheet named by the workbook.
    QString sheetPath = QStringLiteral("xl/worksheets/sheet1.xml");
    const QByteArray wb = zipMember(archive, "xl/workbook.xml", &ok);
    const QByteArray rels = zipMember(archive, "xl/_rels/workbook.xml.rels", &ok);
    if (!wb.isEmpty() && ok) {
        pugi::xml_document wdoc, rdoc;
        if (wdoc.load_buffer(wb.constData(), size_t(wb.size())) &&
            rdoc.load_buffer(rels.constData(), size_t(rels.size()))) {
            const pugi::xml_node sheet = wdoc.document_element().child("sheets").child("sheet");
            const char *rid = sheet.attribute("r:id").value();
            for (pugi::xml_node rel : rdoc.document_element().children("Relationship"))
                if (qstrcmp(rel.attribute("Id").value(), rid) == 0) {
                    QString target = QString::fromUtf8(rel.attribute("Target").value());
                    sheetPath =
                        target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
                }
        }
    }
    const QByteArray sheetXml = zipMember(archive, sheetPath.toUtf8().constData(), &ok);
    zip_close(archive);
    pugi::xml_document doc;
    if (!ok || !doc.load_buffer(sheetXml.constData(), size_t(sheetXml.size()))) {
        out.error = QStringLiteral("无法读取工作表");
        return out;
    }
    int nextRow = 1;
    for (pugi::xml_node r : doc.document_element().child("sheetData").children("row")) {
        Row row;
        row.line = r.attribute("r").as_int(nextRow);
        nextRow = row.line + 1;
        int nextCol = 0;
        for (pugi::xml_node c : r.children("c")) {
            int col = columnOfReference(c.attribute("r").value());
            if (col < 0) col = nextCol;
            nextCol = col + 1;
            const QString type = QString::fromUtf8(c.attribute("t").value());
            QString value;
            if (type == QLatin1String("s"))
                value = shared.value(c.child("v").text().as_int(-1));
            else if (type == QLatin1String("inlineStr"))
                value = innerText(c.child("is"));
            else
                value = QString::fromUtf8(c.child("v").text().get());
            while (row.cells.size() < col) row.cells << QString();
            row.cells << value;
        }
        bool blank = true;
        for (const QString &cell : row.cells) blank = blank && cell.trimmed().isEmpty();
        if (!blank) out.rows << row;
    }
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
    return MapColumns(kind, cells.rows);
}

} // namespace Batch
