#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Points this process's per-user settings at a fresh, empty folder for the object's
// lifetime, so that each test starts with no settings and none touches the user's own.
class TemporarySettings {
public:
    TemporarySettings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
    }

    // Where the settings of `applicationName` are kept.
    QString fileOf(const QString& applicationName) const {
        return m_folder.filePath(QStringLiteral("Nodalis/") + applicationName +
                                 QStringLiteral(".conf"));
    }

private:
    QTemporaryDir m_folder;
};

// Lets test failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
