// The main and the reading window as a person uses them.
#include "format/ReadingFile.h"
#include "tests/ui/WindowFixture.h"
#include "ui/about/AboutDialog.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenuBar>

namespace {

using Message = FakePlatform::Message;
using Messages = QList<Message>;
using enum Platform::Icon;
using enum Platform::Buttons;
const Message kOnlyLetters{"Please Enter only Letters", Information, Ok};
const Message kEnterName{"Please Enter Your Name", Information, Ok};
const Message kFebruary{"Please Enter Correct Date Or Month!", Information, Ok};
const Message kThirtyDays{"Please Enter Correct Date Or Month !", Information, Ok};
const Message kCheckTheFile{"Please Check The File.", Stop, Ok};

QByteArray bytesOf(const QString& name, int day, const QString& month, int year) {
    const NodeReading reading{
        name.toStdString(), std::int16_t(year), month.toStdString(), std::int16_t(day), {}, {}};
    return QByteArray::fromStdString(formatReadingFile(reading));
}

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, typedAndPastedNamesKeepOnlyLettersInCapitals) {
    QLineEdit& name = child<QLineEdit>(*main, "nameEdit");
    QTest::keyClicks(&name, "ann 7-lee");
    EXPECT_EQ(name.text(), "ANN LEE");
    EXPECT_EQ(fake.messages, Messages(2, kOnlyLetters));

    fake.messages.clear();
    name.setCursorPosition(3);
    QApplication::clipboard()->setText("-o'neil 2");
    name.paste();
    EXPECT_EQ(name.text(), "ANNONEIL  LEE");
    EXPECT_EQ(fake.messages, Messages{kOnlyLetters});
}

TEST_F(MainWindowTest, anEntryGivesItsReadingOrTheMessageOfItsFault) {
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    child(*main, "yearCombo").setFocus();
    QTest::keyClick(&child(*main, "nameEdit"), Qt::Key_Return);
    EXPECT_EQ(fake.messages, Messages{kEnterName});
    EXPECT_EQ(QApplication::focusWidget(), &child(*main, "nameEdit"));
    // The message shown, or the signs and keywords shown and the descriptions' lengths. The
    // journey gets the readings of 29 February 1964 and 10 August 1975, and 31 April's message.
    const std::tuple<int, int, int, const Message*, QString> cases[] = {
        {29, 2, 1965, &kFebruary, ""},
        {30, 2, 2000, &kFebruary, ""},
        {31, 11, 1980, &kThirtyDays, ""},
        {29, 3, 1952, nullptr,
         "Aquarious|Leo|Domestic and Emotional|Domestic and Emotional|719|714"},
        {2, 12, 1987, nullptr,
         "Aries|Libra|Co-dependent and Indecisive|Co-dependency and Indecisiveness|963|961"},
        {3, 12, 1987, nullptr,
         "Pisces|Virgo|" + QString("Compassionate and Worried|").repeated(2) + "541|540"},
    };
    for (const auto& [day, month, year, message, texts] : cases) {
        fake.messages.clear();
        ReadingWindow* display = readingFor("ANN", day, month, year);
        EXPECT_EQ(fake.messages, message ? Messages{*message} : Messages{}) << day << '/' << month;
        ASSERT_EQ(display == nullptr, message != nullptr) << day << '/' << month << '/' << year;
        if (!display)
            continue;
        QStringList shown;
        for (const char* label :
             {"northSignLabel", "southSignLabel", "northKeywordsLabel", "southKeywordsLabel"})
            shown << textOf(*display, label);
        // The descriptions can be selected but not edited.
        for (const char* name : {"northDescriptionView", "southDescriptionView"}) {
            const auto& box = child<QPlainTextEdit>(*display, name);
            EXPECT_TRUE(box.isReadOnly() &&
                        box.textInteractionFlags() & Qt::TextSelectableByKeyboard);
            shown << QString::number(box.toPlainText().size());
        }
        EXPECT_EQ(shown.join(u'|'), texts);
        display->goBack();
    }
}

