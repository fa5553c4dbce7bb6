#include "tests/ui/exercise/WindowExercise.h"

#include "engine/NodeIngressTable.h"
#include "engine/NodeReading.h"
#include "engine/SignCatalogue.h"
#include "format/ReadingFile.h"
#include "shell/ApplicationInfo.h"
#include "shell/LinkLabel.h"
#include "shell/LoadedWindows.h"
#include "shell/frmAbout.h"
#include "shell/modHelp.h"
#include "ui/main/frmMain.h"
#include "ui/reading/frmDisplay.h"
#include "ui/reading/frmSave.h"
#include "ui/reading/modRTB.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <functional>
#include <iostream>

namespace {

const QString kOpenDialogTitle = QStringLiteral("Select the source file");
const QString kNotSaved = QStringLiteral("The File Could Not Be Saved.");
const QString kUpdateOffer = QStringLiteral("There maybe an update to this software available\r"
                                            "Do you want to check for an update?");
// Every message the program may show while it runs; an open that shows no reading
// says one of the last four.
const QStringList kMessages{
    QStringLiteral("Please Enter only Letters"),
    kNotSaved,
    kUpdateOffer,
    QStringLiteral("Please Check The File."),
    QStringLiteral("Please Enter Your Name"),
    QStringLiteral("Please Enter Correct Date Or Month!"),
    QStringLiteral("Please Enter Correct Date Or Month !"),
};
const QStringList kOpenRefusals = kMessages.mid(3);

constexpr std::size_t kRecentStepsKept = 25;

std::filesystem::path localPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// What is at `path`, in a form that shows whether a step changed it.
QByteArray targetState(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return "folder";
    if (!info.exists())
        return "absent";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "unreadable";
    return "file:" + file.readAll();
}

QString withoutOuterSpaces(QString text) {
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

template <typename T> T* loadedWindow() {
    for (QWidget* window : LoadedWindows::inLoadOrder())
        if (auto* found = qobject_cast<T*>(window))
            return found;
    return nullptr;
}

QString describe(const QWidget* widget) {
    if (!widget)
        return QStringLiteral("nothing");
    const QString name = widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className()) +
           (name.isEmpty() ? QString() : u' ' + name);
}

// Whether `widget` is a list box or lies inside one.
QComboBox* listAround(QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (auto* list = qobject_cast<QComboBox*>(widget))
            return list;
    return nullptr;
}

bool isExit(const QObject& control) {
    const QString name = control.objectName();
    return name == QLatin1String("cmdExit") || name == QLatin1String("mnuExit");
}

struct Fixture {
    const char* fileName;
    const char* name;
    int day;
    const char* month;
    int year;
    const char* appended; // bytes after a well-formed file, or null
};

// Files that are there when the program starts, readings and not, for the open dialog to pick.
constexpr Fixture kFixtures[] = {
    {"ann.nrd", "ANN LEE", 10, "August", 1975, nullptr},
    {"spaced name.nrd", "  MARY  ANN  ", 29, "February", 1964, nullptr},
    {"zoe.nrd", "ZO\xc3\x8b O'NEIL-2", 1, "May", 1980, nullptr},
    {"noname.nrd", "", 7, "March", 1975, nullptr},
    {"april31.nrd", "ANN LEE", 31, "April", 1980, nullptr},
    {"smarch.nrd", "ANN LEE", 1, "Smarch", 1980, nullptr},
    {"year1939.nrd", "ANN LEE", 1, "May", 1939, nullptr},
    {"nul.nrd", "ANN LEE", 1, "May", 1980, "\0"},
    {"empty.nrd", nullptr, 0, nullptr, 0, nullptr},
};

const QStringList kNonsenseAnswers{
    QStringLiteral("missing folder/reading.nrd"),
    QStringLiteral("ann.nrd/reading.nrd"),
    QStringLiteral("foldernrd"),
    QStringLiteral("."),
    QStringLiteral("reading-0.nrd/"),
    QString(300, u'n') + QStringLiteral(".nrd"),
    QStringLiteral("large.nrd"),
    QStringLiteral("garbage.nrd"),
};

} // namespace

WindowExercise::WindowExercise(std::uint64_t seed)
    : m_random(seed)
    , m_seed(seed)
    , m_trace(qEnvironmentVariableIsSet("NODALIS_EXERCISE_TRACE")) {
    m_baselineTopLevels = QApplication::topLevelWidgets();
    QDir(m_files.path()).mkdir(QStringLiteral("foldernrd"));
    m_fake.printDialog = [this](QPrinter& printer, bool offerSelection) {
        if (offerSelection && chance(0.5))
            printer.setPrintRange(QPrinter::Selection);
        return answerPrintDialog(printer);
    };
}

int WindowExercise::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

