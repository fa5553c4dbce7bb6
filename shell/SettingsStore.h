#pragma once

#include <QString>

// The per-user settings of the program, kept apart for every executable name
// and held under the section "Settings". Keys and values are stored scrambled
// with the text codec, so neither reads as plain text in the settings file.
class SettingsStore {
public:
    // `applicationName` defaults to the running executable's file name without
    // directory and extension: a copy started under another name has settings of its own.
    explicit SettingsStore(QString applicationName = executableName());

    // Empty when the key was never written.
    QString read(const QString& key) const;
    // False when the store could not keep the value.
    bool write(const QString& key, const QString& value);

    static QString executableName();

private:
    QString m_applicationName;
};