TEST_F(MainWindowTest, aFileThatIsNoGoodReadingIsRefusedAndChangesNothing) {
    const QString other = "OTHER|5|June|1990";
    const std::tuple<QString, const Message*, QString> cases[] = {
        {QString(), nullptr, other}, // the dialog cancelled
        {file("ann.NRD", bytesOf("ANN LEE", 1, "May", 1980)), &kCheckTheFile, other},
        {folder.filePath("missing.nrd"), &kCheckTheFile, other},
        {file("m.nrd", bytesOf("ANN", 1, "Smarch", 1980)), &kCheckTheFile, other},
        {file("d.nrd", bytesOf("ANN", 32, "May", 1980)), &kCheckTheFile, other},
        {file("y.nrd", bytesOf("ANN", 1, "May", 1939)), &kCheckTheFile, other},
        {file("noname.nrd", bytesOf("", 7, "March", 1975)), &kEnterName, "|7|March|1975"},
        {file("april.nrd", bytesOf("A", 31, "April", 1980)), &kThirtyDays, "A|31|April|1980"},
    };
    for (const auto& [path, message, shownEntries] : cases) {
        fake.messages.clear();
        enter("OTHER", 5, 6, 1990);
        fake.fileNames.enqueue(path);
        child<QPushButton>(*main, "openReadingButton").click();
        EXPECT_EQ(fake.messages, message ? Messages{*message} : Messages{}) << path.toStdString();
        EXPECT_EQ(entries().join(u'|'), shownEntries) << path.toStdString();
        EXPECT_EQ(shown<ReadingWindow>(), nullptr) << path.toStdString();
    }
}

TEST_F(MainWindowTest, aReadingSavedFromTheReportByEnterOpensAgainAsSaved_afterBackKeptItsEntries) {
    // A name longer than a text box takes by default.
    QList<std::tuple<QString, int, int, int>> readings{{"ANN LEE", 29, 2, 1964},
                                                       {"ANN LEE", 2, 12, 1987},
                                                       {"ANN LEE", 3, 12, 1987},
                                                       {QString(40000, u'A'), 7, 3, 1975}};
    for (int month = 1; month <= 12; ++month)
        readings.append({"MAY WEST", month == 2 ? 28 : 30, month, 1983});
    for (const auto& [name, day, month, year] : readings) {
        ReadingWindow* display = readingFor(name, day, month, year);
        const QStringList saved = entries();
        const QString sign = textOf(*display, "northSignLabel");
        const QString path = file(saved.mid(1).join(u'-') + ".nrd", "old bytes");
        // Enter presses the focused button, as Orca users press it.
        QTest::keyClick(&child(*display, "printButton"), Qt::Key_Return);
        ASSERT_NE(shown<ReportWindow>(), nullptr);
        fake.fileNames << path << path; // saved, then opened again
        QTest::keyClick(&child(*shown<ReportWindow>(), "saveButton"), Qt::Key_Enter,
                        Qt::KeypadModifier);
        shown<ReportWindow>()->close();
        QTest::keyClick(&child(*display, "backButton"), Qt::Key_Return);
        EXPECT_TRUE(main->isVisible());
        EXPECT_EQ(entries(), saved) << "Back keeps name and date";

        enter("X", 1, month == 1 ? 2 : 1, 2001);
        main->openSavedReading();
        ASSERT_NE(shown<ReadingWindow>(), nullptr) << saved.join(u' ').left(20).toStdString();
        EXPECT_EQ(textOf(*shown<ReadingWindow>(), "northSignLabel"), sign);
        child<QAction>(*shown<ReadingWindow>(), "actionBack").trigger();
        EXPECT_EQ(entries(), saved);
    }
    EXPECT_TRUE(fake.messages.isEmpty());
    // The journey finds the dialogs by their titles and lets the save dialog add the suffix.
    for (const Platform::FileDialog& dialog : {fake.fileDialogs[0], fake.fileDialogs[1]})
        EXPECT_EQ(dialog.filter, "Nodalis (*.nrd)");
}