bool WindowExercise::chance(double probability) {
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < probability;
}

void WindowExercise::note(const QString& action) {
    m_recentSteps.push_back(QStringLiteral("%1: %2").arg(m_stepIndex).arg(action));
    if (m_trace)
        std::cerr << m_recentSteps.back().toStdString() << std::endl;
    if (m_recentSteps.size() > kRecentStepsKept)
        m_recentSteps.pop_front();
}

void WindowExercise::fail(const QString& rule) {
    if (m_failure)
        return;
    QString text = QStringLiteral("step %1 (seed %2, program start %3): %4\nThe last steps:")
                       .arg(m_stepIndex)
                       .arg(m_seed)
                       .arg(m_tally.programStarts)
                       .arg(rule);
    for (const QString& step : m_recentSteps)
        text += QStringLiteral("\n  ") + step;
    m_failure = text;
}

std::optional<QString> WindowExercise::run(int steps) {
    scriptDialogAnswers();
    startProgram();
    while (!m_failure && m_tally.steps < steps) {
        step();
        ++m_tally.steps;
    }
    if (!m_failure)
        endProgram();
    if (!m_failure)
        checkFolderHoldsOnlyOurFiles();
    return m_failure;
}

void WindowExercise::startProgram() {
    // Days pass between two runs, or the clock is set back a little.
    m_fake.todayDate = m_fake.todayDate.addDays(uniform(-3, 25));
    m_fake.randomDraws.clear();
    m_fake.randomDraws.enqueue(std::uniform_real_distribution<double>(0.0, 1.0)(m_random));
    const QDir folder(m_files.path());
    for (const Fixture& fixture : kFixtures) {
        QFile file(folder.filePath(QString::fromLatin1(fixture.fileName)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            fail(QStringLiteral("cannot write %1").arg(file.fileName()));
            return;
        }
        if (!fixture.name)
            continue;
        NodeReading reading;
        reading.name = fixture.name;
        reading.day = static_cast<std::int16_t>(fixture.day);
        reading.monthName = fixture.month;
        reading.year = static_cast<std::int16_t>(fixture.year);
        file.write(QByteArray::fromStdString(formatReadingFile(reading)));
        if (fixture.appended)
            file.write(fixture.appended, 1);
    }
    QFile large(folder.filePath(QStringLiteral("large.nrd")));
    if (large.open(QIODevice::WriteOnly | QIODevice::Truncate))
        large.write(QByteArray(static_cast<qsizetype>(kMaxReadingFileSize) + 1, 'A'));
    QByteArray garbage;
    for (int i = uniform(1, 200); i > 0; --i)
        garbage += static_cast<char>(uniform(1, 255));
    QFile garbageFile(folder.filePath(QStringLiteral("garbage.nrd")));
    if (garbageFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        garbageFile.write(garbage);

    forgetWhatThePlatformSaw();
    const Platform::Answer answer =
        m_fake.answers.isEmpty() ? Platform::Answer::No : m_fake.answers.head();
    note(QStringLiteral("start the program on %1").arg(m_fake.todayDate.toString(Qt::ISODate)));
    m_lock.emplace();
    if (!StartApplication(*m_lock)) {
        fail(QStringLiteral("the program did not start: ") + m_fake.messageTexts().join(u'|'));
        return;
    }
    ++m_tally.programStarts;
    settle();

    const QStringList shown = m_fake.messageTexts();
    if (shown.size() > 1 || (shown.size() == 1 && shown.first() != kUpdateOffer))
        fail(QStringLiteral("starting showed ") + shown.join(u'|'));
    const QList<QUrl>& opened = m_fake.openedUrls;
    const bool checksForUpdate = shown.size() == 1 && answer == Platform::Answer::Yes;
    if (opened != (checksForUpdate ? QList<QUrl>{pageAddress(QStringLiteral("download-web-page"))}
                                   : QList<QUrl>{}))
        fail(QStringLiteral("the update offer opened %1 page(s)").arg(opened.size()));
    m_tally.updateOffers += static_cast<int>(shown.size());
    m_tally.pagesOpened += static_cast<int>(opened.size());
    checkWindows();
}

void WindowExercise::endProgram() {
    note(QStringLiteral("the session ends"));
    ShutDownApplication();
    settle();
    if (m_fake.processEnds != m_seenProcessEnds + 1)
        fail(QStringLiteral("ending the session ended the program %1 times")
                 .arg(m_fake.processEnds - m_seenProcessEnds));
    checkNothingLoaded("after the session ended");
    m_lock.reset();
}

void WindowExercise::scriptDialogAnswers() {
    m_fileAnswer = answerForFileDialog();
    m_targetBefore = m_fileAnswer.isEmpty() ? QByteArray() : targetState(m_fileAnswer);
    m_fake.fileNames.clear();
    m_fake.fileNames.enqueue(m_fileAnswer);
    m_fake.answers.clear();
    for (int i = 0; i < 3; ++i)
        m_fake.answers.enqueue(chance(0.5) ? Platform::Answer::Yes : Platform::Answer::No);
}

QString WindowExercise::answerForFileDialog() {
    const QDir folder(m_files.path());
    switch (uniform(0, 9)) {
    case 0:
    case 1:
        return {}; // cancelled
    case 2:
    case 3:
    case 4:
        // A small pool, so that later saves replace earlier ones and opens find them.
        return folder.filePath(QStringLiteral("reading-%1.nrd").arg(uniform(0, 9)));
    case 5:
        return folder.filePath(QString::fromLatin1(
            kFixtures[uniform(0, static_cast<int>(std::size(kFixtures)) - 1)].fileName));
    case 6:
        return folder.filePath(QStringLiteral("without extension %1").arg(uniform(0, 2)));
    case 7:
        return folder.filePath(QStringLiteral("Zo\u00eb \u2713 reading.nrd"));
    default:
        return folder.filePath(
            kNonsenseAnswers[uniform(0, static_cast<int>(kNonsenseAnswers.size()) - 1)]);
    }
}

bool WindowExercise::answerPrintDialog(QPrinter& printer) {
    if (chance(0.6))
        return false;
    const QString pdf =
        QDir(m_files.path()).filePath(QStringLiteral("print-%1.pdf").arg(m_pdfsPrinted.size()));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    m_pdfsPrinted.append(pdf);
    return true;
}

QWidget* WindowExercise::frontWindow() const {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    for (QWidget* window : LoadedWindows::inLoadOrder())
        if (window->isVisible())
            return window;
    return nullptr;
}

void WindowExercise::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A window deleted above may have posted the deletion of another.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowExercise::step() {
    scriptDialogAnswers();
    forgetWhatThePlatformSaw();
    QWidget* front = frontWindow();
    if (!front) {
        fail(QStringLiteral("no window takes the user's input while the program runs"));
        return;
    }
    ++m_stepIndex;
    // As a window manager does, the window in front takes the keyboard when the one above
    // it has gone.
    if (front != QApplication::activePopupWidget() && !front->isActiveWindow()) {
        front->activateWindow();
        QCoreApplication::processEvents();
    }
    if (front == QApplication::activePopupWidget())
        actOnPopup(*front);
    else
        actOn(*front);
    settle();

    checkAfterStep();
    if (m_fake.processEnds == m_seenProcessEnds) {
        checkWindows();
        return;
    }
    if (m_fake.processEnds != m_seenProcessEnds + 1)
        fail(QStringLiteral("one step ended the program %1 times")
                 .arg(m_fake.processEnds - m_seenProcessEnds));
    m_seenProcessEnds = m_fake.processEnds;
    checkNothingLoaded("after the program ended");
    m_lock.reset();
    if (!m_failure)
        startProgram();
}

void WindowExercise::actOn(QWidget& window) {
    struct Choice {
        int weight;
        std::function<void()> act;
    };
    const auto choose = [this](std::initializer_list<Choice> choices) {
        int total = 0;
        for (const Choice& choice : choices)
            total += choice.weight;
        int roll = uniform(0, total - 1);
        for (const Choice& choice : choices) {
            if (roll < choice.weight) {
                choice.act();
                return;
            }
            roll -= choice.weight;
        }
    };
    const auto on = [this, &window](void (WindowExercise::*action)(QWidget&)) {
        return [this, &window, action] {
            (this->*action)(window);
        };
    };
    using E = WindowExercise;
    if (qobject_cast<frmMain*>(&window)) {
        choose({{20, on(&E::typeInName)},
                {15, on(&E::chooseDate)},
                {15, on(&E::clickControl)},
                {10, on(&E::clickAnywhere)},
                {10, on(&E::chooseMenuEntry)},
                {8, on(&E::pressKey)},
                {3, on(&E::pasteIntoName)},
                {1, on(&E::closeBox)}});
    } else if (qobject_cast<frmDisplay*>(&window)) {
        choose({{25, on(&E::clickControl)},
                {15, on(&E::chooseMenuEntry)},
                {15, on(&E::clickAnywhere)},
                {10, on(&E::pressKey)},
                {1, on(&E::closeBox)}});
    } else if (qobject_cast<frmSave*>(&window)) {
        choose({{30, on(&E::clickControl)},
                {20, on(&E::clickAnywhere)},
                {10, on(&E::selectReportText)},
                {10, on(&E::pressKey)},
                {5, on(&E::closeBox)}});
    } else if (qobject_cast<frmAbout*>(&window)) {
        choose({{30, on(&E::clickControl)},
                {10, on(&E::clickAnywhere)},
                {10, on(&E::pressKey)},
                {5, on(&E::closeBox)}});
    } else {
        fail(QStringLiteral("an unknown window takes the input: ") + describe(&window));
    }
}

void WindowExercise::actOnPopup(QWidget& popup) {
    if (auto* menu = qobject_cast<QMenu*>(&popup); menu && chance(0.5)) {
        // Separators and disabled entries are clicked as well: they do nothing.
        const QList<QAction*> entries = menu->actions();
        QAction* entry = entries[uniform(0, static_cast<int>(entries.size()) - 1)];
        note(QStringLiteral("click %1 in the open menu %2")
                 .arg(entry->objectName(), describe(menu)));
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(entry).center());
        return;
    }
    static const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Down,   Qt::Key_Down,
                                   Qt::Key_Up,     Qt::Key_Return, Qt::Key_Return};
    const Qt::Key key = keys[uniform(0, static_cast<int>(std::size(keys)) - 1)];
    QWidget* target = popup.focusWidget() ? popup.focusWidget() : &popup;
    note(QStringLiteral("key %1 in the popup %2")
             .arg(QKeySequence(key).toString(), describe(&popup)));
    QTest::keyClick(target, key);
}

