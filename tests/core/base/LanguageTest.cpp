// SPDX-License-Identifier: GPL-3.0-or-later
// Which language the interface and lorvane-calc speak, and the English they load.
#include "core/base/Language.h"
#include "core/base/ProgramFolders.h"
#include "support/core/ScopedEnv.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

using Language::Choice;

TEST(Language, LocaleNamesChineseForZhAndTheCLocaleEnglishOtherwise)
{
    const struct {
        const char *name;
        Choice expected;
    } cases[] = {
        {"", Choice::Chinese},           {"C", Choice::Chinese},           {"POSIX", Choice::Chinese},
        {"C.UTF-8", Choice::Chinese},    {"zh_CN.UTF-8", Choice::Chinese}, {"zh_TW.Big5", Choice::Chinese},
        {"zh", Choice::Chinese},         {"en_US.UTF-8", Choice::English}, {"de_DE.UTF-8", Choice::English},
        {"fr_FR@euro", Choice::English}, {"ja_JP", Choice::English},       {"zu_ZA", Choice::English},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Language::FromLocaleName(QString::fromLatin1(c.name)), c.expected) << c.name;
}

TEST(Language, EnvironmentPrecedenceIsLanguageThenLcAllThenLcMessagesThenLang)
{
    const struct {
        const char *language, *lcAll, *lcMessages, *lang;
        Choice expected;
    } cases[] = {
        {nullptr, "de_DE.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8", Choice::English},
        {nullptr, nullptr, "zh_CN.UTF-8", "en_GB.UTF-8", Choice::Chinese},
        {nullptr, "", "", "en_GB.UTF-8", Choice::English},
        {"zh_CN:en", "en_US.UTF-8", nullptr, nullptr, Choice::Chinese},
        {"", "C", nullptr, "en_US.UTF-8", Choice::Chinese},
        {nullptr, nullptr, nullptr, nullptr, Choice::Chinese},
    };
    auto value = [](const char *v) { return v ? QString::fromLatin1(v) : QString(); };
    for (const auto &c : cases) {
        ScopedEnv language("LANGUAGE", value(c.language)), lcAll("LC_ALL", value(c.lcAll)),
            lcMessages("LC_MESSAGES", value(c.lcMessages)), lang("LANG", value(c.lang));
        EXPECT_EQ(Language::FromEnvironment(), c.expected)
            << c.language << " " << c.lcAll << " " << c.lcMessages << " " << c.lang;
    }
}

TEST(Language, TheStoredChoiceWinsOverTheLocaleAndOnlyKnownCodesCount)
{
    ScopedEnv language("LANGUAGE", QString()), lcAll("LC_ALL", QStringLiteral("de_DE.UTF-8"));
    Language::Store(Choice::Chinese);
    EXPECT_EQ(Language::ForInterface(), Choice::Chinese);
    Language::Store(Choice::English);
    EXPECT_EQ(Language::ForInterface(), Choice::English);
    EXPECT_EQ(Language::FromCode(QStringLiteral(" EN ")), Choice::English);
    EXPECT_FALSE(Language::FromCode(QStringLiteral("klingon")));
}

// The English the build made is loaded from the data folder and translates
// the core's texts; Chinese puts the source texts back.
TEST(Language, InstallLoadsTheBuiltEnglishAndChineseRemovesIt)
{
    ProgramFolders::Layout layout = ProgramFolders::Locate(QStringLiteral(LORVANE_BIN_DIR));
    ProgramFolders::SetCurrent(layout);
    const QString source = QStringLiteral("未知矿物 '%1'");
    EXPECT_TRUE(Language::Install(Choice::English));
    EXPECT_EQ(Language::Installed(), Choice::English);
    EXPECT_EQ(QCoreApplication::translate("Names", "未知矿物 '%1'"), QStringLiteral("Unknown mineral '%1'"));
    ASSERT_TRUE(Language::Install(Choice::Chinese));
    EXPECT_EQ(QCoreApplication::translate("Names", "未知矿物 '%1'"), source);

    layout.dataDir = QStringLiteral("/nonexistent");
    ProgramFolders::SetCurrent(layout);
    QString missing;
    EXPECT_FALSE(Language::Install(Choice::English, &missing));
    EXPECT_EQ(missing, QStringLiteral("/nonexistent/translations/lorvane_en.qm"));
    ProgramFolders::ResetCurrent();
    EXPECT_EQ(Language::Installed(), Choice::Chinese);
}

} // namespace
