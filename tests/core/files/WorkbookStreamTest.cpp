// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheets read row by row as they are inflated: the rows the whole-sheet
// readers give, stopping when asked, progress, and files made to break it.
#include "core/files/Workbook.h"
#include "core/files/ZipMember.h"
#include "support/core/ZipPackage.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <zip.h>

#include <gtest/gtest.h>

using namespace Workbook;

namespace {

QByteArray sheet(const QByteArray &rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet "
           "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
           rows + "</sheetData></worksheet>";
}

struct Streamed {
    QList<SheetRow> rows;
    QString error;
};

Streamed stream(const QByteArray &bytes, int stopAfter = -1)
{
    Streamed out;
    out.error = StreamFirstSheetData(bytes, [&out, stopAfter](SheetRow &&row) {
        out.rows << std::move(row);
        return out.rows.size() != stopAfter;
    });
    return out;
}

QString readError(const QByteArray &sheetXml, const QByteArray &shared = QByteArray())
{
    std::vector<std::pair<std::string, QByteArray>> parts{{"xl/worksheets/sheet1.xml", sheetXml}};
    if (!shared.isNull()) parts.push_back({"xl/sharedStrings.xml", shared});
    const Sheet s = ReadFirstSheetData(ZipPackage(parts));
    return s.rows.isEmpty() ? s.error : QStringLiteral("rows: %1").arg(s.rows.size());
}

const QByteArray kShared = "<sst><si><t>石英</t></si>"
                           "<si><r><t>Mg</t></r><r><t xml:space=\"preserve\"> </t></r><r><t>O</t></r>"
                           "<rPh><t>ま</t></rPh></si><si><t>水</t></si></sst>";

} // namespace

TEST(WorkbookStream, RowsAreThoseOfTheWholeSheetAcrossPieces)
{
    // Enough rows for several pieces; texts with references and line ends that
    // fall on every offset, so that some straddle a piece's end.
    QByteArray rows =
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>sample</t></is></c>"
        "<c r=\"B1\" t=\"s\"><v>0</v></c><c r=\"C1\"><v>delta</v></c><c r=\"D1\"><v>x</v></c></row>";
    QList<QStringList> expected{{"sample", "石英", "delta", "x"}};
    QList<int> lines{1};
    const int n = 30000;
    for (int i = 2; i <= n; ++i) {
        const QByteArray r = QByteArray::number(i);
        if (i % 1000 == 0) { // a blank row, dropped
            rows += "<row r=\"" + r + "\"><c><v> </v></c><c t=\"inlineStr\"><is><t>\r\n</t></is></c></row>";
            continue;
        }
        const QByteArray pad(i % 7, 'p');
        rows += "<row r=\"" + r + "\"><c t=\"inlineStr\"><is><r><t>" + pad +
                "a&amp;b&#x4E2D;\r\nz</t></r></is></c>";
        rows +=
            i % 3 == 0 ? QByteArray("<c t=\"s\"><v>1</v></c>") : "<c r=\"B" + r + "\" t=\"b\"><v>1</v></c>";
        rows += "<c><v>" + r + ".50</v></c><c><v><![CDATA[<" + pad + "]]></v></c></row>";
        expected << QStringList{QString::fromLatin1(pad) + QStringLiteral("a&b中\nz"),
                                i % 3 == 0 ? QStringLiteral("Mg O") : QStringLiteral("1"),
                                QString::number(i) + QStringLiteral(".50"),
                                QStringLiteral("<") + QString::fromLatin1(pad)};
        lines << i;
    }
    // Texts longer than a piece, given in parts: references, line ends and the
    // end of CDATA fall on every offset of a part's end.
    QByteArray longXml, longCdata;
    QString longText, longCdataText;
    for (int k = 0; k < 40000; ++k) {
        const QByteArray pad(k % 5, 'q');
        longXml += pad + "&amp;&#x4E2D;\r\n";
        longText += QString::fromLatin1(pad) + QStringLiteral("&中\n");
        longCdata += pad + "]]\r\n";
        longCdataText += QString::fromLatin1(pad) + QStringLiteral("]]\n");
    }
    rows += "<row r=\"30001\"><c t=\"inlineStr\"><is><t>" + longXml + "</t></is></c><c><v><![CDATA[" +
            longCdata + "]]></v></c></row>";
    expected << QStringList{longText, longCdataText};
    lines << n + 1;
    // Line ends alone, in three phases, so that one of them is cut between '\r' and '\n'.
    rows += "<row r=\"30002\">";
    QStringList ends;
    for (int k = 0; k < 3; ++k) {
        rows += "<c t=\"inlineStr\"><is><t>" + QByteArray(k, 'p') + QByteArray("a\r\n").repeated(100000) +
                "</t></is></c>";
        ends << QString(k, QLatin1Char('p')) + QStringLiteral("a\n").repeated(100000);
    }
    rows += "</row>";
    expected << ends;
    lines << n + 2;
    const QByteArray xml = sheet(rows);
    ASSERT_GT(xml.size(), 4 * 256 * 1024);
    const QByteArray bytes =
        ZipPackage({{"xl/worksheets/sheet1.xml", xml}, {"xl/sharedStrings.xml", kShared}});

    const Streamed s = stream(bytes);
    ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
    ASSERT_EQ(s.rows.size(), expected.size());
    for (qsizetype i = 0; i < s.rows.size(); ++i) {
        ASSERT_EQ(s.rows[i].cells, expected[i]) << "row " << i;
        ASSERT_EQ(s.rows[i].line, lines[i]);
    }
    const Sheet whole = ReadFirstSheetData(bytes);
    EXPECT_TRUE(whole.error.isEmpty());
    ASSERT_EQ(whole.rows.size(), s.rows.size());
    for (qsizetype i = 0; i < s.rows.size(); ++i) EXPECT_EQ(whole.rows[i].cells, s.rows[i].cells);
}

