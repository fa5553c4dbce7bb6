#include "ui/main/frmMain.h"

#include "engine/NodeReading.h"
#include "format/ReadingFile.h"
#include "shell/LoadedWindows.h"
#include "shell/SettingsStore.h"
#include "shell/modHelp.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WidgetChecks.h"
#include "ui/reading/frmDisplay.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Message = FakePlatform::Message;
using Icon = Platform::Icon;

const Message kOnlyLetters{"Please Enter only Letters", Icon::Information, Platform::Buttons::Ok};
const Message kEnterName{"Please Enter Your Name", Icon::Information, Platform::Buttons::Ok};
const Message kFebruary{"Please Enter Correct Date Or Month!", Icon::Information,
                        Platform::Buttons::Ok};
const Message kThirtyDays{"Please Enter Correct Date Or Month !", Icon::Information,
                          Platform::Buttons::Ok};
const Message kCheckTheFile{"Please Check The File.", Icon::Stop, Platform::Buttons::Ok};

void flushUnloadedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

frmDisplay* loadedReadingWindow() {
    for (QWidget* window : LoadedWindows::inLoadOrder())
        if (auto* display = qobject_cast<frmDisplay*>(window); display && display->isVisible())
            return display;
    return nullptr;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = new frmMain;
        window->show();
        fake.messages.clear();
        fake.openedUrls.clear();
    }

    void TearDown() override {
        flushUnloadedWindows();
        qDeleteAll(LoadedWindows::inLoadOrder());
    }

    template <typename T> T& child(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }

    QLineEdit& name() const { return child<QLineEdit>("txtName"); }

    void enter(const QString& text, int day, int month, int year) const {
        name().setText(text);
        child<QComboBox>("cboDate").setCurrentIndex(day - 1);
        child<QComboBox>("cboMonth").setCurrentIndex(month - 1);
        child<QComboBox>("cboYear").setCurrentIndex(year - 1940);
    }

    QStringList entries() const {
        return {name().text(), child<QComboBox>("cboDate").currentText(),
                child<QComboBox>("cboMonth").currentText(),
                child<QComboBox>("cboYear").currentText()};
    }

    FakePlatform fake;
    frmMain* window = nullptr;
};

// The window as it opens

TEST_F(MainWindowTest, opensOnAnEmptyNameAndTheFirstOfJanuary1940) {
    EXPECT_EQ(window->windowTitle(), "Nodalis v1.45");
    EXPECT_EQ(entries(), (QStringList{"", "1", "January", "1940"}));
    EXPECT_EQ(window->birthDateText(), "January/1/1940");

    QStringList days, years;
    for (int day = 1; day <= 31; ++day)
        days << QString::number(day);
    for (int year = 1940; year <= 2009; ++year)
        years << QString::number(year);
    const auto items = [](const QComboBox& list) {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            texts << list.itemText(i);
        return texts;
    };
    EXPECT_EQ(items(child<QComboBox>("cboDate")), days);
    EXPECT_EQ(items(child<QComboBox>("cboMonth")),
              (QStringList{"January", "February", "March", "April", "May", "June", "July", "August",
                           "September", "October", "November", "December"}));
    EXPECT_EQ(items(child<QComboBox>("cboYear")), years);
    for (const char* list : {"cboDate", "cboMonth", "cboYear"})
        EXPECT_FALSE(child<QComboBox>(list).isEditable()) << list;

    window->cmdNext_Click();
    EXPECT_EQ(fake.messages, QList<Message>{kEnterName});
}

