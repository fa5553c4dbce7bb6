#include "shell/SettingsStore.h"

#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kOrganization = QStringLiteral("Nodalis");
const QString kSection = QStringLiteral("Settings");

// The section of one application's settings, opened afresh for every call so that
// each read sees what another process wrote.
class Section {
public:
    explicit Section(const QString& applicationName)
        : m_settings(QSettings::NativeFormat, QSettings::UserScope, kOrganization,
                     applicationName) {
        // Without this, a name without settings of its own would read the
        // organisation's or the system's values.
        m_settings.setFallbacksEnabled(false);
        m_settings.beginGroup(kSection);
    }

    QSettings& settings() { return m_settings; }

private:
    QSettings m_settings;
};

QString scrambled(const QString& plain) {
    return QString::fromStdString(
        utf8FromWindows1252(EncodeText(windows1252FromUtf8(plain.toStdString()))));
}

QString unscrambled(const QString& stored) {
    return QString::fromStdString(
        utf8FromWindows1252(DecodeText(windows1252FromUtf8(stored.toStdString()))));
}

} // namespace

SettingsStore::SettingsStore(QString applicationName)
    : m_applicationName(std::move(applicationName)) {}

QString SettingsStore::executableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString SettingsStore::read(const QString& key) const {
    Section section(m_applicationName);
    return unscrambled(section.settings().value(scrambled(key)).toString());
}

bool SettingsStore::write(const QString& key, const QString& value) {
    Section section(m_applicationName);
    section.settings().setValue(scrambled(key), scrambled(value));
    section.settings().sync();
    return section.settings().status() == QSettings::NoError;
}