TEST(WorkbookStream, StopsWhenAskedAndTellsHowFarItHasCome)
{
    QByteArray rows;
    for (int i = 1; i <= 20000; ++i)
        rows += "<row r=\"" + QByteArray::number(i) + "\"><c><v>" + QByteArray::number(i * 7919 % 100003) +
                "</v></c><c><v>" + QByteArray::number(i) + "</v></c></row>";
    const QByteArray bytes = ZipPackage({{"xl/worksheets/sheet1.xml", sheet(rows)}});

    const Streamed stopped = stream(bytes, 3);
    EXPECT_TRUE(stopped.error.isEmpty());
    ASSERT_EQ(stopped.rows.size(), 3);
    EXPECT_EQ(stopped.rows[2].line, 3);

    // The compressed size as the package's own directory gives it.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.xlsx"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    int err = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    zip_stat_t st;
    ASSERT_EQ(zip_stat(archive, "xl/worksheets/sheet1.xml", 0, &st), 0);
    zip_discard(archive);

    std::vector<std::pair<int64_t, int64_t>> reports;
    int count = 0;
    const QString error = StreamFirstSheet(
        path,
        [&count](SheetRow &&) {
            ++count;
            return true;
        },
        [&reports](int64_t done, int64_t total) { reports.emplace_back(done, total); });
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(count, 20000);
    ASSERT_GE(reports.size(), 2u);
    for (size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].second, int64_t(st.comp_size));
        EXPECT_LE(reports[i].first, reports[i].second);
        if (i > 0) {
            EXPECT_GE(reports[i].first, reports[i - 1].first);
        }
    }
    EXPECT_EQ(reports.back().first, int64_t(st.comp_size));
}

TEST(WorkbookStream, AnErrorAfterRowsComesAtTheEndAndTheWholeReadersGiveNoRows)
{
    const QByteArray good = "<row r=\"1\"><c><v>h</v></c></row><row r=\"2\"><c><v>1</v></c></row>";
    const struct {
        QByteArray rows;
        QString error;
    } cases[] = {
        {good + "<row r=\"3\"><c r=\"XFE3\"><v>1</v></c></row><row r=\"4\"><c><v>2</v></c></row>",
         "无法读取工作表：单元格引用无效：XFE3"},
        {good + "<row r=\"3\"><c><f>A2*2</f></c></row>", "无法读取工作表：公式无计算结果：A3"},
        // Broken XML further on outweighs a bad reference before it, as when the sheet is parsed whole.
        {good + "<row r=\"3\"><c r=\"XFE3\"><v>1</v></c></row><row>", "无法读取工作表：XML格式错误"},
    };
    for (const auto &c : cases) {
        const QByteArray bytes = ZipPackage({{"xl/worksheets/sheet1.xml", sheet(c.rows)}});
        const Streamed s = stream(bytes);
        EXPECT_EQ(s.error, c.error);
        EXPECT_EQ(s.rows.size(), 2); // nothing after the error
        const Sheet whole = ReadFirstSheetData(bytes);
        EXPECT_EQ(whole.error, c.error);
        EXPECT_TRUE(whole.rows.isEmpty());
    }
}

TEST(WorkbookStream, SharedStringsThatCannotBeTrustedAreNamed)
{
    const QByteArray header = "<row r=\"1\"><c><v>a</v></c><c><v>b</v></c></row>";
    const struct {
        QByteArray cell;
        QByteArray shared;
        QString result;
    } cases[] = {
        {"<c r=\"B2\" t=\"s\"><v>1</v></c>", kShared, "rows: 2"},
        {"<c r=\"B2\" t=\"s\"><v>3</v></c>", kShared, "无法读取工作表：共享字符串无效：B2"},
        {"<c r=\"B2\" t=\"s\"><v>abc</v></c>", kShared, "无法读取工作表：共享字符串无效：B2"},
        {"<c r=\"B2\" t=\"s\"><v>0</v></c>", QByteArray(), "无法读取工作表：共享字符串无效：B2"},
        {"<c r=\"B2\" t=\"s\"><v>0</v></c>", "<sst><si><t>a</t></si", "无法读取工作表：共享字符串无效：B2"},
        // A broken table no cell refers to is no harm.
        {"<c r=\"B2\"><v>0</v></c>", "<sst><si><t>a</t></si", "rows: 2"},
        {"<c r=\"B2\" t=\"s\"/>", QByteArray(), "rows: 1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readError(sheet(header + "<row r=\"2\">" + c.cell + "</row>"), c.shared), c.result)
            << c.cell.constData();
}