void WindowExercise::click(QWidget& window, QPoint pointInWindow, bool twice) {
    QWidget* target = window.childAt(pointInWindow);
    if (!target)
        target = &window;
    QComboBox* list = listAround(target);
    if (list && chance(0.7)) {
        // Its drop-down list opens and the user picks from it at once.
        const int item = uniform(0, list->count() - 1);
        note(QStringLiteral("pick item %1 of %2").arg(item).arg(list->objectName()));
        list->setCurrentIndex(item);
        return;
    }
    const QPoint local = target->mapFrom(&window, pointInWindow);
    note(QStringLiteral("%1 %2 at (%3,%4) of %5")
             .arg(twice ? QStringLiteral("double-click") : QStringLiteral("click"))
             .arg(describe(target))
             .arg(local.x())
             .arg(local.y())
             .arg(describe(&window)));
    const QPointer<QWidget> clicked = target;
    const QPointer<QWidget> clickedWindow = &window;
    const auto dialogsShown = [this] {
        return m_fake.messages.size() + m_fake.fileDialogs.size() + m_fake.printDialogs;
    };
    const qsizetype dialogsBefore = dialogsShown();
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
    // The second press of a double click comes as a double-click event. It reaches the
    // widget only if the first click left it in front: not if that opened a dialog or a
    // window over it, or closed its window.
    if (twice && clicked && clicked->isVisible() && clickedWindow &&
        frontWindow() == clickedWindow && dialogsShown() == dialogsBefore) {
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local);
        if (clicked)
            QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, local);
    }
}

