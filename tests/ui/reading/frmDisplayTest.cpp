#include "ui/reading/frmDisplay.h"

#include "engine/NodeReading.h"
#include "shell/LoadedWindows.h"
#include "shell/modHelp.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WidgetChecks.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kNorthExplanation =
    "The North Node of the Moon reflects those kinds of experiences, qualities and "
    "characteristic traits that need to be developed within ourselves so as to work with our "
    "karma. These qualities will help us to grow spiritually.";
const QString kSouthExplanation =
    "The South Node of the Moon reflects kind of experiences, qualities and characteristic "
    "traits that are already present in us. These are some of our inborn qualities which are "
    "naturally over-developed in us, and prove to be our prime strength.";

template <typename T> T& child(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

QString textOf(const QWidget& window, const char* name) {
    if (auto* box = window.findChild<QPlainTextEdit*>(QString::fromLatin1(name)))
        return box->toPlainText();
    return child<QLabel>(window, name).text();
}

void flushUnloadedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ReadingWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = new frmMain;
        main->show();
        fake.messages.clear();
    }

    void TearDown() override {
        flushUnloadedWindows();
        qDeleteAll(LoadedWindows::inLoadOrder());
    }

    frmDisplay& readingFor(const char* name, int day, int month, int year) {
        child<QLineEdit>(*main, "txtName").setText(QString::fromLatin1(name));
        child<QComboBox>(*main, "cboDate").setCurrentIndex(day - 1);
        child<QComboBox>(*main, "cboMonth").setCurrentIndex(month - 1);
        child<QComboBox>(*main, "cboYear").setCurrentIndex(year - 1940);
        main->cmdNext_Click();
        return shownReadingWindow();
    }

    static frmDisplay& shownReadingWindow() {
        for (QWidget* window : LoadedWindows::inLoadOrder())
            if (auto* display = qobject_cast<frmDisplay*>(window); display && display->isVisible())
                return *display;
        throw std::runtime_error("no reading window shown");
    }

    FakePlatform fake;
    frmMain* main = nullptr;
};

// The window as designed

TEST_F(ReadingWindowTest, startsWithItsFixedTextsAndPlaceholders) {
    frmDisplay display;
    display.show();
    EXPECT_EQ(display.windowTitle(), "Nodalis v1.45");
    EXPECT_EQ(display.centralWidget()->size(), QSize(771, 512));
    EXPECT_EQ(display.centralWidget()->y(), display.menuBar()->geometry().bottom() + 1);

    EXPECT_EQ(textOf(display, "lblNorthNodedesc"), kNorthExplanation);
    EXPECT_EQ(textOf(display, "lblSouthNodeDesc"), kSouthExplanation);
    const QString explanation = textOf(display, "Label1");
    EXPECT_EQ(explanation.size(), 339);
    EXPECT_TRUE(explanation.startsWith(" North Node and the South Node are the two directly "
                                       "opposite axis points of the Moon. "));
    EXPECT_EQ(explanation.count(u'.'), 4);
    EXPECT_TRUE(textOf(display, "Label61").contains("Nodalis"));

    const std::pair<const char*, const char*> captions[] = {
        {"Label4", "Karmic Astrology Interpretation"},
        {"kkk", "Your North Node Is Placed In"},
        {"hhh", "Your South Node Is Placed In"},
        {"dsds", "Keywords"},
        {"Label5", "Keywords"},
        {"lblNorthSign", "lblSignNorth"},
        {"lblSouthSign", "lblSignSouth"},
        {"lblNorthKeyWord", "lblKeywords"},
        {"lblSouthKeyWord", "lblKeywords"},
        {"txtNorthDesc", ""},
        {"txtSouthDesc", ""},
    };
    for (const auto& [control, caption] : captions)
        EXPECT_EQ(textOf(display, control), caption) << control;
    EXPECT_EQ(child<QGroupBox>(display, "Frame4").title(),
              QString(37, u' ') + "North Node" + QString(34, u' '));
    EXPECT_EQ(child<QGroupBox>(display, "Frame6").title(),
              QString(36, u' ') + "South Node" + QString(34, u' '));
    EXPECT_EQ(child<QPushButton>(display, "cmdPrint").text(), "&Print");
    EXPECT_EQ(child<QPushButton>(display, "cmdBack").text(), "&Back");
    EXPECT_EQ(child<QPushButton>(display, "cmdExit").text(), "&Exit");

    // The fully branded offer lies in front of the co-brand offer, in the same place.
    const QWidget& cobrand = child<QLabel>(display, "lblCobrand");
    const QWidget& fullBrand = child<QLabel>(display, "lblFullBrand");
    EXPECT_EQ(cobrand.geometry(), fullBrand.geometry());
    const QObjectList& stack = child<QWidget>(display, "Frame5").children();
    EXPECT_GT(stack.indexOf(&fullBrand), stack.indexOf(&cobrand));
}