TEST_F(MainWindowTest, showsEveryCaptionOfTheForm) {
    const std::pair<const char*, const char*> captions[] = {
        {"Label4",
         "Just input your Name and Date of Birth and get a Karmic Astrology Reading instantly!"},
        {"Label1", "Name"},
        {"Label2", "Date Of Birth"},
        {"Label5", "Date"},
        {"Label7", "Month"},
        {"Label6", "Year"},
        {"lblFullBrand", "Home Business Opportunity. Start your own Internet business and make "
                         "money online. Get this software fully branded for your website. Click "
                         "here for more details."},
        {"lblCobrand",
         "Co-brand this software for your site.  Increase loyalty and traffic to your site. Put "
         "your site's name &  link here. See \"Help\" for details.    Click Here for more info on "
         "co-branding."},
    };
    for (const auto& [control, caption] : captions)
        EXPECT_EQ(child<QLabel>(control).text(), caption) << control;
    EXPECT_TRUE(child<QLabel>("Label3").text().startsWith(
        "Welcome to Nodalis. Explore your karmic history and also your present life lessons"));
    EXPECT_EQ(child<QLabel>("Label3").text().count(u'.'), 3);
    EXPECT_TRUE(child<QLabel>("Label61").text().contains("Nodalis"));
    EXPECT_EQ(child<QGroupBox>("Frame3").title(), "Enter Your details");
    EXPECT_EQ(child<QGroupBox>("Frame1").title(), "Your Details");
    EXPECT_EQ(child<QPushButton>("cmdOpen").text(),
              "Click Here To Open Previously Saved Karmic Astrology Interpretation");
    EXPECT_EQ(child<QPushButton>("cmdNext").text(), "Get My &Karmic Astrology Interpretation");
    EXPECT_EQ(child<QPushButton>("cmdExit").text(), "&Exit");
    for (const char* link : {"Label61", "lblCobrand", "lblFullBrand"})
        EXPECT_EQ(child<QLabel>(link).cursor().shape(), Qt::PointingHandCursor) << link;
    // The offers share one rectangle, grown only where the text needs it.
    EXPECT_EQ(child<QLabel>("lblCobrand").geometry(), child<QLabel>("lblFullBrand").geometry());
    EXPECT_TRUE(child<QLabel>("lblCobrand").geometry().contains(QRect(8, 16, 375, 41)));
    expectNoClippedText(*window);
}

TEST_F(MainWindowTest, usesTheFontsOfTheForm) {
    struct Expected {
        const char* control;
        qreal points;
        bool bold;
        bool underline;
    };
    for (const Expected& e : {
             Expected{"txtName", 8.25, false, false},
             Expected{"Frame3", 8.25, true, false},
             Expected{"cboMonth", 8.25, true, false},
             Expected{"cmdNext", 8.25, true, false},
             Expected{"cmdExit", 8.25, true, false},
             Expected{"Label3", 8.25, true, false},
             Expected{"Label4", 8.25, true, false},
             Expected{"cmdOpen", 9, true, false},
             Expected{"Label1", 8.25, true, true},
             Expected{"Label2", 8.25, true, true},
             Expected{"Label5", 8.25, false, true},
             Expected{"Label6", 8.25, false, true},
             Expected{"Label61", 8.25, true, true},
             Expected{"lblCobrand", 8.25, true, true},
         }) {
        const QFont font = child<QWidget>(e.control).font();
        EXPECT_EQ(font.family(), "Verdana") << e.control;
        EXPECT_EQ(font.pointSizeF(), e.points) << e.control;
        EXPECT_EQ(font.bold(), e.bold) << e.control;
        EXPECT_EQ(font.underline(), e.underline) << e.control;
    }
}

TEST_F(MainWindowTest, menusHoldTheirEntriesInOrder) {
    const auto entriesOf = [this](const char* menuName) {
        QStringList found;
        for (const QAction* action : child<QMenu>(menuName).actions())
            found << action->objectName() + u'=' + (action->isSeparator() ? "-" : action->text());
        return found;
    };
    EXPECT_EQ(child<QMenu>("mnuFile").title(), "&File");
    EXPECT_EQ(entriesOf("mnuFile"),
              (QStringList{"mnuNext=Get My &Karmic Astrology Interpretation",
                           "mnuOpenPreviouslySavedKarmic=Open Previously Saved Karmic Astrology "
                           "Interpretation",
                           "mnuExit=E&xit"}));
    EXPECT_EQ(child<QMenu>("mnuHelp").title(), "&Help");
    EXPECT_EQ(entriesOf("mnuHelp"),
              (QStringList{"mnuOnline=&Online Help", "mnuVisit=&Visit Us Online", "mnuHelp1=-",
                           "mnuUpdate=Check for Software &Update", "mnuHelp2=-",
                           "mnuAbout=&About Software"}));
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[2]->objectName(), "mkmoney");
    EXPECT_EQ(bar[2]->text(), "Make Money &Online");
    EXPECT_FALSE(bar[2]->isEnabled());
    bar[2]->trigger();
    EXPECT_TRUE(fake.openedUrls.isEmpty());
}

