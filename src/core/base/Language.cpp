// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/Language.h"

#include "core/base/ProgramFolders.h"
#include "core/base/SettingsStore.h"

#include <QCoreApplication>
#include <QTranslator>

namespace Language {
namespace {

const QString kApplication = QStringLiteral("Lorvane");
const QString kSection = QStringLiteral("Options");
const QString kKey = QStringLiteral("Language");

Choice &installed()
{
    static Choice choice = Choice::Chinese;
    return choice;
}

} // namespace

Choice FromLocaleName(const QString &name)
{
    // language[_territory][.codeset][@modifier]
    QString language = name.trimmed();
    for (const QChar stop : {QLatin1Char('_'), QLatin1Char('.'), QLatin1Char('@')}) {
        const int at = language.indexOf(stop);
        if (at >= 0) language.truncate(at);
    }
    language = language.toLower();
    if (language.isEmpty() || language == QLatin1String("c") || language == QLatin1String("posix") ||
        language == QLatin1String("zh"))
        return Choice::Chinese;
    return Choice::English;
}

Choice FromEnvironment()
{
    for (const char *variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable).section(QLatin1Char(':'), 0, 0);
        if (!value.isEmpty()) return FromLocaleName(value);
    }
    return Choice::Chinese;
}

QString Code(Choice choice)
{
    return choice == Choice::English ? QStringLiteral("en") : QStringLiteral("zh");
}

std::optional<Choice> FromCode(const QString &code)
{
    const QString text = code.trimmed().toLower();
    if (text == QLatin1String("zh")) return Choice::Chinese;
    if (text == QLatin1String("en")) return Choice::English;
    return std::nullopt;
}

std::optional<Choice> Stored() { return FromCode(SettingsStore::GetSetting(kApplication, kSection, kKey)); }

void Store(Choice choice) { SettingsStore::SaveSetting(kApplication, kSection, kKey, Code(choice)); }

Choice ForInterface()
{
    if (const std::optional<Choice> stored = Stored()) return *stored;
    return FromEnvironment();
}

bool Install(Choice choice, QString *error)
{
    // One translator for the life of the program; a second Install replaces it.
    static QTranslator *translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    installed() = Choice::Chinese;
    if (choice == Choice::Chinese) return true;

    auto *loaded = new QTranslator;
    const QString folder = ProgramFolders::TranslationFolder();
    if (!loaded->load(QStringLiteral("lorvane_") + Code(choice), folder)) {
        delete loaded;
        if (error) *error = folder + QStringLiteral("/lorvane_") + Code(choice) + QStringLiteral(".qm");
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    installed() = choice;
    return true;
}

Choice Installed() { return installed(); }

QString GuideFile(const QString &folder, Choice choice)
{
    return folder + QStringLiteral("/guide.") + Code(choice) + QStringLiteral(".html");
}

} // namespace Language
