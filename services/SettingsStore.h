#pragma once

#include <QString>
#include <filesystem>

// The per-user settings of the program, kept apart for every executable name
// and held under the section "Settings". Keys and values are stored scrambled
// with the text codec, so neither reads as plain text in the settings file.
class SettingsStore {
public:
    // `applicationName` defaults to the running executable's file name without
    // directory and extension: a copy started under another name has settings of its own.
    explicit SettingsStore(QString applicationName = executableName());

    // Empty when the key was never written, or when the settings file is left alone: one
    // that is not a regular file, or is too large to be the program's own.
    QString read(const QString& key) const;
    // False when the store could not keep the value.
    bool write(const QString& key, const QString& value);
    QString fileName() const;

    static QString executableName();

private:
    std::filesystem::path path() const;

    QString m_applicationName;
};