TEST_F(MainWindowTest, keyboardReachesTheEntriesInOrderAndNamesThemByTheirCaptions) {
    QStringList order;
    QWidget* widget = &name();
    do {
        order << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(window));
    } while (widget != &name());
    EXPECT_EQ(order, (QStringList{"txtName", "cboDate", "cboMonth", "cboYear", "cmdNext", "cmdOpen",
                                  "cmdExit"}));
    EXPECT_EQ(child<QLabel>("Label1").buddy(), &name());
    EXPECT_EQ(child<QLabel>("Label5").buddy(), &child<QComboBox>("cboDate"));
    EXPECT_EQ(child<QLabel>("Label7").buddy(), &child<QComboBox>("cboMonth"));
    EXPECT_EQ(child<QLabel>("Label6").buddy(), &child<QComboBox>("cboYear"));
}

TEST_F(MainWindowTest, loadingOffersAnUpdateWhenTheLastOfferIsLongAgo) {
    flushUnloadedWindows();
    qDeleteAll(LoadedWindows::inLoadOrder());
    SettingsStore().write("Duration", fake.todayDate.addDays(-15).toString("yyyy-MM-dd"));
    fake.messages.clear();
    window = new frmMain;
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_TRUE(fake.messages[0].text.startsWith("There maybe an update"));
    EXPECT_EQ(child<QComboBox>("cboYear").count(), 70);
}

// The name filter

TEST_F(MainWindowTest, typedLettersBecomeCapitalsAndSpacesPass) {
    QTest::keyClicks(&name(), "ann lee");
    EXPECT_EQ(name().text(), "ANN LEE");
    QTest::keyClick(&name(), Qt::Key_Backspace);
    QTest::keyClick(&name(), Qt::Key_Return);
    EXPECT_EQ(name().text(), "ANN LE");
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(MainWindowTest, typedDigitsAndPunctuationAreRefusedWithAMessage) {
    QTest::keyClicks(&name(), "ANN");
    for (const char typed : {'7', '-', '.', '\''}) {
        fake.messages.clear();
        QTest::keyClick(&name(), typed);
        EXPECT_EQ(name().text(), "ANN") << typed;
        EXPECT_EQ(fake.messages, QList<Message>{kOnlyLetters}) << typed;
    }
    fake.messages.clear();
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("é"));
    QCoreApplication::sendEvent(&name(), &accented);
    EXPECT_EQ(name().text(), "ANN");
    EXPECT_EQ(fake.messages, QList<Message>{kOnlyLetters});
}

