// The program around its windows: page links, the About window, the update reminder and its
// settings, start-up and shutdown.
#include "app/Application.h"

#include "services/ApplicationInfo.h"
#include "services/SettingsStore.h"
#include "services/UpdateReminder.h"
#include "tests/ui/WindowFixture.h"
#include "ui/about/AboutDialog.h"

#include <QApplication>
#include <QProcess>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Message = FakePlatform::Message;

QUrl pageOf(const QString& key) {
    return QUrl(siteAddress() + "/nodalis/ssd.php?page=" + key);
}

// Each test starts with no settings, and its windows are deleted at the end.
class Program : public ::testing::Test {
protected:
    Program() { QFile::remove(SettingsStore().fileName()); }
    ~Program() override { deleteEveryWindow(); }

    // Runs a program that starts as this one does as far as the update reminder, with its
    // settings in `settings`; gives what it prints.
    QString runProbe(const char* today, const QString& program = NODALIS_SETTINGS_PROBE) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
        QProcess process;
        process.start(program, {today});
        EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString() << " did not end";
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QTemporaryDir settings;
    FakePlatform fake;
};

TEST_F(Program, everyLinkOfferAndHelpEntryOpensItsPage) {
    auto* main = new MainWindow;
    auto* reading = new ReadingWindow;
    // Each window's link and offer labels and menu entries, with the page each opens;
    // actionMakeMoneyOnline, switched off, opens none.
    const QString mainAndReading =
        "forumLink=home-page actionVisitWebSite=home-page actionOnlineHelp=help-web-page "
        "actionCheckForUpdate=download-web-page coBrandOffer=co-brand "
        "fullBrandOffer=fully-branded actionMakeMoneyOnline=";
    const std::pair<QWidget*, QString> windows[] = {
        {main, mainAndReading},
        {reading, mainAndReading},
        {new ReportWindow({}, reading), "siteLink=home-page forumLink=home-page "
                                        "coBrandOffer=co-brand fullBrandOffer=fully-branded"},
        {new AboutDialog(reading), "homePageLink=home-page fullBrandLink=fully-branded"},
    };
    for (const auto& [window, elements] : windows) {
        for (const QString& element : elements.split(u' ')) {
            const QString name = element.section(u'=', 0, 0);
            fake.openedUrls.clear();
            if (auto* entry = window->findChild<QAction*>(name)) {
                entry->trigger();
            } else {
                QLabel& label = child<QLabel>(*window, qPrintable(name));
                EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor) << name.toStdString();
                QTest::mouseClick(&label, Qt::LeftButton);
            }
            const QString page = element.section(u'=', 1);
            EXPECT_EQ(fake.openedUrls, page.isEmpty() ? QList<QUrl>{} : QList{pageOf(page)})
                << window->objectName().toStdString() << ' ' << name.toStdString();
        }
    }
}

TEST_F(Program, theAboutWindowHoldsOffTheOthersUntilEnterOnOk) {
    auto* about = new AboutDialog(new ReadingWindow);
    about->show();
    EXPECT_EQ(QApplication::activeModalWidget(), about);
    QTest::keyClick(&child(*about, "okButton"), Qt::Key_Return);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Program, theUpdateReminderAsksWhenTheLastOfferIsOver14DaysAway_andThenStoresToday) {
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
        checkUpdateReminder();
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

    // A date the store cannot keep opens no page: the file grows too large meanwhile.
    ASSERT_TRUE(store.write("Duration", "2025-01-01"));
    fake.answers << Yes;
    fake.onOpenUrl = noteStoredDate;
    fake.onMessage = [&store](const Message&) {
        ASSERT_TRUE(QFile::resize(store.fileName(), 64 * 1024 + 1));
    };
    checkUpdateReminder();
    EXPECT_EQ(storedWhenOpened.size(), 1);
}

// The date outlives the process, scrambled as earlier versions wrote it.
TEST_F(Program, theReminderDateOutlivesTheProcessScrambled_inTheUsersConfigurationFolder) {
    const QString path = settings.filePath("Nodalis/settings_probe.conf");
    ASSERT_TRUE(QDir().mkpath(settings.filePath("Nodalis")));
    std::ofstream(path.toStdString())
        << "[Settings]\n%U2122%CA%C7%B6%C9%BE%C4%C3="
           "\u2021\u2026\u2021\u2039\u201a\u2026\u2020\u201a\u2026\u2020\n";
    EXPECT_EQ(runProbe("2026-01-20"), "2026-01-01 1 2026-01-20");
    EXPECT_EQ(runProbe("2026-01-21"), "2026-01-20 0 2026-01-20");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    EXPECT_TRUE(stored.startsWith("[Settings]\n%U2122") && !stored.contains("Duration") &&
                !stored.contains("2026"))
        << stored.toStdString();
    // Another program name starts afresh.
    const QString copy = settings.filePath("nodalis-copy");
    ASSERT_TRUE(QFile::copy(NODALIS_SETTINGS_PROBE, copy));
    EXPECT_EQ(runProbe("2026-03-01", copy), " 0 2026-03-01");

    // The folder by the XDG rule: a relative XDG_CONFIG_HOME is ignored, and without HOME
    // the home folder is the user's in the password database.
    const QByteArray home = qgetenv("HOME");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(SettingsStore("x").fileName(), home + "/.config/Nodalis/x.conf");
    qunsetenv("HOME");
    EXPECT_EQ(SettingsStore("x").fileName(),
              QString(getpwuid(geteuid())->pw_dir) + "/.config/Nodalis/x.conf");
    qputenv("HOME", home);
}

