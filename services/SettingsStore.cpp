#include "services/SettingsStore.h"

#include "format/SmallFile.h"
#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString kSection = QStringLiteral("[Settings]");
// The file holds one short date. A larger one is not the program's own: it is neither read
// nor written, so that it cannot hold up the start or grow.
constexpr std::size_t kMaxSettingsSize = 64 * 1024;

QString scrambled(const QString& plain) {
    return QString::fromStdString(
        utf8FromWindows1252(encodeText(windows1252FromUtf8(plain.toStdString()))));
}

QString unscrambled(const QString& stored) {
    return QString::fromStdString(
        utf8FromWindows1252(decodeText(windows1252FromUtf8(stored.toStdString()))));
}

// A key as the file has always held it: ASCII letters, digits, '_', '-' and '.' as they are,
// every other character as %XX or %UXXXX.
QString escapedKey(const QString& key) {
    QString escaped;
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        if (u < 128 && (c.isLetterOrNumber() || u == '_' || u == '-' || u == '.'))
            escaped += c;
        else
            escaped += (u < 256 ? QStringLiteral("%") : QStringLiteral("%U")) +
                       QString::number(u, 16).toUpper().rightJustified(u < 256 ? 2 : 4, u'0');
    }
    return escaped;
}

// The lines of the settings file, none when it is missing; false when it is left alone.
bool readLines(const std::filesystem::path& file, QStringList& lines) {
    std::string bytes;
    const std::error_code error = readSmallFile(file, kMaxSettingsSize, bytes);
    if (error && error != std::errc::no_such_file_or_directory)
        return false;
    lines = QString::fromStdString(bytes).split(u'\n');
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();
    return true;
}

// Where the line of `key` is in the section, or -1.
qsizetype lineOf(const QStringList& lines, const QString& key) {
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.startsWith(u'['))
            inSection = line == kSection;
        else if (inSection && line.section(u'=', 0, 0).trimmed() == key)
            return i;
    }
    return -1;
}

} // namespace

SettingsStore::SettingsStore(QString applicationName)
    : m_applicationName(std::move(applicationName)) {}

QString SettingsStore::executableName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

std::filesystem::path SettingsStore::path() const {
    const std::filesystem::path config = userFolder("XDG_CONFIG_HOME", ".config");
    if (config.empty())
        return config;
    return config / "Nodalis" / QFile::encodeName(m_applicationName + ".conf").toStdString();
}

QString SettingsStore::fileName() const {
    return QFile::decodeName(path().c_str());
}

QString SettingsStore::read(const QString& key) const {
    const std::filesystem::path file = path();
    QStringList lines;
    if (file.empty() || !readLines(file, lines))
        return {};
    const qsizetype line = lineOf(lines, escapedKey(scrambled(key)));
    return line < 0 ? QString() : unscrambled(lines[line].section(u'=', 1).trimmed());
}

bool SettingsStore::write(const QString& key, const QString& value) {
    const std::filesystem::path file = path();
    QStringList lines;
    if (file.empty() || !readLines(file, lines))
        return false;
    const QString escaped = escapedKey(scrambled(key));
    const QString entry = escaped + u'=' + scrambled(value);
    if (const qsizetype line = lineOf(lines, escaped); line >= 0)
        lines[line] = entry;
    else if (const qsizetype section = lines.indexOf(kSection); section >= 0)
        lines.insert(section + 1, entry);
    else
        lines << kSection << entry;
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    return !error && !saveFileContents(file, (lines.join(u'\n') + u'\n').toStdString());
}