TEST_F(ReadingWindowTest, usesTheFontsOfTheForm) {
    frmDisplay display;
    struct Expected {
        const char* control;
        qreal points;
        bool bold;
        bool underline;
    };
    for (const Expected& e : {
             Expected{"Frame4", 9, true, true},
             Expected{"Frame6", 9, true, true},
             Expected{"lblNorthNodedesc", 8.25, true, false},
             Expected{"kkk", 9, true, true},
             Expected{"dsds", 8.25, true, true},
             Expected{"Label5", 8.25, true, true},
             Expected{"lblSouthSign", 9, true, false},
             Expected{"lblNorthKeyWord", 9, true, false},
             Expected{"txtSouthDesc", 8.25, true, false},
             Expected{"Label4", 9.75, true, true},
             Expected{"Label1", 8.25, true, false},
             Expected{"cmdBack", 8.25, true, false},
             Expected{"Picture3", 8.25, false, false},
         }) {
        const QFont font = child<QWidget>(display, e.control).font();
        EXPECT_EQ(font.family(), "Verdana") << e.control;
        EXPECT_EQ(font.pointSizeF(), e.points) << e.control;
        EXPECT_EQ(font.bold(), e.bold) << e.control;
        EXPECT_EQ(font.underline(), e.underline) << e.control;
    }
}

TEST_F(ReadingWindowTest, menusHoldTheirEntriesInOrder) {
    frmDisplay display;
    const auto entriesOf = [&display](const char* menuName) {
        QStringList found;
        for (const QAction* action : child<QMenu>(display, menuName).actions())
            found << action->objectName() + u'=' + (action->isSeparator() ? "-" : action->text());
        return found;
    };
    EXPECT_EQ(child<QMenu>(display, "mnuFile").title(), "&File");
    EXPECT_EQ(entriesOf("mnuFile"),
              (QStringList{"mnuPrint=&Print", "mnuFileBack=&Back", "mnuExit=E&xit"}));
    EXPECT_EQ(child<QMenu>(display, "mnuHelp").title(), "&Help");
    EXPECT_EQ(entriesOf("mnuHelp"),
              (QStringList{"mnuOnline=&Online Help", "mnuVisit=&Visit Us Online", "mnuFileSep1=-",
                           "mnuUpdate=&Check for Software Update", "mnuFileSep2=-",
                           "mnuAbout=&About Software"}));
    const QList<QAction*> bar = display.menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[2]->objectName(), "mkmoney");
    EXPECT_EQ(bar[2]->text(), "Make Money &Online");
    EXPECT_FALSE(bar[2]->isEnabled());
}

// Readings shown

TEST_F(ReadingWindowTest, showsEachReadingInItsControls) {
    struct Case {
        int day, month, year;
        const char *northSign, *southSign, *northKeywords, *southKeywords;
        const char *northDescription, *southDescription;
    };
    for (const Case& c : {
             Case{10, 8, 1975, "Scorpio", "Taurus", "Stubborn and Self-Reliant",
                  "Stubborn and Self-reliant", "North Node is Scorpio denotes",
                  "South Node in Taurus denotes"},
             Case{29, 3, 1952, "Aquarious", "Leo", "Domestic and Emotional",
                  "Domestic and Emotional", "North Node in Aquarius denotes",
                  "South Node in Leo denotes"},
             Case{27, 1, 1949, "Aries", "Libra", "Co-dependent and Indecisive",
                  "Co-dependency and Indecisiveness", "With your North node in Aries",
                  "With your South Node in Libra"},
             Case{15, 6, 1943, "Leo", "Aquarius", "Introvert, Shy and Timid",
                  "Introvert, Shy and Timid", "North Node in Leo indicates",
                  "South Node in Aquarius indicates"},
         }) {
        frmDisplay& display = readingFor("ANN LEE", c.day, c.month, c.year);
        const std::string date =
            std::to_string(c.day) + "/" + std::to_string(c.month) + "/" + std::to_string(c.year);
        EXPECT_EQ(textOf(display, "lblNorthSign"), c.northSign) << date;
        EXPECT_EQ(textOf(display, "lblSouthSign"), c.southSign) << date;
        EXPECT_EQ(textOf(display, "lblNorthKeyWord"), c.northKeywords) << date;
        EXPECT_EQ(textOf(display, "lblSouthKeyWord"), c.southKeywords) << date;
        EXPECT_TRUE(textOf(display, "txtNorthDesc").startsWith(c.northDescription)) << date;
        EXPECT_TRUE(textOf(display, "txtSouthDesc").startsWith(c.southDescription)) << date;
        display.cmdBack_Click();
    }
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ReadingWindowTest, showsBothPiecesOfTheLeoDescriptionsJoined) {
    frmDisplay& display = readingFor("ANN LEE", 1, 1, 1943);
    const QString north = textOf(display, "txtNorthDesc");
    const QString south = textOf(display, "txtSouthDesc");
    EXPECT_EQ(north.size(), 1195);
    EXPECT_EQ(south.size(), 1197);
    EXPECT_TRUE(north.contains("dealing with others.Never jump out"));
    EXPECT_TRUE(south.contains("ideals and fashions.You are however"));
}

