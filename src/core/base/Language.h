// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// The language of the interface. The Chinese texts in the code are the
// program's own; English comes from translations/lorvane_en.qm.
namespace Language {

enum class Choice { Chinese, English };

// A POSIX locale name as LC_ALL, LC_MESSAGES or LANG hold it ("de_DE.UTF-8",
// "zh_CN", "C"): Chinese for zh*, for C and POSIX and for no name; English
// for any other language.
Choice FromLocaleName(const QString &name);
// The language the environment asks for messages: the first of LANGUAGE (a
// list, as GNU programs read it), LC_ALL, LC_MESSAGES and LANG that is set and
// not empty.
Choice FromEnvironment();

// "zh" and "en", as the settings store keeps them.
QString Code(Choice choice);
std::optional<Choice> FromCode(const QString &code);

// The language the user chose under 视图 → 语言/Language, if any.
std::optional<Choice> Stored();
void Store(Choice choice);
// The stored choice, else the environment's.
Choice ForInterface();

// Installs the program's translator for `choice` into the running
// application (nothing for Chinese). False, with the file in `error`, when
// the translation cannot be loaded; the texts then stay Chinese.
bool Install(Choice choice, QString *error = nullptr);
// The language Install last put in place (Chinese before any).
Choice Installed();

// The file of the user guide in `choice`, in `folder`.
QString GuideFile(const QString &folder, Choice choice);

} // namespace Language
