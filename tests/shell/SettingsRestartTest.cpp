#include "shell/ApplicationInfo.h"
#include "tests/shell/TemporarySettings.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Each run of the probe is a start of the program: a process of its own, with the
// user's configuration folder in a temporary home.
class SettingsAcrossStarts : public ::testing::Test {
protected:
    QString start(const QString& program, const char* today, const char* answer = "no") {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder());
        process.setProcessEnvironment(environment);
        process.start(program, {QLatin1String(today), QLatin1String(answer)});
        EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QString configFolder() const { return home.filePath(QStringLiteral("config")); }
    QString settingsFileOf(const QString& program) const {
        return configFolder() + QStringLiteral("/Nodalis/") + QFileInfo(program).fileName() +
               QStringLiteral(".conf");
    }
    QByteArray contentsOf(const QString& path) const {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    QTemporaryDir home;
    const QString probe = QStringLiteral(NODALIS_SETTINGS_PROBE);
};

TEST_F(SettingsAcrossStarts, theReminderDateOutlivesTheProcess_storedScrambled) {
    EXPECT_EQ(start(probe, "2026-01-01"), QStringLiteral("found \nleft 2026-01-01\n"));
    const QByteArray firstFile = contentsOf(settingsFileOf(probe));
    EXPECT_TRUE(firstFile.contains("[Settings]")) << firstFile.toStdString();
    EXPECT_FALSE(firstFile.contains("Duration")) << firstFile.toStdString();
    EXPECT_FALSE(firstFile.contains("2026")) << firstFile.toStdString();

    EXPECT_EQ(start(probe, "2026-01-15"), QStringLiteral("found 2026-01-01\nleft 2026-01-01\n"));
    EXPECT_EQ(contentsOf(settingsFileOf(probe)), firstFile);

    EXPECT_EQ(start(probe, "2026-01-16", "yes"),
              QStringLiteral("found 2026-01-01\n"
                             "asked There maybe an update to this software available\\r"
                             "Do you want to check for an update?\n"
                             "opened ") +
                  siteAddress() +
                  QStringLiteral("/nodalis/ssd.php?page=download-web-page\n"
                                 "left 2026-01-16\n"));
    EXPECT_FALSE(contentsOf(settingsFileOf(probe)).contains("2026"));
}

TEST_F(SettingsAcrossStarts, aCopyUnderAnotherName_startsWithNoSettings) {
    start(probe, "2026-01-01");
    const QByteArray programFile = contentsOf(settingsFileOf(probe));

    const QString copy = home.filePath(QStringLiteral("nodalis-copy"));
    ASSERT_TRUE(QFile::copy(probe, copy));
    EXPECT_EQ(start(copy, "2026-03-01"), QStringLiteral("found \nleft 2026-03-01\n"));
    EXPECT_TRUE(QFile::exists(settingsFileOf(copy)));
    EXPECT_EQ(contentsOf(settingsFileOf(probe)), programFile);
}

} // namespace
