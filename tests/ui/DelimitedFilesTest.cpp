// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DelimitedFiles.h"
#include "core/base/AppError.h"
#include "core/files/DelimitedText.h"
#include "core/files/TextCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class DelimitedFiles : public ::testing::Test {
  protected:
    void SetUp() override
    {
        list.setColumnCount(5);
        list.setHeaderLabels({QStringLiteral("XFo"), QStringLiteral("XFa"), QStringLiteral("XMg"),
                              QStringLiteral("XFe"), QStringLiteral("温度(K)")});
    }

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.path() + QLatin1Char('/') + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    QByteArray contents(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    QStringList row(int r)
    {
        QStringList cells;
        for (int c = 0; c < list.columnCount(); ++c) cells << list.topLevelItem(r)->text(c);
        return cells;
    }

    QTemporaryDir dir;
    QTreeWidget list;
};

} // namespace

TEST_F(DelimitedFiles, ReadsTabLinesIntoRowsFittedToTheFieldCount)
{
    const QString path =
        file(QStringLiteral("a.txt"), "0.9\t0.1\t0.2\t0.1\r\n 0.8 \t0.2\t0.3\t0.1\textra\r\n\r\n0.7\t0.3");
    mdlFunction::ReadFile(path, &list, 1, 4);
    ASSERT_EQ(list.topLevelItemCount(), 4);
    EXPECT_EQ(row(0), QStringList({"0.9", "0.1", "0.2", "0.1", ""}));
    EXPECT_EQ(row(1), QStringList({"0.8", "0.2", "0.3", "0.1", ""})); // trimmed, extra field dropped
    EXPECT_EQ(row(2), QStringList({"", "", "", "", ""}));             // an empty line is a row
    EXPECT_EQ(row(3), QStringList({"0.7", "0.3", "", "", ""}));       // missing fields are empty
}

TEST_F(DelimitedFiles, SeparatorsAreNotMerged)
{
    EXPECT_EQ(DelimitedText::SplitFields(QStringLiteral("1  2"), 3), QStringList({"1", "", "2"}));
    EXPECT_EQ(DelimitedText::SplitFields(QStringLiteral("1,2，3"), 2), QStringList({"1", "2", "3"}));
    EXPECT_EQ(DelimitedText::SplitFields(QStringLiteral("1,2"), 1), QStringList({"1,2"}));
    EXPECT_TRUE(DelimitedText::SplitFields(QString(), 1).isEmpty());
}

TEST_F(DelimitedFiles, EveryLineEndEndsALine)
{
    EXPECT_EQ(DelimitedText::SplitLines(QStringLiteral("a\r\nb\rc\nd")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(DelimitedText::SplitLines(QStringLiteral("a\n\nb\n")), QStringList({"a", "", "b"}));
    EXPECT_TRUE(DelimitedText::SplitLines(QString()).isEmpty());

    const QString path = file(QStringLiteral("lf.txt"), "1 2 3 4\n5 6 7 8\n");
    mdlFunction::ReadFile(path, &list, 3, 4);
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(row(1), QStringList({"5", "6", "7", "8", ""}));
}

TEST_F(DelimitedFiles, ReadsGb18030AndUtf8WithBom)
{
    const QString gb =
        file(QStringLiteral("gb.txt"), TextCodec::ToGb18030(QStringLiteral("橄榄石\t熔体\r\n")));
    mdlFunction::ReadFile(gb, &list, 1, 4);
    const QString bom =
        file(QStringLiteral("bom.txt"), QByteArray("\xEF\xBB\xBF") + QStringLiteral("石英\t水").toUtf8());
    mdlFunction::ReadFile(bom, &list, 1, 4);
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(row(0).mid(0, 2), QStringList({"橄榄石", "熔体"}));
    EXPECT_EQ(row(1).mid(0, 2), QStringList({"石英", "水"}));
}

TEST_F(DelimitedFiles, ExportWritesTitlesAndRowsAndReadsBackCellForCell)
{
    auto *a = new QTreeWidgetItem(QStringList({"0.9", "0.1", "0.2", "0.1", "761"}));
    auto *b = new QTreeWidgetItem(QStringList({"1", "", "1", "1", ""}));
    list.addTopLevelItems({a, b});

    const QString tab = dir.path() + QStringLiteral("/out.txt");
    mdlFunction::ExportData(tab, &list, 1, 5);
    EXPECT_EQ(
        contents(tab),
        QStringLiteral("XFo\tXFa\tXMg\tXFe\t温度(K)\r\n0.9\t0.1\t0.2\t0.1\t761\r\n1\t\t1\t1\t\r\n").toUtf8());

    for (int type = 1; type <= 3; ++type) {
        const QString path = dir.path() + QStringLiteral("/round%1").arg(type);
        mdlFunction::ExportData(path, &list, int16_t(type), 5);
        QTreeWidget back;
        back.setColumnCount(5);
        mdlFunction::ReadFile(path, &back, type, 5);
        ASSERT_EQ(back.topLevelItemCount(), 3) << type;
        EXPECT_EQ(back.topLevelItem(0)->text(4), QStringLiteral("温度(K)"));
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 5; ++c)
                EXPECT_EQ(back.topLevelItem(r + 1)->text(c), list.topLevelItem(r)->text(c)) << type;
    }
}

TEST_F(DelimitedFiles, ExportOfAnEmptyListReplacesTheFileWithTheTitleLine)
{
    const QString path = file(QStringLiteral("old.csv"), "old contents that must go\r\nmore\r\n");
    mdlFunction::ExportData(path, &list, 2, 5);
    EXPECT_EQ(contents(path), QByteArray("XFo,XFa,XMg,XFe,") + QStringLiteral("温度(K)").toUtf8() + "\r\n");
}

TEST_F(DelimitedFiles, FailuresCarryTheirSourceAndDescription)
{
    try {
        mdlFunction::ReadFile(dir.path() + QStringLiteral("/missing.txt"), &list, 1, 4);
        FAIL();
    } catch (const AppError &e) {
        EXPECT_EQ(e.source(), QStringLiteral("mdlFunction.ReadFile"));
        EXPECT_EQ(e.description(), QStringLiteral("导入数据未完成！"));
        EXPECT_EQ(e.number(), ErrNo::FileNotFound);
    }
    try {
        mdlFunction::ExportData(dir.path() + QStringLiteral("/no/such/folder/x.txt"), &list, 1, 5);
        FAIL();
    } catch (const AppError &e) {
        EXPECT_EQ(e.source(), QStringLiteral("mdlData.ExportData"));
        EXPECT_EQ(e.description(), QStringLiteral("导出数据失败!"));
    }
    EXPECT_EQ(list.topLevelItemCount(), 0);
}

TEST(TextCodec, TellsUtf8FromGb18030)
{
    EXPECT_TRUE(TextCodec::IsValidUtf8(QStringLiteral("石英 quartz").toUtf8()));
    EXPECT_FALSE(TextCodec::IsValidUtf8(TextCodec::ToGb18030(QStringLiteral("橄榄石"))));
    EXPECT_FALSE(TextCodec::IsValidUtf8(QByteArray("\xE7\x9F", 2)));     // cut off
    EXPECT_FALSE(TextCodec::IsValidUtf8(QByteArray("\xC0\xAF", 2)));     // overlong
    EXPECT_FALSE(TextCodec::IsValidUtf8(QByteArray("\xED\xA0\x80", 3))); // surrogate
    EXPECT_EQ(TextCodec::Decode(TextCodec::ToGb18030(QStringLiteral("橄榄石，熔体"))),
              QStringLiteral("橄榄石，熔体"));
}