void WindowExercise::clickControl(QWidget& window) {
    QList<QWidget*> controls;
    QList<int> weights;
    const auto offer = [&](QWidget* control) {
        if (!control->isVisibleTo(&window) || !control->isEnabled())
            return;
        controls.append(control);
        weights.append(isExit(*control) ? 1 : 3);
    };
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        offer(button);
    for (LinkLabel* link : window.findChildren<LinkLabel*>())
        offer(link);
    int total = 0;
    for (const int weight : weights)
        total += weight;
    if (total == 0) {
        fail(describe(&window) + QStringLiteral(" has nothing to click"));
        return;
    }
    int roll = uniform(0, total - 1);
    qsizetype chosen = 0;
    while (roll >= weights[chosen])
        roll -= weights[chosen++];
    QWidget* control = controls[chosen];
    // The click lands on whatever is on top at the control's centre.
    click(window, control->mapTo(&window, control->rect().center()), false);
}

void WindowExercise::clickAnywhere(QWidget& window) {
    const QPoint point(uniform(0, window.width() - 1), uniform(0, window.height() - 1));
    click(window, point, chance(0.15));
}

void WindowExercise::chooseMenuEntry(QWidget& window) {
    auto* bar = window.findChild<QMenuBar*>();
    if (!bar) {
        fail(describe(&window) + QStringLiteral(" has no menu bar"));
        return;
    }
    if (chance(0.5)) {
        // The menu opens under its title; the following steps act on it.
        const QList<QAction*> titles = bar->actions();
        QAction* title = titles[uniform(0, static_cast<int>(titles.size()) - 1)];
        click(window, bar->mapTo(&window, bar->actionGeometry(title).center()), false);
        return;
    }
    // The entry is chosen at once, as with its access keys.
    QList<QAction*> entries;
    const auto offer = [&entries](QAction* entry) {
        if (entry->isSeparator() || !entry->isEnabled() || !entry->isVisible())
            return;
        // Each entry but Exit is offered three times.
        for (int i = isExit(*entry) ? 1 : 3; i > 0; --i)
            entries.append(entry);
    };
    for (QAction* top : bar->actions()) {
        if (QMenu* menu = top->menu())
            for (QAction* entry : menu->actions())
                offer(entry);
        else
            offer(top);
    }
    QAction* entry = entries[uniform(0, static_cast<int>(entries.size()) - 1)];
    note(QStringLiteral("menu entry %1 of %2").arg(entry->objectName(), describe(&window)));
    entry->trigger();
}