TEST_F(MainWindowTest, shortcutKeysTypeControlCharactersThatAreRefused) {
    QApplication::clipboard()->setText("BOB");
    QTest::keyClicks(&name(), "ANN");
    QTest::keyClick(&name(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name().text(), "ANN");
    EXPECT_EQ(fake.messages, QList<Message>{kOnlyLetters});
}

TEST_F(MainWindowTest, keysThatTypeNothingPassWithoutAMessage) {
    QTest::keyClicks(&name(), "ANNE");
    QTest::keyClick(&name(), Qt::Key_Left);
    QTest::keyClick(&name(), Qt::Key_Delete);
    QTest::keyClick(&name(), Qt::Key_Home);
    QTest::keyClick(&name(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&name(), Qt::Key_Tab);
    QTest::keyClick(&name(), Qt::Key_Shift);
    EXPECT_EQ(name().text(), "ANN");
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(MainWindowTest, pastedTextKeepsItsLettersAsCapitalsWithOneMessage) {
    QTest::keyClicks(&name(), "ANN LEE");
    name().setCursorPosition(3);
    QApplication::clipboard()->setText("-o'neil 2");
    name().paste();
    EXPECT_EQ(name().text(), "ANNONEIL  LEE");
    EXPECT_EQ(name().cursorPosition(), 9);
    EXPECT_EQ(fake.messages, QList<Message>{kOnlyLetters});

    fake.messages.clear();
    QApplication::clipboard()->setText("mary");
    name().selectAll();
    name().paste();
    EXPECT_EQ(name().text(), "MARY");
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(MainWindowTest, droppedAndInputMethodTextIsFilteredLikePastedText) {
    QMimeData dragged;
    dragged.setText("jo-jo");
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&name(), &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&name(), &drop);
    EXPECT_EQ(name().text(), "JOJO");
    EXPECT_EQ(fake.messages, QList<Message>{kOnlyLetters});

    fake.messages.clear();
    name().end(false);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral(" zoë"));
    QCoreApplication::sendEvent(&name(), &composed);
    EXPECT_EQ(name().text(), "JOJO ZO");
    EXPECT_EQ(fake.messages, QList<Message>{kOnlyLetters});
}

// Validation and the start of a reading

TEST_F(MainWindowTest, impossibleDatesAreRefusedWithTheirMessages) {
    struct Case {
        int day, month, year;
        std::optional<Message> message;
    };
    for (const Case& c : {
             Case{29, 2, 1964, std::nullopt},
             Case{29, 2, 1965, kFebruary},
             Case{30, 2, 2000, kFebruary},
             Case{31, 2, 1964, kFebruary},
             Case{28, 2, 1965, std::nullopt},
             Case{31, 4, 1980, kThirtyDays},
             Case{31, 6, 1980, kThirtyDays},
             Case{31, 9, 1980, kThirtyDays},
             Case{31, 11, 1980, kThirtyDays},
             Case{31, 3, 1980, std::nullopt},
             Case{30, 4, 1980, std::nullopt},
             Case{31, 12, 2009, std::nullopt},
         }) {
        const QString date = QStringLiteral("%1/%2/%3").arg(c.day).arg(c.month).arg(c.year);
        fake.messages.clear();
        enter("ANN LEE", c.day, c.month, c.year);
        EXPECT_EQ(window->ValidateBirthData(), !c.message) << date.toStdString();
        EXPECT_EQ(fake.messages, c.message ? QList<Message>{*c.message} : QList<Message>{})
            << date.toStdString();
    }
}

TEST_F(MainWindowTest, aRefusedEntryStartsNoReadingAndKeepsTheEntries) {
    currentReading().name = "EARLIER";
    enter("ANN LEE", 31, 4, 1980);
    window->cmdNext_Click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(loadedReadingWindow(), nullptr);
    EXPECT_EQ(currentReading().name, "EARLIER");
    EXPECT_EQ(entries(), (QStringList{"ANN LEE", "31", "April", "1980"}));
}

TEST_F(MainWindowTest, anEmptyNameMovesTheFocusToTheNameBox) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    child<QComboBox>("cboYear").setFocus();
    window->cmdNext_Click();
    EXPECT_EQ(fake.messages, QList<Message>{kEnterName});
    EXPECT_EQ(QApplication::focusWidget(), &name());
}

TEST_F(MainWindowTest, startingAReadingStoresTheEntryAndShowsTheReadingWindow) {
    enter("  ANN LEE ", 7, 3, 1975);
    window->cmdNext_Click();
    EXPECT_EQ(currentReading().name, "ANN LEE");
    EXPECT_EQ(currentReading().year, 1975);
    EXPECT_EQ(currentReading().monthName, "March");
    EXPECT_EQ(currentReading().day, 7);
    EXPECT_EQ(currentReading().northSign, "Sagittarius");
    EXPECT_EQ(currentReading().southSign, "Gemini");
    EXPECT_FALSE(window->isVisible());
    ASSERT_NE(loadedReadingWindow(), nullptr);
    EXPECT_EQ(window->birthDateText(), "March/7/1975");
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(MainWindowTest, aNameOfSpacesPassesAndIsStoredEmpty) {
    enter("   ", 1, 1, 1940);
    child<QAction>("mnuNext").trigger();
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(currentReading().name, "");
    EXPECT_NE(loadedReadingWindow(), nullptr);
}

// Ending the program

class UnloadCounter : public QWidget {
public:
    UnloadCounter() {
        setAttribute(Qt::WA_DeleteOnClose);
        LoadedWindows::add(this);
    }
};

TEST_F(MainWindowTest, exitButtonMenuAndCloseBoxEachUnloadEveryWindow) {
    const std::function<void(frmMain&)> ways[] = {
        [](frmMain& main) { main.findChild<QPushButton*>("cmdExit")->click(); },
        [](frmMain& main) { main.findChild<QAction*>("mnuExit")->trigger(); },
        [](frmMain& main) { main.close(); },
    };
    for (const auto& exit : ways) {
        if (!window) {
            window = new frmMain;
            window->show();
        }
        new UnloadCounter;
        exit(*window);
        flushUnloadedWindows();
        EXPECT_TRUE(LoadedWindows::inLoadOrder().isEmpty());
        window = nullptr;
    }
}

// Links and Help entries

TEST_F(MainWindowTest, linksAndHelpEntriesOpenTheirPages) {
    const auto click = [this](const char* label) {
        QTest::mouseClick(&child<QLabel>(label), Qt::LeftButton);
    };
    const auto choose = [this](const char* entry) {
        child<QAction>(entry).trigger();
    };
    const std::tuple<std::function<void()>, const char*> cases[] = {
        {[&] { click("Label61"); }, "home-page"},
        {[&] { choose("mnuVisit"); }, "home-page"},
        {[&] { choose("mnuOnline"); }, "help-web-page"},
        {[&] { choose("mnuUpdate"); }, "download-web-page"},
        {[&] { click("lblCobrand"); }, "co-brand"},
        {[&] { click("lblFullBrand"); }, "fully-branded"},
    };
    for (const auto& [open, page] : cases) {
        fake.openedUrls.clear();
        open();
        EXPECT_EQ(fake.openedUrls, QList<QUrl>{pageAddress(page)}) << page;
    }
    EXPECT_TRUE(fake.messages.isEmpty());
}

// Opening a saved reading

class OpenSavedReadingTest : public MainWindowTest {
protected:
    QString saved(const char* fileName, const char* savedName, int day, const char* month,
                  int year) const {
        NodeReading reading;
        reading.name = savedName;
        reading.day = static_cast<std::int16_t>(day);
        reading.monthName = month;
        reading.year = static_cast<std::int16_t>(year);
        const QString path = folder.filePath(fileName);
        EXPECT_FALSE(WriteReadingFile(QFile::encodeName(path).toStdString(), reading));
        return path;
    }

    QString raw(const char* fileName, const QByteArray& bytes) const {
        const QString path = folder.filePath(fileName);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    void open(const QString& path) {
        fake.fileNames.enqueue(path);
        window->cmdOpen_Click();
    }

    // Entries that differ from every file below.
    void enterOtherValues() const { enter("OTHER", 5, 6, 1990); }
    const QStringList otherValues{"OTHER", "5", "June", "1990"};

    QTemporaryDir folder;
};

TEST_F(OpenSavedReadingTest, asksForANodalisFile) {
    window->cmdOpen_Click();
    ASSERT_EQ(fake.fileDialogs.size(), 1);
    EXPECT_EQ(fake.fileDialogs[0].title, "Select the source file");
    EXPECT_EQ(fake.fileDialogs[0].filter, "Nodalis (*.nrd)");
    EXPECT_EQ(fake.fileDialogs[0].defaultSuffix, "nrd");
}

TEST_F(OpenSavedReadingTest, aSavedReadingIsComputedAgainAndStaysEnteredAfterBack) {
    enterOtherValues();
    open(saved("ann.nrd", "ANN LEE", 29, "February", 1964));
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(currentReading().name, "ANN LEE");
    EXPECT_EQ(currentReading().day, 29);
    EXPECT_EQ(currentReading().monthName, "February");
    EXPECT_EQ(currentReading().year, 1964);
    frmDisplay* display = loadedReadingWindow();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->reportSource().northSign, "Cancer");
    EXPECT_FALSE(window->isVisible());

    display->cmdBack_Click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(entries(), (QStringList{"ANN LEE", "29", "February", "1964"}));
}

TEST_F(OpenSavedReadingTest, theMenuEntryOpensLikeTheButton) {
    fake.fileNames.enqueue(saved("ann.nrd", "ANN LEE", 10, "August", 1975));
    child<QAction>("mnuOpenPreviouslySavedKarmic").trigger();
    ASSERT_NE(loadedReadingWindow(), nullptr);
    EXPECT_EQ(currentReading().northSign, "Scorpio");
}

TEST_F(OpenSavedReadingTest, aSavedNameIsTakenAsItWasSaved) {
    open(saved("oneil.nrd", "O'NEIL-2", 1, "May", 1980));
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(currentReading().name, "O'NEIL-2");

    // Typing on after Back filters only what is typed, not what the file put there.
    loadedReadingWindow()->cmdBack_Click();
    name().end(false);
    QTest::keyClicks(&name(), " x");
    EXPECT_EQ(name().text(), "O'NEIL-2 X");
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(OpenSavedReadingTest, cancellingChangesNothing) {
    enterOtherValues();
    window->cmdOpen_Click();
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(entries(), otherValues);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(OpenSavedReadingTest, filesThatAreNotReadingsAreRefusedAndChangeNothing) {
    NodeReading ann;
    ann.name = "ANN LEE";
    ann.day = 1;
    ann.monthName = "May";
    ann.year = 1980;
    const QByteArray annBytes = QByteArray::fromStdString(formatReadingFile(ann));
    QDir(folder.path()).mkdir("foldernrd");
    const QString refused[] = {
        raw("reading.NRD", annBytes),
        raw("reading.txt", annBytes),
        folder.filePath("missing.nrd"),
        folder.filePath("foldernrd"),
        raw("large.nrd", annBytes + QByteArray(64 * 1024, ' ')),
        raw("nul.nrd", annBytes + '\0'),
        raw("empty.nrd", {}),
        saved("month.nrd", "ANN LEE", 1, "Smarch", 1980),
        saved("day.nrd", "ANN LEE", 32, "May", 1980),
        saved("zero.nrd", "ANN LEE", 0, "May", 1980),
        saved("year.nrd", "ANN LEE", 1, "May", 1939),
    };
    for (const QString& path : refused) {
        fake.messages.clear();
        enterOtherValues();
        open(path);
        EXPECT_EQ(fake.messages, QList<Message>{kCheckTheFile}) << path.toStdString();
        EXPECT_EQ(entries(), otherValues) << path.toStdString();
        EXPECT_EQ(loadedReadingWindow(), nullptr) << path.toStdString();
    }
}

TEST_F(OpenSavedReadingTest, anEmptyNameLineFillsTheDateAndAsksForTheName) {
    enterOtherValues();
    open(saved("noname.nrd", "", 7, "March", 1975));
    EXPECT_EQ(fake.messages, QList<Message>{kEnterName});
    EXPECT_EQ(entries(), (QStringList{"", "7", "March", "1975"}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(loadedReadingWindow(), nullptr);
}

TEST_F(OpenSavedReadingTest, anImpossibleSavedDateShowsTheDateMessage) {
    enterOtherValues();
    open(saved("april.nrd", "ANN LEE", 31, "April", 1980));
    EXPECT_EQ(fake.messages, QList<Message>{kThirtyDays});
    EXPECT_EQ(entries(), (QStringList{"ANN LEE", "31", "April", "1980"}));
    EXPECT_EQ(loadedReadingWindow(), nullptr);
}

} // namespace
