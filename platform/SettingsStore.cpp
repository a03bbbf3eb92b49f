#include "platform/SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

IniSettingsStore::IniSettingsStore(const QString &folder)
    : m_folder(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                : folder)
{
}

QString IniSettingsStore::fileFor(const QString &app) const
{
    return QDir(m_folder).filePath(app + QLatin1Char('/') + app + QLatin1String(".ini"));
}

QString IniSettingsStore::GetSetting(const QString &app, const QString &section, const QString &key,
                                     const QString &defaultValue)
{
    // An unreadable or damaged file reads as an empty one: every key takes its default.
    QSettings settings(fileFor(app), QSettings::IniFormat);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    if (!value.isValid() || settings.status() != QSettings::NoError)
        return defaultValue;
    return value.toString();
}

void IniSettingsStore::SaveSetting(const QString &app, const QString &section, const QString &key,
                                   const QString &value)
{
    QSettings settings(fileFor(app), QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
}

static QString memoryKey(const QString &app, const QString &section, const QString &key)
{
    return app + QLatin1Char('/') + section + QLatin1Char('/') + key;
}

QString MemorySettingsStore::GetSetting(const QString &app, const QString &section, const QString &key,
                                        const QString &defaultValue)
{
    return values.value(memoryKey(app, section, key), defaultValue);
}

void MemorySettingsStore::SaveSetting(const QString &app, const QString &section, const QString &key,
                                      const QString &value)
{
    values.insert(memoryKey(app, section, key), value);
    ++saves;
}
