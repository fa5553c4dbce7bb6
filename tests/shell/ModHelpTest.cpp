#include "shell/modHelp.h"

#include "shell/ApplicationInfo.h"
#include "shell/SettingsStore.h"
#include "tests/shell/TemporarySettings.h"
#include "tests/support/FakePlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

const QString kDuration = QStringLiteral("Duration");
const QString kReminder = QStringLiteral(
    "There maybe an update to this software available\rDo you want to check for an update?");

QString pageOf(const char* key) {
    return siteAddress() + QStringLiteral("/nodalis/ssd.php?page=") + QLatin1String(key);
}

TEST(PageLaunchers, eachOpensExactlyItsOwnPageAndSaysNothing) {
    const std::vector<std::pair<void (*)(), QString>> launchers{
        {OpenHomePage, pageOf("home-page")},
        {OpenHelpWebPage, pageOf("help-web-page")},
        {OpenDownloadWebPage, pageOf("download-web-page")},
        {OpenCoBrandPage, pageOf("co-brand")},
        {OpenFullyBrandedPage, pageOf("fully-branded")},
    };
    for (const auto& [launch, address] : launchers) {
        FakePlatform platform;
        launch();
        ASSERT_EQ(platform.openedUrls.size(), 1) << address.toStdString();
        EXPECT_EQ(platform.openedUrls.constFirst().toString(), address);
        EXPECT_TRUE(platform.messages.isEmpty());
    }
}

class UpdateReminder : public ::testing::Test {
protected:
    // The reminder keeps its date in the running executable's store.
    void storeDaysFromToday(qint64 days) {
        ASSERT_TRUE(settings.write(kDuration, today().addDays(days).toString(Qt::ISODate)));
    }
    QString stored() const { return settings.read(kDuration); }
    QDate today() const { return QDate(2026, 1, 15); }

    void expectAskedOnce(const FakePlatform& platform) {
        ASSERT_EQ(platform.messages.size(), 1);
        const FakePlatform::Message& asked = platform.messages.constFirst();
        EXPECT_EQ(asked.text, kReminder);
        EXPECT_EQ(asked.icon, Platform::Icon::Information);
        EXPECT_EQ(asked.buttons, Platform::Buttons::YesNo);
    }

    TemporarySettings folder;
    SettingsStore settings;
};

TEST_F(UpdateReminder, firstRun_storesTodayAndShowsNothing) {
    FakePlatform platform;
    CheckUpdateReminder();
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_TRUE(platform.openedUrls.isEmpty());
    EXPECT_EQ(stored(), QStringLiteral("2026-01-15"));
}

TEST_F(UpdateReminder, aDateUpTo14DaysAwayEitherWay_showsAndWritesNothing) {
    for (const qint64 days : {-14, -13, -1, 0, 1, 14}) {
        FakePlatform platform;
        storeDaysFromToday(days);
        const QString before = stored();
        CheckUpdateReminder();
        EXPECT_TRUE(platform.messages.isEmpty()) << days << " days";
        EXPECT_EQ(stored(), before) << days << " days";
    }
}

TEST_F(UpdateReminder, aDate15DaysBack_asksOnce_andAnswerNoOnlyStoresToday) {
    FakePlatform platform;
    storeDaysFromToday(-15);
    CheckUpdateReminder();
    expectAskedOnce(platform);
    EXPECT_EQ(stored(), QStringLiteral("2026-01-15"));
    EXPECT_TRUE(platform.openedUrls.isEmpty());
}

TEST_F(UpdateReminder, aClockSetBackMoreThan14Days_asksAndResetsTheDateToToday) {
    for (const qint64 days : {15, 400}) {
        FakePlatform platform;
        storeDaysFromToday(days);
        CheckUpdateReminder();
        expectAskedOnce(platform);
        EXPECT_EQ(stored(), QStringLiteral("2026-01-15")) << days << " days";
    }
}

TEST_F(UpdateReminder, answerYes_opensTheDownloadPageAfterStoringToday) {
    FakePlatform platform;
    platform.answers.enqueue(Platform::Answer::Yes);
    QStringList storedWhenOpened;
    platform.onOpenUrl = [&](const QUrl&) {
        storedWhenOpened.append(stored());
    };
    storeDaysFromToday(-30);
    CheckUpdateReminder();
    EXPECT_EQ(platform.openedUrls, QList<QUrl>{QUrl(pageOf("download-web-page"))});
    EXPECT_EQ(storedWhenOpened, QStringList{QStringLiteral("2026-01-15")});
}

TEST_F(UpdateReminder, aWriteTheStoreRefuses_stopsBeforeTheDownloadPage) {
    FakePlatform platform;
    platform.answers.enqueue(Platform::Answer::Yes);
    storeDaysFromToday(-30);
    QTemporaryDir elsewhere;
    QFile blocker(elsewhere.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    bool asked = false;
    platform.onMessage = [&](const FakePlatform::Message&) {
        asked = true;
        // A folder inside a plain file can never be made, not even by root.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           blocker.fileName() + QStringLiteral("/settings"));
    };
    CheckUpdateReminder();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(platform.openedUrls.isEmpty());
}

TEST_F(UpdateReminder, aStoredTextThatIsNoDate_isLeftAsItWasWithoutAMessage) {
    for (const char* text : {"15/01/2026", "next week", "2026-02-30", "2026-01-15x"}) {
        FakePlatform platform;
        ASSERT_TRUE(settings.write(kDuration, QLatin1String(text)));
        CheckUpdateReminder();
        EXPECT_TRUE(platform.messages.isEmpty()) << text;
        EXPECT_EQ(stored(), QLatin1String(text));
    }
}

} // namespace
