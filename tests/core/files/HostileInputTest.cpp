// SPDX-License-Identifier: GPL-3.0-or-later
// Files and commands made to break the batch readers and lorvane-calc: each is
// refused with a message that names the place, and nothing is lost.
#include "core/files/CellReference.h"
#include "core/files/ZipMember.h"
#include "core/thermometry/BatchTable.h"
#include "core/thermometry/CalibrationRange.h"
#include "support/core/LorvaneCalc.h"
#include "support/core/TempDatabase.h"
#include "support/core/ZipPackage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <zip.h>

#include <gtest/gtest.h>

using namespace Batch;

namespace {

QByteArray sheet(const QByteArray &rows, const QByteArray &prefix = "")
{
    const QByteArray p = prefix.isEmpty() ? QByteArray() : prefix + ':';
    const QByteArray ns = prefix.isEmpty() ? QByteArray("xmlns") : "xmlns:" + prefix;
    return "<?xml version=\"1.0\"?><" + p + "worksheet " + ns +
           "=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><" + p + "sheetData>" + rows +
           "</" + p + "sheetData></" + p + "worksheet>";
}

FileCells readSheet(const QByteArray &xml)
{
    return ReadWorkbookData(ZipPackage({{"xl/worksheets/sheet1.xml", xml}}));
}

const QByteArray kHeader = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>sample</t></is></c>"
                           "<c r=\"B1\" t=\"inlineStr\"><is><t>delta_a</t></is></c></row>";

} // namespace

TEST(HostileWorkbook, ReferencesAndRowsPastASheetAndFormulasWithoutResultsAreNamed)
{
    const struct {
        QByteArray rows;
        QString error;
    } cases[] = {
        {kHeader + "<row r=\"2\"><c r=\"ZZZZZZ2\"><v>1</v></c></row>",
         "无法读取工作表：单元格引用无效：ZZZZZZ2"},
        {kHeader + "<row r=\"2\"><c r=\"XFE2\"><v>1</v></c></row>", "无法读取工作表：单元格引用无效：XFE2"},
        {kHeader + "<row r=\"2\"><c r=\"A1048577\"><v>1</v></c></row>",
         "无法读取工作表：单元格引用无效：A1048577"},
        {kHeader + "<row r=\"2147483647\"><c><v>1</v></c></row>", "无法读取工作表：行号超出范围：2147483647"},
        {kHeader + "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"B2\"><f>A2*2</f></c></row>",
         "无法读取工作表：公式无计算结果：B2"},
    };
    for (const auto &c : cases) {
        const FileCells cells = readSheet(sheet(c.rows));
        EXPECT_EQ(cells.error, c.error);
        EXPECT_TRUE(cells.rows.isEmpty());
    }
    // The edge itself is a sheet's last cell.
    int column = 0, row = 0;
    EXPECT_TRUE(Xlsx::ParseCellReference("XFD1048576", &column, &row));
    EXPECT_EQ(column, 16384);
    EXPECT_EQ(row, 1048576);
    EXPECT_FALSE(Xlsx::ParseCellReference("AAAAAAAAAAAAAAAAAAAA1", &column, &row));
    EXPECT_FALSE(Xlsx::ParseCellReference("A99999999999999999999", &column, &row));
}

TEST(HostileWorkbook, NoRowIsPaddedPastItsHeaderAndPrefixedXmlReads)
{
    // A value far past the header is the row's problem, not 16384 empty cells.
    const FileCells wide =
        readSheet(sheet(kHeader + "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>Q</t></is></c>"
                                  "<c r=\"XFD2\"><v>7</v></c></row>"));
    ASSERT_TRUE(wide.error.isEmpty()) << wide.error.toStdString();
    ASSERT_EQ(wide.rows.size(), 2);
    EXPECT_LE(wide.rows[1].cells.size(), 2);
    EXPECT_EQ(wide.rows[1].problem, QStringLiteral("单元格XFD2在表头以外：7"));
    EXPECT_EQ(wide.rows[1].problemColumn, 16384);

    // SpreadsheetML under a prefix, as some writers give it.
    const QByteArray prefixed =
        "<x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>sample</x:t></x:is></x:c>"
        "<x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>delta_a</x:t></x:is></x:c></x:row>"
        "<x:row r=\"2\"><x:c r=\"A2\" t=\"inlineStr\"><x:is><x:t>Q</x:t></x:is></x:c>"
        "<x:c r=\"B2\"><x:v>10.5</x:v></x:c></x:row>";
    const FileCells cells = readSheet(sheet(prefixed, "x"));
    ASSERT_EQ(cells.rows.size(), 2);
    EXPECT_EQ(cells.rows[1].cells, QStringList({"Q", "10.5"}));
}

TEST(HostileWorkbook, RunsNestedDeepAreReadWithoutExhaustingTheStack)
{
    // Three hundred thousand rich-text runs, one inside the other, around the text.
    const int depth = 300000;
    QByteArray cell = "<c r=\"A1\" t=\"inlineStr\"><is>";
    for (int i = 0; i < depth; ++i) cell += "<r>";
    cell += "<t>sample</t>";
    for (int i = 0; i < depth; ++i) cell += "</r>";
    cell += "</is></c>";
    const FileCells cells = readSheet(sheet("<row r=\"1\">" + cell + "</row>"));
    ASSERT_TRUE(cells.error.isEmpty()) << cells.error.toStdString();
    ASSERT_EQ(cells.rows.size(), 1);
    EXPECT_EQ(cells.rows[0].cells, QStringList{QStringLiteral("sample")});
}

