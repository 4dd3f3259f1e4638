// SPDX-License-Identifier: GPL-3.0-or-later
// A sample file read in pieces gives the rows, line numbers and mapping the
// whole-file reader gives, whatever the size of the pieces; a table computed in
// pieces draws for every row as it would whole.
#include "core/thermometry/SampleStream.h"
#include "core/files/TextCodec.h"
#include "core/files/Workbook.h"
#include "core/thermometry/BatchRun.h"
#include "core/thermometry/SampleColumns.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Batch;

namespace {

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

// Every row of the stream, with the line it came from, and the first error.
QStringList streamed(Kind kind, const QString &path, qint64 pieceBytes, QString *error)
{
    SampleStream stream(kind, path, pieceBytes);
    QStringList out;
    if (!stream.open(error)) return out;
    for (;;) {
        const Mapped m = stream.next();
        if (!m.error.isEmpty()) *error = m.error;
        if (m.rows.isEmpty()) return out;
        for (const Row &r : m.rows)
            out << QString::number(r.line) + QLatin1Char(':') + r.cells.join(QLatin1Char('|')) +
                       (r.problem.isEmpty() ? QString() : QStringLiteral(" !") + r.problem);
    }
}

QStringList whole(Kind kind, const QString &path)
{
    QStringList out;
    for (const Row &r : ReadSampleFile(kind, path).rows)
        out << QString::number(r.line) + QLatin1Char(':') + r.cells.join(QLatin1Char('|')) +
                   (r.problem.isEmpty() ? QString() : QStringLiteral(" !") + r.problem);
    return out;
}

} // namespace

TEST(SampleStream, PiecesOfAnySizeGiveTheWholeFilesRows)
{
    QTemporaryDir dir;
    const struct {
        const char *name;
        QByteArray bytes;
    } files[] = {
        // A header in any order, "#" lines above it, a quoted field holding a line end and
        // a separator, a blank line, CR LF, a decimal comma refused, no line end at the end.
        {"a.csv", "\xEF\xBB\xBF# 抽样次数: 0\r\n# lab\r\ndelta_b,mineral_b,sample,TYPE,mineral_a,delta_a\r\n"
                  "2,水,Q1,氧同位素,石英,10\r\n\r\n1,水,\"Q2,\nsecond line\",氧同位素,石英,9.5\r\n"
                  "3,水,Q3,氧同位素,石英,11,5\r\n4,水,\"Q4 \"\"quoted\"\"\",氧同位素,石英,12"},
        // No header: the canonical order; tab separated.
        {"b.txt", "S1\t氧同位素\t石英\t水\t10\t0.2\t2\t0."
                  "2\nS2\t氧同位素\t石英\t水\t9\t\t1\t\nS3\t硫同位素\t黄铁矿\t方铅矿\t3\t\t0\t\n"},
        // GB18030 (not UTF-8): decided at the start, kept to the end.
        {"c.csv",
         TextCodec::ToGb18030(QStringLiteral("样品,同位素,矿物A,矿物B,δA,δB\nG1,氧同位素,石英,水,10,2\n"
                                             "G2,氧同位素,石英,磁铁矿,8,1\n"))},
    };
    for (const auto &f : files) {
        const QString path = write(dir, QString::fromLatin1(f.name), f.bytes);
        const QStringList expected = whole(Kind::Isotope, path);
        ASSERT_FALSE(expected.isEmpty()) << f.name;
        for (const qint64 piece : {1, 7, 40, 1 << 20}) {
            QString error;
            EXPECT_EQ(streamed(Kind::Isotope, path, piece, &error), expected)
                << f.name << " in pieces of " << piece;
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        }
    }
}

TEST(SampleStream, ARowComputedInAPieceDrawsAsInTheWholeTable)
{
    Library library;
    Calibration c;
    c.type = QStringLiteral("氧同位素");
    c.mineralA = QStringLiteral("石英");
    c.mineralB = QStringLiteral("水");
    c.a = 3.38;
    c.c = -3.4;
    library.add(c);
    QList<Row> rows;
    for (int i = 0; i < 6; ++i) {
        Row row;
        row.cells = {QStringLiteral("S%1").arg(i),
                     c.type,
                     c.mineralA,
                     c.mineralB,
                     QString::number(9 + i),
                     QStringLiteral("0.2"),
                     QStringLiteral("2"),
                     QStringLiteral("0.2")};
        rows << row;
    }
    Options options;
    options.draws = 500;
    const Results all = Compute(Kind::Isotope, rows, library, options);
    Results pieces = Compute(Kind::Isotope, rows.mid(0, 4), library, options);
    options.firstRow = 4;
    for (const Result &r : Compute(Kind::Isotope, rows.mid(4), library, options)) pieces.push_back(r);
    ASSERT_EQ(pieces.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(pieces[i].lo95, all[i].lo95) << i;
        EXPECT_EQ(pieces[i].hi95, all[i].hi95) << i;
    }
}