TEST(WorkbookStream, HostileSheetsAreRefusedQuicklyAndInLittleMemory)
{
    // A billion laughs: entities of entities, a gigabyte if expanded.
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE worksheet [<!ENTITY l0 \"ha\">";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                  QByteArray("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    laughs += "]><worksheet><sheetData><row><c "
              "t=\"inlineStr\"><is><t>&l9;</t></is></c></row></sheetData></worksheet>";
    QByteArray deep = "<worksheet><sheetData><row><c t=\"inlineStr\"><is>";
    deep += QByteArray("<r>").repeated(1100000) + "<t>x</t>" + QByteArray("</r>").repeated(1100000);
    deep += "</is></c></row></sheetData></worksheet>";
    const QByteArray longTag = "<worksheet><sheetData><row r=\"1\" x=\"" + QByteArray(17 << 20, 'x') + "\"/>";
    const struct {
        QByteArray xml;
        QString error;
    } cases[] = {
        {laughs, "无法读取工作表：XML格式错误"},
        {deep, "无法读取工作表：XML嵌套过深"},
        {longTag, "无法读取工作表：XML格式错误"},
        {sheet("<row><c><v>1</v></c></row><!-- never closed"), "无法读取工作表：XML格式错误"},
        {sheet("<row><c><v>1" + QByteArray(1, '\0') + "</v></c></row>"), "无法读取工作表：XML格式错误"},
        {QByteArray(), "无法读取工作表：XML格式错误"},
    };
    for (const auto &c : cases) {
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(readError(c.xml), c.error);
        EXPECT_LT(timer.elapsed(), 20000);
    }

    // A member is read a piece at a time and never past the limit, whatever it claims.
    const QByteArray bytes = ZipPackage({{"big.xml", QByteArray(3 << 20, ' ')}});
    const ZipMember::Package opened(bytes);
    ASSERT_TRUE(opened.archive());
    ZipMember::Reader in(opened.archive(), "big.xml", 1 << 20);
    QByteArray piece(300000, '\0');
    int64_t total = 0;
    for (int64_t n; (n = in.read(piece.data(), piece.size())) > 0;) total += n;
    EXPECT_EQ(in.outcome(), ZipMember::Outcome::TooLarge);
    EXPECT_LE(total, 1 << 20);
    EXPECT_EQ(ZipMember::Reader(opened.archive(), "none.xml").outcome(), ZipMember::Outcome::Missing);
    EXPECT_EQ(ZipMember::Reader(opened.archive(), "big.xml", 1 << 20).outcome(),
              ZipMember::Outcome::TooLarge);
    EXPECT_EQ(StreamFirstSheetData("not a zip", [](SheetRow &&) { return true; }),
              QStringLiteral("不是有效的 .xlsx 文件"));
}

TEST(WorkbookStream, SheetsInOtherEncodingsAndByName)
{
    const QString text = QStringLiteral("café 石英");
    const QByteArray body = "<worksheet><sheetData><row r=\"2\"><c t=\"inlineStr\"><is><t>";
    const QByteArray tail = "</t></is></c></row></sheetData></worksheet>";
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QStringEncoder utf32(QStringEncoder::Utf32BE, QStringEncoder::Flag::WriteBom);
    const QString xml = QString::fromUtf8(body) + text + QString::fromUtf8(tail);
    const QByteArray cases[] = {
        "\xEF\xBB\xBF" + body + text.toUtf8() + tail,
        QByteArray(utf16(xml)),
        QByteArray(utf32(xml)),
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + body + "caf\xE9 &#x77F3;&#33521;" + tail,
    };
    for (const QByteArray &c : cases) {
        const Streamed s = stream(ZipPackage({{"xl/worksheets/sheet1.xml", c}}));
        ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
        ASSERT_EQ(s.rows.size(), 1);
        EXPECT_EQ(s.rows[0].cells, QStringList{text});
        EXPECT_EQ(s.rows[0].line, 2);
    }

    NewSheet first{QStringLiteral("one"), {{Cell::Text(QStringLiteral("a"))}}, false, {}};
    NewSheet second{
        QStringLiteral("参数"), {{Cell::Text(QStringLiteral("k")), Cell::Number(2.5)}}, false, {}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two.xlsx"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Create({first, second}));
    f.close();
    QList<QStringList> got;
    const auto keep = [&got](SheetRow &&row) {
        got << row.cells;
        return true;
    };
    EXPECT_TRUE(StreamSheet(path, QStringLiteral("参数"), keep).isEmpty());
    EXPECT_EQ(got, QList<QStringList>{QStringList({"k", "2.5"})});
    EXPECT_EQ(StreamSheet(path, QStringLiteral("nope"), keep),
              QStringLiteral("无法读取工作表：没有工作表nope"));
    EXPECT_EQ(ReadSheet(path, QStringLiteral("参数")).rows.size(), 1);
}
