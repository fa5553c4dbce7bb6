#include "shell/SettingsStore.h"

#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kOrganization = QStringLiteral("Nodalis");
const QString kSection = QStringLiteral("Settings");

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
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganization,
                       m_applicationName);
    settings.beginGroup(kSection);
    return unscrambled(settings.value(scrambled(key)).toString());
}

bool SettingsStore::write(const QString& key, const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganization,
                       m_applicationName);
    settings.beginGroup(kSection);
    settings.setValue(scrambled(key), scrambled(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}