void WindowExercise::typeInName(QWidget& mainWindow) {
    auto* name = mainWindow.findChild<QLineEdit*>(QStringLiteral("txtName"));
    QString typed;
    for (int keys = uniform(1, 6); keys > 0; --keys) {
        const int kind = uniform(0, 99);
        if (kind < 70) {
            const char letter = static_cast<char>(uniform(0, 25) + (chance(0.7) ? 'a' : 'A'));
            typed += QLatin1Char(letter);
            QTest::keyClick(name, letter);
        } else if (kind < 78) {
            typed += u' ';
            QTest::keyClick(name, ' ');
        } else if (kind < 86) {
            typed += QStringLiteral("<bs>");
            QTest::keyClick(name, Qt::Key_Backspace);
        } else if (kind < 94) {
            static const char others[] = "0123456789-'.,!?@";
            const char other = others[uniform(0, static_cast<int>(sizeof others) - 2)];
            typed += QLatin1Char(other);
            QTest::keyClick(name, other);
        } else if (kind < 96) {
            typed += QStringLiteral("<ctrl+v>");
            QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        } else if (kind < 98) {
            typed += QStringLiteral("<home>");
            QTest::keyClick(name, chance(0.5) ? Qt::Key_Home : Qt::Key_End);
        } else {
            typed += QStringLiteral("\u00e9");
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier,
                            QStringLiteral("\u00e9"));
            QCoreApplication::sendEvent(name, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Eacute, Qt::NoModifier,
                              QStringLiteral("\u00e9"));
            QCoreApplication::sendEvent(name, &release);
        }
    }
    note(QStringLiteral("type \"%1\" in the name").arg(typed));
}

void WindowExercise::chooseDate(QWidget& mainWindow) {
    const auto list = [&mainWindow](const char* name) {
        return mainWindow.findChild<QComboBox*>(QString::fromLatin1(name));
    };
    const auto choose = [&list](int day, int month, int year) {
        list("cboDate")->setCurrentIndex(day - 1);
        list("cboMonth")->setCurrentIndex(month - 1);
        list("cboYear")->setCurrentIndex(year - kFirstTableYear);
    };
    if (chance(0.3)) {
        // A day at an ingress of the node, or either side of it, where a sign is easiest
        // to get wrong.
        const auto table = nodeIngressTable();
        const IngressDate ingress =
            table[static_cast<std::size_t>(uniform(1, static_cast<int>(table.size()) - 1))].entry;
        const QDate date = QDate(ingress.year, ingress.month, ingress.day).addDays(uniform(-1, 1));
        if (date.year() >= kFirstTableYear && date.year() <= kLastTableYear)
            choose(date.day(), date.month(), date.year());
    } else {
        // Mostly days every month has, so that many choices give a reading.
        const int day = chance(0.8) ? uniform(1, 28) : uniform(29, 31);
        const int month = uniform(1, 12);
        const int year = uniform(kFirstTableYear, kLastTableYear);
        switch (uniform(0, 3)) {
        case 0:
            list("cboDate")->setCurrentIndex(day - 1);
            break;
        case 1:
            list("cboMonth")->setCurrentIndex(month - 1);
            break;
        case 2:
            list("cboYear")->setCurrentIndex(year - kFirstTableYear);
            break;
        default:
            choose(day, month, year);
        }
    }
    note(QStringLiteral("choose the date %1")
             .arg(qobject_cast<frmMain*>(&mainWindow)->birthDateText()));
}

void WindowExercise::pasteIntoName(QWidget& mainWindow) {
    static const QStringList clips{
        QStringLiteral("mary ann"),
        QStringLiteral("O'Neil-2"),
        QStringLiteral("zo\u00eb"),
        QStringLiteral("  spaced  "),
        QStringLiteral("JOHN\tSMITH"),
        QStringLiteral("\u5c71\u7530"),
        QString(300, u'x'),
        QString(),
    };
    const QString clip = clips[uniform(0, static_cast<int>(clips.size()) - 1)];
    auto* name = mainWindow.findChild<QLineEdit*>(QStringLiteral("txtName"));
    if (chance(0.3))
        name->selectAll();
    note(QStringLiteral("paste \"%1\" into the name").arg(clip.left(20)));
    QApplication::clipboard()->setText(clip);
    name->paste();
}

