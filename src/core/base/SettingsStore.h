// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Per-user settings: application, section, key -> text. Kept in
// $XDG_CONFIG_HOME/<application>/<application>.ini, one group per section.
namespace SettingsStore {

QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
void SaveSetting(const QString &application, const QString &section, const QString &key,
                 const QString &value);
// The file that holds an application's settings.
QString FilePath(const QString &application);

} // namespace SettingsStore
