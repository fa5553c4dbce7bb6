// The shell: page links, the About window, the update reminder and its settings, start-up
// and shutdown.
#include "shell/Application.h"
#include "shell/ApplicationInfo.h"
#include "shell/LoadedWindows.h"
#include "shell/SettingsStore.h"
#include "shell/frmAbout.h"
#include "shell/modHelp.h"
#include "tests/support/FakePlatform.h"
#include "ui/main/frmMain.h"
#include "ui/reading/frmDisplay.h"
#include "ui/reading/frmSave.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Message = FakePlatform::Message;

QUrl pageOf(const QString& key) {
    return QUrl(siteAddress() + "/nodalis/ssd.php?page=" + key);
}

// Each test starts with no settings, and its windows are unloaded at the end.
class Shell : public ::testing::Test {
protected:
    Shell() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path()); }
    ~Shell() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        while (!LoadedWindows::inLoadOrder().isEmpty())
            delete LoadedWindows::inLoadOrder().constLast();
    }

    QTemporaryDir settings;
    FakePlatform fake;
};

TEST_F(Shell, everyLinkOfferAndHelpEntryOpensItsPage) {
    auto* main = new frmMain;
    auto* reading = new frmDisplay(main);
    // Each window's link and offer labels and menu entries, with the page each opens; mkmoney,
    // switched off, opens none.
    const QString mainAndReading = "Label61=home-page mnuVisit=home-page mnuOnline=help-web-page "
                                   "mnuUpdate=download-web-page lblCobrand=co-brand "
                                   "lblFullBrand=fully-branded mkmoney=";
    const std::pair<QWidget*, QString> windows[] = {
        {main, mainAndReading},
        {reading, mainAndReading},
        {new frmSave({}, reading),
         "Label1=home-page Label14=home-page lblCobrand=co-brand lblFullBrand=fully-branded"},
        {new frmAbout(reading), "lblHomePage=home-page lblCoBrand=fully-branded"},
    };
    for (const auto& [window, elements] : windows) {
        for (const QString& element : elements.split(u' ')) {
            const QString name = element.section(u'=', 0, 0);
            fake.openedUrls.clear();
            if (auto* entry = window->findChild<QAction*>(name)) {
                entry->trigger();
            } else {
                QLabel* label = window->findChild<QLabel*>(name);
                ASSERT_NE(label, nullptr) << name.toStdString();
                EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor) << name.toStdString();
                QTest::mouseClick(label, Qt::LeftButton);
            }
            const QString page = element.section(u'=', 1);
            EXPECT_EQ(fake.openedUrls, page.isEmpty() ? QList<QUrl>{} : QList{pageOf(page)})
                << window->objectName().toStdString() << ' ' << name.toStdString();
        }
    }
}

TEST_F(Shell, theAboutWindowShowsTheIconAndHoldsOffTheOtherWindowsUntilOkUnloadsIt) {
    QPointer<frmAbout> about = showAboutWindow(nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), about.data());
    EXPECT_EQ(about->findChild<QLabel*>("picIcon")->pixmap().size(), QSize(64, 64));
    QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Shell, theUpdateReminderAsksWhenTheLastOfferIsOver14DaysAway_andThenStoresToday) {
    SettingsStore store;
    QStringList storedWhenOpened;
    const auto noteStoredDate = [&](const QUrl&) {
        storedWhenOpened << store.read("Duration");
    };
    using enum Platform::Answer;
    // The date stored at the last offer, the answer to the question, and whether it is asked.
    const std::tuple<QString, Platform::Answer, bool> cases[] = {
        {"", Yes, false}, // the first run
        {"2026-01-01", Yes, false}, {"2026-01-29", Yes, false}, {"2025-12-31", No, true},
        {"2026-01-30", No, true},   {"2025-12-31", Yes, true},  {"next week", Yes, false},
        {"2026-02-30", Yes, false},
    };
    for (const auto& [stored, answer, asked] : cases) {
        ASSERT_TRUE(store.write("Duration", stored));
        FakePlatform platform;
        platform.answers << answer;
        platform.onOpenUrl = noteStoredDate;
        CheckUpdateReminder();
        const Message question{"There maybe an update to this software available\r"
                               "Do you want to check for an update?",
                               Platform::Icon::Information, Platform::Buttons::YesNo};
        EXPECT_EQ(platform.messages, asked ? QList{question} : QList<Message>{})
            << stored.toStdString();
        EXPECT_EQ(store.read("Duration"), asked || stored.isEmpty() ? "2026-01-15" : stored);
        EXPECT_EQ(platform.openedUrls,
                  asked && answer == Yes ? QList{pageOf("download-web-page")} : QList<QUrl>{});
    }
    EXPECT_EQ(storedWhenOpened, QStringList{"2026-01-15"}) << "the page opens after the store";

    // A date the store cannot keep opens no page: a folder inside a file is never made.
    ASSERT_TRUE(store.write("Duration", "2025-01-01"));
    fake.answers << Yes;
    fake.onOpenUrl = noteStoredDate;
    fake.onMessage = [](const Message&) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QCoreApplication::applicationFilePath() + "/settings");
    };
    CheckUpdateReminder();
    EXPECT_EQ(storedWhenOpened.size(), 1);
}

