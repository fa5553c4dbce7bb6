#include "shell/SettingsStore.h"

#include "format/TextCodec.h"
#include "format/Windows1252.h"
#include "tests/shell/TemporarySettings.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kDuration = QStringLiteral("Duration");

QString codecText(const char* plain) {
    return QString::fromStdString(utf8FromWindows1252(EncodeText(plain)));
}

TEST(SettingsStore, eachExecutableNameHasSettingsOfItsOwn) {
    TemporarySettings folder;
    SettingsStore program(QStringLiteral("nodalis"));
    ASSERT_TRUE(program.write(kDuration, QStringLiteral("2026-01-15")));

    EXPECT_EQ(program.read(kDuration), QStringLiteral("2026-01-15"));
    EXPECT_EQ(program.read(QStringLiteral("Never written")), QString());
    EXPECT_EQ(SettingsStore(QStringLiteral("nodalis-copy")).read(kDuration), QString());
}

TEST(SettingsStore, keyAndValueAreKeptAsTheCodecsText_inTheProgramsOwnFile) {
    TemporarySettings folder;
    // 8 and 9 become bytes that Windows-1252 leaves undefined or maps far from Latin-1.
    const QString date = QStringLiteral("2028-09-18");
    ASSERT_TRUE(SettingsStore(QStringLiteral("nodalis")).write(kDuration, date));

    QFile file(folder.fileOf(QStringLiteral("nodalis")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.contains("Duration")) << bytes.toStdString();
    EXPECT_FALSE(bytes.contains("2028")) << bytes.toStdString();

    QSettings raw(file.fileName(), QSettings::IniFormat);
    raw.beginGroup(QStringLiteral("Settings"));
    EXPECT_EQ(raw.childKeys(), QStringList{codecText("Duration")});
    EXPECT_EQ(raw.value(codecText("Duration")).toString(), codecText("2028-09-18"));
    EXPECT_EQ(SettingsStore(QStringLiteral("nodalis")).read(kDuration), date);
}

} // namespace