void WindowExercise::pressKey(QWidget& window) {
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    static const Key keys[] = {
        {Qt::Key_Tab, Qt::NoModifier},      {Qt::Key_Tab, Qt::ShiftModifier},
        {Qt::Key_Space, Qt::NoModifier},    {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Escape, Qt::NoModifier},   {Qt::Key_Up, Qt::NoModifier},
        {Qt::Key_Down, Qt::NoModifier},     {Qt::Key_Home, Qt::NoModifier},
        {Qt::Key_End, Qt::ControlModifier}, {Qt::Key_PageDown, Qt::NoModifier},
        {Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_C, Qt::ControlModifier},   {Qt::Key_M, Qt::NoModifier},
        {Qt::Key_7, Qt::NoModifier},
    };
    // Access keys of buttons and menus, and one that belongs to none. They are rarer: a
    // button's access key clicks it only after showing it pressed for a tenth of a second.
    static const Key accessKeys[] = {
        {Qt::Key_K, Qt::AltModifier}, {Qt::Key_E, Qt::AltModifier}, {Qt::Key_B, Qt::AltModifier},
        {Qt::Key_P, Qt::AltModifier}, {Qt::Key_S, Qt::AltModifier}, {Qt::Key_O, Qt::AltModifier},
        {Qt::Key_F, Qt::AltModifier}, {Qt::Key_H, Qt::AltModifier}, {Qt::Key_Z, Qt::AltModifier},
    };
    const Key& key = chance(0.05)
                         ? accessKeys[uniform(0, static_cast<int>(std::size(accessKeys)) - 1)]
                         : keys[uniform(0, static_cast<int>(std::size(keys)) - 1)];
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    note(QStringLiteral("key %1 on %2 of %3")
             .arg(QKeySequence(QKeyCombination(key.modifiers, key.key)).toString(),
                  describe(target), describe(&window)));
    QList<QPointer<QAbstractButton>> buttons;
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        buttons.append(button);
    QTest::keyClick(target, key.key, key.modifiers);
    // Wait for the click that the access key started, so that it happens in this step.
    for (const QPointer<QAbstractButton>& button : buttons)
        if (button && button->isDown() &&
            !QTest::qWaitFor([&button] { return !button || !button->isDown(); }))
            fail(describe(button) + QStringLiteral(" stays pressed"));
}

void WindowExercise::selectReportText(QWidget& reportWindow) {
    auto* box = reportWindow.findChild<QTextEdit*>(QStringLiteral("RTB"));
    QWidget* viewport = box->viewport();
    switch (uniform(0, 2)) {
    case 0:
        note(QStringLiteral("select the whole report"));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        break;
    case 1: {
        const QPoint from(uniform(0, viewport->width() - 1), uniform(0, viewport->height() - 1));
        const QPoint to(uniform(0, viewport->width() - 1), uniform(0, viewport->height() - 1));
        note(QStringLiteral("drag over the report from (%1,%2) to (%3,%4)")
                 .arg(from.x())
                 .arg(from.y())
                 .arg(to.x())
                 .arg(to.y()));
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
        break;
    }
    default: {
        // The site's address heads the report; the user clicks on it.
        const qsizetype at = box->toPlainText().indexOf(siteAddress());
        QTextCursor cursor(box->document());
        cursor.setPosition(static_cast<int>(at < 0 ? 0 : at) + 3);
        const QPoint point = box->cursorRect(cursor).center();
        note(QStringLiteral("click on the site address in the report"));
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, point);
        break;
    }
    }
}

void WindowExercise::closeBox(QWidget& window) {
    note(QStringLiteral("close box of ") + describe(&window));
    window.close();
}

void WindowExercise::forgetWhatThePlatformSaw() {
    m_fake.messages.clear();
    m_fake.fileDialogs.clear();
    m_fake.openedUrls.clear();
}

void WindowExercise::checkAfterStep() {
    const QStringList shown = m_fake.messageTexts();
    m_tally.messages += static_cast<int>(shown.size());
    for (const QString& text : shown)
        if (!kMessages.contains(text) || text == kUpdateOffer)
            fail(QStringLiteral("the step showed the message \"%1\"").arg(text));

    for (const QUrl& url : m_fake.openedUrls) {
        ++m_tally.pagesOpened;
        if (!url.toString().startsWith(siteAddress()))
            fail(QStringLiteral("a page outside the site opened: ") + url.toString());
    }

    const QList<Platform::FileDialog>& dialogs = m_fake.fileDialogs;
    if (dialogs.size() > 1)
        fail(QStringLiteral("one step asked for %1 files").arg(dialogs.size()));
    else if (dialogs.size() == 1)
        checkFileDialog(dialogs.first(), shown);

    for (const QString& pdf : m_pdfsPrinted) {
        QFile file(pdf);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (!bytes.startsWith("%PDF-") || !bytes.right(32).contains("%%EOF")) {
            fail(QStringLiteral("printing to %1 left no whole PDF file").arg(pdf));
            continue;
        }
        ++m_tally.printedToPdf;
        file.remove();
    }
    m_pdfsPrinted.clear();
}

