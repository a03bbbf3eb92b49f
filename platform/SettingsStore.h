#pragma once

#include <QHash>
#include <QString>

// The per-user settings store: text values addressed by application,
// section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text, or the default as text when nothing is stored.
    virtual QString GetSetting(const QString &app, const QString &section, const QString &key,
                               const QString &defaultValue) = 0;
    virtual void SaveSetting(const QString &app, const QString &section, const QString &key,
                             const QString &value) = 0;
};

// Keeps the values in an INI file per application under the user's
// configuration folder (~/.config/<app>/<app>.ini), or under a folder given
// for tests.
class IniSettingsStore : public SettingsStore
{
public:
    explicit IniSettingsStore(const QString &folder = {});
    QString GetSetting(const QString &app, const QString &section, const QString &key,
                       const QString &defaultValue) override;
    void SaveSetting(const QString &app, const QString &section, const QString &key,
                     const QString &value) override;
    QString fileFor(const QString &app) const;

private:
    QString m_folder;
};

// Keeps the values in memory; for tests.
class MemorySettingsStore : public SettingsStore
{
public:
    QString GetSetting(const QString &app, const QString &section, const QString &key,
                       const QString &defaultValue) override;
    void SaveSetting(const QString &app, const QString &section, const QString &key,
                     const QString &value) override;

    QHash<QString, QString> values;   // "app/section/key" -> text
    int saves = 0;
};