TEST(HostileWorkbook, AMemberIsNeverHeldPastTheLimit)
{
    // Two megabytes of spaces pack to a few kilobytes; read with a one-megabyte limit.
    const QByteArray big(2 << 20, ' ');
    QByteArray zipped = ZipPackage({{"big.xml", big}});
    auto read = [](const QByteArray &bytes, QByteArray *out) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        zip_t *archive = zip_open_from_source(source, ZIP_RDONLY, &error);
        const ZipMember::Outcome o = ZipMember::Read(archive, "big.xml", out, 1 << 20);
        zip_discard(archive);
        return o;
    };
    QByteArray out("left over");
    EXPECT_EQ(read(zipped, &out), ZipMember::Outcome::TooLarge);
    EXPECT_TRUE(out.isEmpty());

    // The same member claiming four gigabytes in its headers is refused on the claim.
    for (const char *signature : {"PK\x03\x04", "PK\x01\x02"}) {
        const qsizetype at = zipped.indexOf(signature);
        ASSERT_GE(at, 0);
        const qsizetype size = at + (signature[2] == 3 ? 22 : 24);
        for (int i = 0; i < 4; ++i) zipped[size + i] = char(0xF0 | (i ? 0x0F : 0));
    }
    EXPECT_EQ(read(zipped, &out), ZipMember::Outcome::TooLarge);
    EXPECT_EQ(ZipMember::Why(ZipMember::Outcome::TooLarge, 200LL << 20), QStringLiteral("解压后超过200 MB"));
}

TEST(HostileText, ARemarkOfAMegabyteIsReadInOnePass)
{
    // Page numbers and ranges without a unit, again and again, then the range.
    QString remark;
    while (remark.size() < (1 << 20)) remark += QStringLiteral("pp. 12-34 and 5-6, ");
    remark += QStringLiteral("calibrated 300-400 °C");
    const std::optional<CalibrationRange> range = ReadRange(remark);
    ASSERT_TRUE(range);
    EXPECT_EQ(*range->low, 300);
    EXPECT_EQ(*range->high, 400);
}

namespace {

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

TEST(HostileCommand, BadCellsAndCarelessCommandsStopWithAMessageAndWriteNothing)
{
    TempDatabase db;
    db.exec(QStringLiteral(
        "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) values "
        "(1,'氧同位素','石英','水',3.38,0,-3.4,'200-500','Clayton')"));
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &text) {
        return WriteTestFile(dir.path(), name, text);
    };
    const QByteArray header = "sample,type,mineral_a,mineral_b,delta_a,delta_b\n";
    const QString good = write(QStringLiteral("good.csv"), header + "Q,氧同位素,石英,水,10,2\n");
    const QString link = dir.filePath(QStringLiteral("link.csv"));
    ASSERT_TRUE(QFile::link(good, link));
    const QString db2 = db.path();
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"iso", write("huge.csv", header + "Q,氧同位素,石英,水,1e999,2\n")},
         "huge.csv:2:5: 数值超出范围：1e999"},
        {{"iso", write("comma.csv", header + "Q,氧同位素,石英,水,20,5,2\n")},
         "comma.csv:2:7: 字段多于表头（小数逗号须加引号）：2"},
        {{"iso", write("empty.csv", header)}, "empty.csv: 文件只有表头，没有样品行"},
        {{"iso", good, "--draws", "2147483647"}, "--draws takes 0 to 1000000"},
        {{"iso", good, "-o", good}, "is the sample file itself; nothing written"},
        {{"iso", good, "-o", link}, "is the sample file itself; nothing written"},
        {{"iso", good, "-o", db2}, "is the database; nothing written"},
    };
    const QByteArray goodBefore = digest(good), dbBefore = digest(db2);
    for (const auto &c : cases) {
        QStringList args = c.args;
        if (!args.contains(QStringLiteral("--db"))) args << QStringLiteral("--db") << db2;
        const CalcRun r = RunLorvaneCalc(args);
        EXPECT_EQ(r.code, 1) << c.message.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
    EXPECT_EQ(digest(good), goodBefore);
    EXPECT_EQ(digest(db2), dbBefore);

    // A write that fails half-way (a file-size limit stands in for a full disk)
    // keeps the old results and leaves no partial file beside them.
    QByteArray many = header;
    for (int i = 0; i < 200; ++i) many += "Q" + QByteArray::number(i) + ",氧同位素,石英,水,10,2\n";
    const QString samples = write(QStringLiteral("many.csv"), many);
    const QString out = write(QStringLiteral("out.csv"), "old results\n");
    const CalcRun full = RunLorvaneCalc({"iso", samples, "--db", db2, "-o", out},
                                        QStringLiteral("ulimit -f 4; trap '' XFSZ;"));
    EXPECT_EQ(full.code, 1) << full.err.toStdString();
    EXPECT_TRUE(full.err.contains(QStringLiteral("文件超出允许的大小; nothing written")))
        << full.err.toStdString();
    QFile kept(out);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old results\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("out.csv")),
              QStringList{QStringLiteral("out.csv")});
}