TEST_F(ReadingWindowTest, theLongestKeywordLineStaysWholeAndCentredInItsPanel) {
    frmDisplay& display = readingFor("ANN LEE", 1, 6, 1972);
    ASSERT_EQ(textOf(display, "lblNorthKeyWord"), "Nostalgic, Coward, Pessimistic and Sensitive");
    expectNoClippedText(display);
    for (const char* keywords : {"lblNorthKeyWord", "lblSouthKeyWord"}) {
        const QLabel& label = child<QLabel>(display, keywords);
        const QRect panel = label.parentWidget()->rect();
        EXPECT_TRUE(panel.contains(label.geometry())) << keywords;
        EXPECT_LE(std::abs(label.geometry().center().x() - panel.center().x()), 8) << keywords;
        EXPECT_TRUE(label.alignment() & Qt::AlignHCenter) << keywords;
    }
}

TEST_F(ReadingWindowTest, aShorterKeywordLineNarrowsItsBoxAgain) {
    frmDisplay display;
    QLabel& keywords = child<QLabel>(display, "lblNorthKeyWord");
    display.setNorthKeywords("Nostalgic, Coward, Pessimistic and Sensitive");
    const int longest = keywords.width();
    display.setNorthKeywords("Generous and Kind");
    EXPECT_LT(keywords.width(), longest);

    frmDisplay fresh;
    fresh.setNorthKeywords("Generous and Kind");
    EXPECT_EQ(keywords.geometry(), child<QLabel>(fresh, "lblNorthKeyWord").geometry());
}

