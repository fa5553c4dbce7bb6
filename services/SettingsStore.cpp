#include "services/SettingsStore.h"

#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kOrganization = QStringLiteral("Nodalis");
const QString kSection = QStringLiteral("Settings");

// The section of one application's settings, opened afresh for every call so that
// each read sees what another process wrote.
class Section {
public:
    explicit Section(const QString& fileName)
        : m_settings(fileName, QSettings::IniFormat) {
        m_settings.beginGroup(kSection);
    }

    QSettings& settings() { return m_settings; }

private:
    QSettings m_settings;
};

bool absentOrRegular(const QString& path) {
    const QFileInfo file(path);
    return !file.exists() || file.isFile();
}

QString scrambled(const QString& plain) {
    return QString::fromStdString(
        utf8FromWindows1252(encodeText(windows1252FromUtf8(plain.toStdString()))));
}

QString unscrambled(const QString& stored) {
    return QString::fromStdString(
        utf8FromWindows1252(decodeText(windows1252FromUtf8(stored.toStdString()))));
}

} // namespace

SettingsStore::SettingsStore(QString applicationName)
    : m_applicationName(std::move(applicationName)) {}

QString SettingsStore::executableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString SettingsStore::fileName() const {
    // The file QSettings chooses for the organisation and the application, named here so that
    // it is checked before QSettings opens it: QSettings reads its file as soon as it is made.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           kOrganization + u'/' + m_applicationName + QStringLiteral(".conf");
}

bool SettingsStore::available() const {
    const QString file = fileName();
    const QString lock = file + QStringLiteral(".lock");
    if (!absentOrRegular(file) || !absentOrRegular(lock))
        return false;
    // QSettings waits for the lock without end before it writes; it must be free now. Before
    // the first write there is no folder to hold a lock, and nothing to wait for.
    QLockFile probe(lock);
    return !QFileInfo::exists(QFileInfo(file).path()) || probe.tryLock(0);
}

QString SettingsStore::read(const QString& key) const {
    if (!available())
        return {};
    Section section(fileName());
    return unscrambled(section.settings().value(scrambled(key)).toString());
}

bool SettingsStore::write(const QString& key, const QString& value) {
    if (!available())
        return false;
    Section section(fileName());
    section.settings().setValue(scrambled(key), scrambled(value));
    section.settings().sync();
    return section.settings().status() == QSettings::NoError;
}