void WindowExercise::checkFileDialog(const Platform::FileDialog& dialog,
                                     const QStringList& newMessages) {
    const QString& path = m_fileAnswer;
    if (path.isEmpty()) {
        ++m_tally.dialogsCancelled;
        if (!newMessages.isEmpty())
            fail(QStringLiteral("cancelling a file dialog showed ") + newMessages.join(u'|'));
        return;
    }
    const NodeReading& reading = currentReading();
    if (dialog.title == kOpenDialogTitle) {
        auto* display = loadedWindow<frmDisplay>();
        if (!display) {
            ++m_tally.opensRefused;
            if (newMessages.size() != 1 || !kOpenRefusals.contains(newMessages.first()))
                fail(QStringLiteral("opening %1 showed no reading and said %2")
                         .arg(path, newMessages.join(u'|')));
            return;
        }
        ++m_tally.opensShown;
        const ReadingFileContents file = ReadReadingFile(localPath(path));
        const QString savedName = QString::fromStdString(file.lines.name);
        if (file.status != ReadStatus::Read ||
            QString::fromStdString(reading.name) != withoutOuterSpaces(savedName) ||
            file.lines.day != std::to_string(reading.day) ||
            file.lines.monthName != reading.monthName ||
            file.lines.year != std::to_string(reading.year))
            fail(QStringLiteral("opening %1 shows a reading other than the file's").arg(path));
        return;
    }

    if (newMessages.contains(kNotSaved)) {
        ++m_tally.savesRefused;
        if (targetState(path) != m_targetBefore)
            fail(QStringLiteral("a save that failed changed %1").arg(path));
        checkFolderHoldsOnlyOurFiles();
        return;
    }
    ++m_tally.savesWritten;
    const ReadingFileContents file = ReadReadingFile(localPath(path));
    if (file.status != ReadStatus::Read ||
        file.lines != interpretReadingFile(formatReadingFile(reading)).lines)
        fail(QStringLiteral("a save reported as done left %1 without the reading").arg(path));
}

void WindowExercise::checkWindows() {
    frmMain* mainWindow = nullptr;
    frmDisplay* display = nullptr;
    int mains = 0, displays = 0, reports = 0, abouts = 0;
    const QList<QWidget*> loaded = LoadedWindows::inLoadOrder();
    for (QWidget* window : loaded) {
        if (auto* found = qobject_cast<frmMain*>(window)) {
            mainWindow = found;
            ++mains;
        } else if (auto* shown = qobject_cast<frmDisplay*>(window)) {
            display = shown;
            ++displays;
        } else if (qobject_cast<frmSave*>(window) || qobject_cast<frmAbout*>(window)) {
            ++(qobject_cast<frmSave*>(window) ? reports : abouts);
            if (!window->isVisible())
                fail(describe(window) + QStringLiteral(" stays loaded while hidden"));
            if (window != QApplication::activeModalWidget())
                fail(describe(window) + QStringLiteral(" is shown but not the modal window"));
        } else {
            fail(QStringLiteral("an unknown window is loaded: ") + describe(window));
        }
    }
    if (mains != 1 || displays > 1 || reports > 1 || abouts > 1 || reports + abouts > 1)
        fail(QStringLiteral("loaded: %1 main, %2 reading, %3 report and %4 About windows")
                 .arg(mains)
                 .arg(displays)
                 .arg(reports)
                 .arg(abouts));
    if (!mainWindow)
        return;
    if (display && !display->isVisible())
        fail(QStringLiteral("the reading window stays loaded while hidden"));
    if (mainWindow->isVisible() == (display != nullptr))
        fail(display ? QStringLiteral("the main window shows beside the reading window")
                     : QStringLiteral("the main window is hidden with no reading window"));
    if (reports > 0 && !display)
        fail(QStringLiteral("a report window without a reading window"));
    const auto count = [](QWidget* window, QPointer<QWidget>& last, int& tally) {
        if (window && window != last)
            ++tally;
        last = window;
    };
    count(display, m_lastDisplay, m_tally.readingsShown);
    count(loadedWindow<frmSave>(), m_lastReport, m_tally.reportsShown);
    count(loadedWindow<frmAbout>(), m_lastAbout, m_tally.aboutsShown);

    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        if (m_baselineTopLevels.contains(topLevel))
            continue;
        const bool form = qobject_cast<frmMain*>(topLevel) || qobject_cast<frmDisplay*>(topLevel) ||
                          qobject_cast<frmSave*>(topLevel) || qobject_cast<frmAbout*>(topLevel);
        if (form && !loaded.contains(topLevel))
            fail(describe(topLevel) + QStringLiteral(" is not registered as loaded"));
        QWidget* owner = topLevel;
        while (owner && !loaded.contains(owner))
            owner = owner->parentWidget();
        if (!owner)
            fail(QStringLiteral("a window that no loaded window owns: ") + describe(topLevel));
    }

    if (display)
        checkReading(*mainWindow, *display);
    auto* report = loadedWindow<frmSave>();
    if (report)
        checkReport(*mainWindow, *report);
    // The report's link handling lives and dies with its window.
    const ReportLinkState& links = reportLinkState();
    if (links.window != report || (report && (!links.filter || !links.box)) ||
        (!report && (links.filter || links.box)))
        fail(QStringLiteral("the report's link handling does not follow its window"));
}