TEST_F(ReadingWindowTest, descriptionsCannotBeEditedButCanBeSelectedAndScrolled) {
    frmDisplay& display = readingFor("ANN LEE", 10, 8, 1975);
    for (const char* name : {"txtNorthDesc", "txtSouthDesc"}) {
        QPlainTextEdit& box = child<QPlainTextEdit>(display, name);
        const QString before = box.toPlainText();
        EXPECT_TRUE(box.isReadOnly()) << name;
        QTest::keyClicks(box.viewport(), "typed");
        QTest::keyClick(&box, Qt::Key_Delete);
        EXPECT_EQ(box.toPlainText(), before) << name;

        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(box.textCursor().selectedText(), before) << name;
        EXPECT_TRUE(box.textInteractionFlags() & Qt::TextSelectableByMouse) << name;
        EXPECT_EQ(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << name;
        EXPECT_GT(box.verticalScrollBar()->maximum(), 0) << name;
        EXPECT_FALSE(box.accessibleName().isEmpty()) << name;
    }
}

TEST_F(ReadingWindowTest, reportSourceHoldsTheReadingAsShown) {
    frmDisplay& display = readingFor(" ANN LEE ", 7, 3, 1975);
    const ReportSource source = display.reportSource();
    EXPECT_EQ(source.name, "ANN LEE");
    EXPECT_EQ(source.birthDate, "March/7/1975");
    EXPECT_EQ(source.northNodeExplanation, kNorthExplanation);
    EXPECT_EQ(source.southNodeExplanation, kSouthExplanation);
    EXPECT_EQ(source.northSign, "Sagittarius");
    EXPECT_EQ(source.southSign, "Gemini");
    EXPECT_EQ(source.northKeywords, "Stimulating and Generous");
    EXPECT_EQ(source.southKeywords, "Stimulating and Generous");
    EXPECT_EQ(source.northDescription, textOf(display, "txtNorthDesc"));
    EXPECT_EQ(source.southDescription, textOf(display, "txtSouthDesc"));
    EXPECT_TRUE(source.southDescription.startsWith("South Node in Gemini"));
}

// Back and Exit

TEST_F(ReadingWindowTest, backShowsTheMainWindowWithTheSameEntries) {
    const std::function<void(frmDisplay&)> ways[] = {
        [](frmDisplay& display) { display.findChild<QPushButton*>("cmdBack")->click(); },
        [](frmDisplay& display) { display.findChild<QAction*>("mnuFileBack")->trigger(); },
    };
    for (const auto& back : ways) {
        QPointer<frmDisplay> display = &readingFor("ANN LEE", 7, 3, 1975);
        EXPECT_FALSE(main->isVisible());
        back(*display);
        flushUnloadedWindows();
        EXPECT_TRUE(display.isNull());
        EXPECT_TRUE(main->isVisible());
        EXPECT_EQ(LoadedWindows::inLoadOrder(), QList<QWidget*>{main});
        EXPECT_EQ(child<QLineEdit>(*main, "txtName").text(), "ANN LEE");
        EXPECT_EQ(main->birthDateText(), "March/7/1975");
    }
}

TEST_F(ReadingWindowTest, aSecondReadingLeavesNothingOfTheFirst) {
    QPointer<frmDisplay> first = &readingFor("ANN LEE", 1, 6, 1972);
    first->cmdBack_Click();
    frmDisplay& second = readingFor("BOB", 10, 8, 1975);
    EXPECT_NE(&second, first.data());
    flushUnloadedWindows();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(textOf(second, "lblNorthSign"), "Scorpio");
    EXPECT_EQ(textOf(second, "lblSouthSign"), "Taurus");
    EXPECT_EQ(textOf(second, "lblNorthKeyWord"), "Stubborn and Self-Reliant");
    EXPECT_EQ(textOf(second, "lblSouthKeyWord"), "Stubborn and Self-reliant");
    EXPECT_TRUE(textOf(second, "txtNorthDesc").startsWith("North Node is Scorpio"));
    EXPECT_TRUE(textOf(second, "txtSouthDesc").startsWith("South Node in Taurus"));
    // The long keyword line of the first reading widened its box; the new one starts afresh.
    frmDisplay fresh;
    fresh.setNorthKeywords("Stubborn and Self-Reliant");
    EXPECT_EQ(child<QLabel>(second, "lblNorthKeyWord").geometry(),
              child<QLabel>(fresh, "lblNorthKeyWord").geometry());
    EXPECT_EQ(second.reportSource().name, "BOB");
}

TEST_F(ReadingWindowTest, exitButtonMenuAndCloseBoxUnloadTheHiddenMainWindowToo) {
    const std::function<void(frmDisplay&)> ways[] = {
        [](frmDisplay& display) { display.findChild<QPushButton*>("cmdExit")->click(); },
        [](frmDisplay& display) { display.findChild<QAction*>("mnuExit")->trigger(); },
        [](frmDisplay& display) { display.close(); },
    };
    for (const auto& exit : ways) {
        if (!main) {
            main = new frmMain;
            main->show();
        }
        exit(readingFor("ANN LEE", 7, 3, 1975));
        flushUnloadedWindows();
        EXPECT_TRUE(LoadedWindows::inLoadOrder().isEmpty());
        main = nullptr;
    }
}

// Keyboard and links

TEST_F(ReadingWindowTest, keyboardReachesTheTextsAndButtonsInOrder) {
    frmDisplay display;
    QStringList order;
    QWidget* widget = &child<QWidget>(display, "txtNorthDesc");
    const QWidget* first = widget;
    do {
        order << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(&display));
    } while (widget != first);
    EXPECT_EQ(order,
              (QStringList{"txtNorthDesc", "txtSouthDesc", "cmdPrint", "cmdBack", "cmdExit"}));
}

TEST_F(ReadingWindowTest, linksAndHelpEntriesOpenTheirPages) {
    frmDisplay display;
    const auto click = [&display](const char* label) {
        QTest::mouseClick(&child<QLabel>(display, label), Qt::LeftButton);
    };
    const auto choose = [&display](const char* entry) {
        child<QAction>(display, entry).trigger();
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
    for (const char* link : {"Label61", "lblCobrand", "lblFullBrand"})
        EXPECT_EQ(child<QLabel>(display, link).cursor().shape(), Qt::PointingHandCursor) << link;
}

} // namespace
