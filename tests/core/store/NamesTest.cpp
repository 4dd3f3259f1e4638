// SPDX-License-Identifier: GPL-3.0-or-later
// Minerals and types in the three spellings a geologist types.
#include "core/store/Names.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using Names::Kind;

Names::Table shipped()
{
    QString error;
    Names::Table table = Names::Table::Load(QStringLiteral(LORVANE_DATA_DIR "/names.csv"), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return table;
}

// Every mineral and type the default library stores has an entry, so that any
// of its spellings finds its calibrations.
TEST(Names, EveryNameOfTheDefaultLibraryIsInTheTable)
{
    const Names::Table table = shipped();
    for (const char *file : {"isotope_calibrations.csv", "trace_calibrations.csv"}) {
        QFile f(QStringLiteral(LORVANE_DATA_DIR "/calibrations/") + QLatin1String(file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        f.readLine();
        const bool isotope = QLatin1String(file).startsWith(QLatin1String("isotope"));
        while (!f.atEnd()) {
            const QStringList fields = QString::fromUtf8(f.readLine()).split(QLatin1Char(','));
            if (isotope) {
                EXPECT_TRUE(table.find(Kind::Type, fields[0])) << fields[0].toStdString();
            }
            for (int column : {1, 2})
                EXPECT_TRUE(table.find(Kind::Mineral, fields[column])) << fields[column].toStdString();
        }
    }
}

TEST(Names, AnySpellingInAnyCaseGivesTheStoredName)
{
    const Names::Table table = shipped();
    const struct {
        Kind kind;
        const char *spelling;
        const char *stored;
        const char *english;
    } cases[] = {
        {Kind::Mineral, "石英", "石英", "quartz"},    {Kind::Mineral, "quartz", "石英", "quartz"},
        {Kind::Mineral, "Qz", "石英", "quartz"},      {Kind::Mineral, " QUARTZ ", "石英", "quartz"},
        {Kind::Mineral, "qz", "石英", "quartz"},      {Kind::Mineral, "Mag", "磁铁矿", "magnetite"},
        {Kind::Mineral, "py", "黄铁矿", "pyrite"},    {Kind::Mineral, "Gn", "方铅矿", "galena"},
        {Kind::Mineral, "CAL", "方解石", "calcite"},  {Kind::Mineral, "dol", "白云石", "dolomite"},
        {Kind::Mineral, "Rt", "金红石", "rutile"},    {Kind::Mineral, "zrn", "锆石", "zircon"},
        {Kind::Mineral, "H2O", "水", "water"},        {Kind::Mineral, "Water", "水", "water"},
        {Kind::Type, "oxygen", "氧同位素", "oxygen"}, {Kind::Type, "O", "氧同位素", "oxygen"},
        {Kind::Type, "δ18O", "氧同位素", "oxygen"},   {Kind::Type, "Sulfur", "硫同位素", "sulfur"},
        {Kind::Type, "s", "硫同位素", "sulfur"},      {Kind::Type, "δ34S", "硫同位素", "sulfur"},
        {Kind::Type, "carbon", "碳同位素", "carbon"}, {Kind::Type, "δ13C", "碳同位素", "carbon"},
        {Kind::Type, "H", "氢同位素", "hydrogen"},    {Kind::Type, "δD", "氢同位素", "hydrogen"},
    };
    for (const auto &c : cases) {
        const QString spelling = QString::fromUtf8(c.spelling);
        EXPECT_EQ(table.stored(c.kind, spelling), QString::fromUtf8(c.stored)) << c.spelling;
        EXPECT_EQ(table.key(c.kind, spelling), QString::fromUtf8(c.stored)) << c.spelling;
        EXPECT_EQ(table.english(c.kind, spelling), QString::fromUtf8(c.english)) << c.spelling;
    }
    // A mineral's symbol is no type: S is sulfur only as a type.
    EXPECT_FALSE(table.find(Kind::Mineral, QStringLiteral("S")));
    // An unknown name stands for itself, its key folded so that case does not split a pair.
    EXPECT_EQ(table.stored(Kind::Mineral, QStringLiteral(" Bixbyite ")), QStringLiteral("Bixbyite"));
    EXPECT_EQ(table.key(Kind::Mineral, QStringLiteral("Bixbyite")),
              table.key(Kind::Mineral, QStringLiteral("BIXBYITE")));
    EXPECT_EQ(table.shown(Kind::Mineral, QStringLiteral("石英"), Language::Choice::Chinese),
              QStringLiteral("石英"));
    EXPECT_EQ(table.shown(Kind::Mineral, QStringLiteral("石英"), Language::Choice::English),
              QStringLiteral("quartz"));
}

TEST(Names, AnUnknownNameIsReportedWithTheNearestSpelling)
{
    const Names::Table table = shipped();
    const struct {
        Kind kind;
        const char *typed;
        const char *message;
    } cases[] = {
        {Kind::Mineral, "quarz", "未知矿物 'quarz'，是否为 'quartz'（石英）？"},
        {Kind::Mineral, "magnetit", "未知矿物 'magnetit'，是否为 'magnetite'（磁铁矿）？"},
        {Kind::Mineral, "石英岩", "未知矿物 '石英岩'，是否为 '石英'？"},
        {Kind::Type, "oxygn", "未知同位素类型 'oxygn'，是否为 'oxygen'（氧同位素）？"},
        {Kind::Mineral, "xylophone", "未知矿物 'xylophone'"},
    };
    for (const auto &c : cases) {
        const QString typed = QString::fromUtf8(c.typed);
        EXPECT_FALSE(table.find(c.kind, typed));
        EXPECT_EQ(Names::UnknownMessage(c.kind, typed, table.nearest(c.kind, typed)),
                  QString::fromUtf8(c.message));
    }
}

TEST(Names, ABrokenTableIsRefusedWithItsLine)
{
    const struct {
        const char *text;
        const char *error;
    } cases[] = {
        {"zh,en\n", "名称表第1行：缺少标题行"},
        {"kind,zh,en,symbol,also\nmineral,石英,quartz,Qz\n", "名称表第2行：应有5列"},
        {"kind,zh,en,symbol,also\nrock,花岗岩,granite,,\n", "名称表第2行：未知种类 'rock'"},
        {"kind,zh,en,symbol,also\nmineral,石英,,Qz,\n", "名称表第2行：缺少中文或英文名称"},
        {"kind,zh,en,symbol,also\nmineral,石英,quartz,Qz,\n# two minerals, one "
         "symbol\nmineral,绿泥石,chlorite,QZ,\n",
         "名称表第4行：'QZ'已属于石英"},
    };
    for (const auto &c : cases) {
        QString error;
        const Names::Table table = Names::Table::Read(QByteArray(c.text), &error);
        EXPECT_TRUE(table.isEmpty()) << c.text;
        EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.text;
    }
    QString error;
    EXPECT_TRUE(Names::Table::Read(QByteArray(2 << 20, 'x'), &error).isEmpty());
    EXPECT_EQ(error, QStringLiteral("名称表第1行：文件过大"));
}

} // namespace