void WindowExercise::checkReading(QWidget& mainWindow, QWidget& readingWindow) {
    const auto list = [&mainWindow](const char* name) {
        return mainWindow.findChild<QComboBox*>(QString::fromLatin1(name));
    };
    const std::optional<std::string_view> north =
        northNodeSignAt(list("cboYear")->currentText().toDouble(),
                        static_cast<std::int16_t>(list("cboMonth")->currentIndex()),
                        static_cast<std::int16_t>(list("cboDate")->currentIndex()));
    const SignCatalogueEntry* entry = north ? findSignCatalogueEntry(*north) : nullptr;
    if (!entry) {
        fail(QStringLiteral("a reading is shown for %1, which has no sign")
                 .arg(qobject_cast<frmMain*>(&mainWindow)->birthDateText()));
        return;
    }
    const ReportSource shown = qobject_cast<frmDisplay*>(&readingWindow)->reportSource();
    const auto text = [](std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    };
    if (shown.northSign != text(entry->northSign) || shown.southSign != text(entry->southSign) ||
        shown.northKeywords != text(entry->northKeywords) ||
        shown.southKeywords != text(entry->southKeywords))
        fail(QStringLiteral("the reading window shows %1/%2 for %3, whose North Node is in %4")
                 .arg(shown.northSign, shown.southSign,
                      qobject_cast<frmMain*>(&mainWindow)->birthDateText(), text(*north)));
    const QString typedName = mainWindow.findChild<QLineEdit*>(QStringLiteral("txtName"))->text();
    if (QString::fromStdString(currentReading().name) != withoutOuterSpaces(typedName))
        fail(QStringLiteral("the reading is for \"%1\" but the name entered is \"%2\"")
                 .arg(QString::fromStdString(currentReading().name), typedName));
    if (currentReading().northSign != entry->northSign)
        fail(QStringLiteral("the current reading's sign is not the one shown"));
}

void WindowExercise::checkReport(QWidget& mainWindow, QWidget& report) {
    const QString text = report.findChild<QTextEdit*>(QStringLiteral("RTB"))->toPlainText();
    const QString nameLine =
        QStringLiteral("Name :- ") + QString::fromStdString(currentReading().name) + u'\n';
    const QString dateLine = QStringLiteral("Date Of Birth :- ") +
                             qobject_cast<frmMain*>(&mainWindow)->birthDateText() + u'\n';
    if (!text.contains(nameLine) || !text.contains(dateLine))
        fail(QStringLiteral("the report lacks \"%1\" or \"%2\"")
                 .arg(nameLine.trimmed(), dateLine.trimmed()));
}

void WindowExercise::checkNothingLoaded(const char* when) {
    QStringList left;
    for (QWidget* window : LoadedWindows::inLoadOrder())
        left << describe(window);
    for (QWidget* topLevel : QApplication::topLevelWidgets())
        if (!m_baselineTopLevels.contains(topLevel))
            left << describe(topLevel);
    if (!left.isEmpty())
        fail(QStringLiteral("%1 these windows are left: %2")
                 .arg(QString::fromLatin1(when), left.join(QStringLiteral(", "))));
}

void WindowExercise::checkFolderHoldsOnlyOurFiles() {
    const QDir folder(m_files.path());
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ours = entry.startsWith(QStringLiteral("reading-")) ||
                    entry.startsWith(QStringLiteral("without extension ")) ||
                    entry.startsWith(QStringLiteral("Zo\u00eb ")) ||
                    entry == QLatin1String("large.nrd") || entry == QLatin1String("garbage.nrd") ||
                    entry == QLatin1String("foldernrd");
        for (const Fixture& fixture : kFixtures)
            ours = ours || entry == QLatin1String(fixture.fileName);
        if (!ours)
            fail(QStringLiteral("a save left %1 in the folder").arg(entry));
    }
}
