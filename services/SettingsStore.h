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

    // Empty when the key was never written, or when the store cannot be used at once.
    QString read(const QString& key) const;
    // False when the store could not keep the value.
    bool write(const QString& key, const QString& value);
    QString fileName() const;

    static QString executableName();

private:
    // False when reading or writing could wait for good: the settings file or its lock is
    // something other than a regular file (a named pipe, a folder), or another process holds
    // the lock. Such a store is neither read nor written.
    bool available() const;

    QString m_applicationName;
};