// As a screen reader asks: every query about every object of every window, with a name that
// ends in a letter, in a space and none, and descriptions that end in a space (Scorpio's).
TEST_F(MainWindowTest, everyWindowAnswersEveryScreenReaderQueryAtOnce_andSaysWhatItsTextsAre) {
    QLineEdit& name = child<QLineEdit>(*main, "nameEdit");
    for (const char* typed : {"ANN LEE ", "", "ANN LEE"}) {
        name.setText(typed);
        expectEveryQueryAnsweredSoundly(accessibleTree(*main));
    }
    QAccessibleTextInterface& nameText =
        *QAccessible::queryAccessibleInterface(&name)->textInterface();
    int start = 0;
    int end = 0;
    QStringList words;
    for (int offset : {0, 3, 4, 7})
        words << nameText.textAtOffset(offset, QAccessible::WordBoundary, &start, &end);
    EXPECT_EQ(words, QStringList({"ANN ", "ANN ", "LEE", "LEE"}));

    ReadingWindow* display = readingFor("ANN LEE", 10, 8, 1975);
    ASSERT_TRUE(textOf(*display, "northDescriptionView").endsWith(u' '));
    display->showReport();
    showAboutWindow(display);
    QList<QAccessibleInterface*> objects;
    for (QWidget* window : QWidgetList{display, shown<ReportWindow>(), shown<AboutDialog>()}) {
        const QList<QAccessibleInterface*> tree = accessibleTree(*window);
        expectEveryQueryAnsweredSoundly(tree);
        objects << tree;
    }
    // No frame inside a window: plain frames group, and a line separates. Values are labelled
    // by their captions, and a description box named by them.
    QStringList said;
    for (QAccessibleInterface* object : objects) {
        const QAccessible::Role role = object->role();
        EXPECT_NE(role, QAccessible::Border) << object->text(QAccessible::Name).toStdString();
        QString caption;
        for (const auto& [label, relation] : object->relations(QAccessible::Label))
            if (label->role() == QAccessible::StaticText)
                caption = " < " + label->text(QAccessible::Name);
        if (object->object()->isWidgetType() &&
            (role == QAccessible::Heading || role == QAccessible::Separator ||
             role == QAccessible::EditableText || !caption.isEmpty()))
            said << QString::number(role, 16) + u' ' + object->text(QAccessible::Name) + caption;
    }
    EXPECT_EQ(said, QStringList({"414 Karmic Astrology Interpretation",
                                 "2a Your North Node Is Placed In Scorpio, Keywords Stubborn and "
                                 "Self-Reliant",
                                 "2a Your South Node Is Placed In Taurus, Keywords Stubborn and "
                                 "Self-reliant",
                                 "29 Scorpio < Your North Node Is Placed In",
                                 "29 Stubborn and Self-Reliant < Keywords",
                                 "29 Taurus < Your South Node Is Placed In",
                                 "29 Stubborn and Self-reliant < Keywords", "2a Report",
                                 "414 Nodalis v1.45", "15 "}));

    // As a window is taken down, a menu entry may be asked about after its menu is gone.
    QAccessibleInterface* entry =
        QAccessible::queryAccessibleInterface(&child<QAction>(*main, "actionGetReading"));
    delete main->menuBar();
    EXPECT_TRUE(entry->state().invalid && entry->rect().isNull() && entry->childCount() == 0);
}

// A screen reader waits for the answer to what it asks: what a press or an edit starts, a message
// included, comes after the answer.
TEST_F(MainWindowTest, aScreenReadersPressOrEditIsAnsweredBeforeTheMessageItBrings) {
    QAccessible::queryAccessibleInterface(&child<QAction>(*main, "actionGetReading"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QAccessible::queryAccessibleInterface(&child(*main, "nameEdit"))
        ->editableTextInterface()
        ->insertText(0, "7");
    EXPECT_TRUE(fake.messages.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(fake.messages, Messages({kEnterName, kOnlyLetters}));
}

} // namespace