TEST_F(Shell, theReminderDateOutlivesTheProcessScrambled_andAnotherProgramNameStartsAfresh) {
    const auto start = [](const QString& program, const char* today) {
        QProcess process;
        process.start(program, {today});
        EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path())); // for the probe's settings
    const QString probe = NODALIS_SETTINGS_PROBE;
    EXPECT_EQ(start(probe, "2026-01-01"), " 0 2026-01-01");
    EXPECT_EQ(start(probe, "2026-01-20"), "2026-01-01 1 2026-01-20");
    QFile file(settings.filePath("Nodalis/settings_probe.conf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    EXPECT_TRUE(stored.contains("[Settings]") && !stored.contains("Duration") &&
                !stored.contains("2026"))
        << stored.toStdString();

    const QString copy = settings.filePath("nodalis-copy");
    ASSERT_TRUE(QFile::copy(probe, copy));
    EXPECT_EQ(start(copy, "2026-03-01"), " 0 2026-03-01");
}

// Notes the windows that are unloaded, in order.
struct UnloadLog : QObject {
    QStringList unloaded;
    bool eventFilter(QObject* window, QEvent* event) override {
        if (event->type() == QEvent::Close)
            unloaded << window->objectName();
        return false;
    }
};

TEST_F(Shell, shutDownUnloadsEveryWindowOnceInLoadOrder_andEndsTheProcessOnce) {
    auto* reading = new frmDisplay(new frmMain);
    new frmAbout;
    UnloadLog log;
    for (QWidget* window : LoadedWindows::inLoadOrder())
        window->installEventFilter(&log);
    reading->close();
    EXPECT_EQ(log.unloaded, QStringList({"frmDisplay", "frmMain", "frmAbout"}));
    EXPECT_EQ(fake.processEnds, 1);
}

TEST_F(Shell, startApplicationShowsTheMainWindowWithOneOfferInFront_unlessACopyRuns) {
    fake.randomDraws << 0.0 << 0.17;
    SingleInstanceLock first;
    ASSERT_TRUE(StartApplication(first));
    QWidget* main = LoadedWindows::inLoadOrder().constFirst();
    EXPECT_TRUE(main->isVisible());
    const auto offerInFront = [main] {
        const QWidget* offer = main->findChild<QLabel*>("lblCobrand");
        return offer->parentWidget()->childAt(offer->geometry().center())->objectName();
    };
    EXPECT_EQ(offerInFront(), "lblCobrand");
    CoBrand_Randomize(*main);
    EXPECT_EQ(offerInFront(), "lblFullBrand");

    SingleInstanceLock second;
    EXPECT_FALSE(StartApplication(second));
    EXPECT_EQ(fake.messages,
              QList<Message>({{"Application is already running", Platform::Icon::Information,
                               Platform::Buttons::Ok}}));
    EXPECT_EQ(LoadedWindows::inLoadOrder(), QList{main});
    EXPECT_EQ(fake.processEnds, 1);
}

} // namespace