// A settings file that would hold up the start is neither waited on nor rewritten: one too large
// to be the program's own, even by a byte, or a named pipe (the reading file's tests swap one in
// at every moment of the read they share).
TEST_F(Program, settingsThatWouldHoldUpTheStartAreIgnored_andLeftAsTheyWere) {
    const QString path = settings.filePath("Nodalis/settings_probe.conf");
    runProbe("2026-01-01");
    for (const qint64 size : {qint64(64 * 1024 + 1), qint64(200) << 20}) { // the latter sparse
        ASSERT_TRUE(QFile::resize(path, size));
        EXPECT_EQ(runProbe("2026-03-01"), " 0 ");
        EXPECT_EQ(QFileInfo(path).size(), size);
    }
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(mkfifo(QFile::encodeName(path), 0600), 0);
    EXPECT_EQ(runProbe("2026-03-01"), " 0 ");
    EXPECT_TRUE(std::filesystem::is_fifo(path.toStdString()));
}

// Notes the windows that are closed, in order.
struct CloseLog : QObject {
    QStringList closed;
    bool eventFilter(QObject* window, QEvent* event) override {
        if (event->type() == QEvent::Close)
            closed << window->objectName();
        return false;
    }
};

TEST_F(Program, shutDownClosesEveryWindowOnceInCreationOrder_andEndsTheProcessOnce) {
    new MainWindow;
    auto* reading = new ReadingWindow;
    new AboutDialog;
    CloseLog log;
    for (QWidget* window : OpenWindows::inCreationOrder())
        window->installEventFilter(&log);
    reading->close();
    EXPECT_EQ(log.closed, QStringList({"ReadingWindow", "MainWindow", "AboutDialog"}));
    EXPECT_EQ(fake.processEnds, 1);
}

TEST_F(Program, startApplicationShowsTheMainWindowWithOneOfferInFront_unlessACopyRuns) {
    fake.randomDraws << 0.0 << 0.17;
    const QByteArray lockName =
        "nodalis-test-" + QByteArray::number(QCoreApplication::applicationPid());
    SingleInstanceLock first(lockName);
    ASSERT_TRUE(startApplication(first));
    QWidget* main = OpenWindows::inCreationOrder().constFirst();
    EXPECT_TRUE(main->isVisible());
    const auto offerInFront = [main] {
        const QWidget* offer = main->findChild<QLabel*>("coBrandOffer");
        return offer->parentWidget()->childAt(offer->geometry().center())->objectName();
    };
    EXPECT_EQ(offerInFront(), "coBrandOffer");
    bringRandomOfferToFront(*qobject_cast<MainWindow*>(main));
    EXPECT_EQ(offerInFront(), "fullBrandOffer");

    SingleInstanceLock second(lockName);
    EXPECT_FALSE(startApplication(second));
    EXPECT_EQ(fake.messages,
              QList<Message>({{"Application is already running", Platform::Icon::Information,
                               Platform::Buttons::Ok}}));
    EXPECT_EQ(OpenWindows::inCreationOrder(), QList{main});
    EXPECT_EQ(fake.processEnds, 1);
}

// Qt names a path that is not UTF-8 wrongly, and a dialog given a folder that does not exist
// opens in its parent with the rest typed as the file's name.
TEST_F(Program, fileDialogsStartInAFolderThatExists_whenHomeIsNotUtf8OrMissing) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray notUtf8 = QFile::encodeName(settings.path()) + "/caf\xe9";
    ASSERT_EQ(mkdir(notUtf8.constData(), 0700), 0);
    for (const QByteArray& odd : {notUtf8, notUtf8 + "/gone/deeper"}) {
        qputenv("HOME", odd);
        platform().chooseFileToSave(nullptr, {});
        platform().chooseFileToOpen(nullptr, {});
    }
    qputenv("HOME", home);
    for (const Platform::FileDialog& dialog : fake.fileDialogs)
        EXPECT_EQ(dialog.folder, settings.path());
}

} // namespace
