// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

namespace SettingsStore {
namespace {

QString groupKey(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

} // namespace

QString FilePath(const QString &application)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QLatin1Char('/') + application + QLatin1Char('/') + application + QStringLiteral(".ini");
}

QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    QSettings settings(FilePath(application), QSettings::IniFormat);
    const QVariant v = settings.value(groupKey(section, key));
    return v.isValid() ? v.toString() : defaultValue;
}

void SaveSetting(const QString &application, const QString &section, const QString &key, const QString &value)
{
    QSettings settings(FilePath(application), QSettings::IniFormat);
    settings.setValue(groupKey(section, key), value);
}

} // namespace SettingsStore