// A whole file into a table: a text file in pieces and a workbook as it
// streams (more rows than a piece of either) give the whole-file reader's rows,
// trimmed; its refusals are the same, and a cancel leaves nothing.
TEST(ReadSamples, TextAndWorkbookGiveTheWholeFileReadersRowsAndRefusals)
{
    QTemporaryDir dir;
    QByteArray text = "sample,type,mineral_a,mineral_b,delta_a,sigma_a,delta_b,sigma_b\n";
    QVector<QVector<Workbook::Cell>> sheet{{}};
    for (const char *h :
         {"sample", "type", "mineral_a", "mineral_b", "delta_a", "sigma_a", "delta_b", "sigma_b"})
        sheet[0] << Workbook::Cell::Text(QString::fromLatin1(h));
    constexpr int kRows = 9000; // past a piece of 8192 rows
    for (int i = 0; i < kRows; ++i) {
        const QString name = QStringLiteral(" S%1 ").arg(i), a = QString::number(5 + i % 13, 'f', 2);
        text += (name + QStringLiteral(",氧同位素,石英,水,") + a + QStringLiteral(",0.1,-1,0.1\n")).toUtf8();
        sheet << QVector<Workbook::Cell>{Workbook::Cell::Text(name),
                                         Workbook::Cell::Text(QStringLiteral("氧同位素")),
                                         Workbook::Cell::Text(QStringLiteral("石英")),
                                         Workbook::Cell::Text(QStringLiteral("水")),
                                         Workbook::Cell::Number(5 + i % 13),
                                         Workbook::Cell::Number(0.1),
                                         Workbook::Cell::Number(-1),
                                         Workbook::Cell::Number(0.1)};
    }
    const QString csv = write(dir, QStringLiteral("s.csv"), text);
    const QString xlsx =
        write(dir, QStringLiteral("s.xlsx"), Workbook::Create({{QStringLiteral("样品"), sheet, true, {}}}));
    for (const QString &path : {csv, xlsx}) {
        SampleColumns table(Kind::Isotope);
        ASSERT_EQ(ReadSamples(Kind::Isotope, path, &table), QString()) << path.toStdString();
        const Mapped whole = ReadSampleFile(Kind::Isotope, path);
        ASSERT_EQ(table.rowCount(), whole.rows.size()) << path.toStdString();
        ASSERT_EQ(table.rowCount(), kRows);
        for (int i : {0, 8191, 8192, kRows - 1}) {
            QStringList trimmed;
            for (const QString &c : whole.rows[i].cells) trimmed << c.trimmed();
            EXPECT_EQ(table.row(i).cells, trimmed) << path.toStdString() << i;
            EXPECT_EQ(table.line(i), whole.rows[i].line) << path.toStdString() << i;
            EXPECT_EQ(*table.values(i).a, 5 + i % 13) << path.toStdString() << i;
        }
        Progress cancelled;
        cancelled.cancel = true;
        EXPECT_EQ(ReadSamples(Kind::Isotope, path, &table, &cancelled), QString());
        EXPECT_TRUE(table.isEmpty()) << path.toStdString();
    }
    const QString headerOnly =
        write(dir, QStringLiteral("h.csv"), "sample,type,mineral_a,mineral_b,delta_a\n");
    const QString headerOnlyBook = write(dir, QStringLiteral("h.xlsx"),
                                         Workbook::Create({{QStringLiteral("样品"), {sheet[0]}, true, {}}}));
    for (const QString &path : {headerOnly, headerOnlyBook}) {
        SampleColumns table(Kind::Isotope);
        EXPECT_EQ(ReadSamples(Kind::Isotope, path, &table), QStringLiteral("文件只有表头，没有样品行"))
            << path.toStdString();
        EXPECT_EQ(ReadSampleFile(Kind::Isotope, path).error, QStringLiteral("文件只有表头，没有样品行"))
            << path.toStdString();
    }
}
