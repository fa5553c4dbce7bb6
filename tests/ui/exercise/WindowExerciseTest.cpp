#include "engine/NodeIngressTable.h"
#include "shell/Application.h"
#include "shell/modHelp.h"
#include "tests/ui/WindowFixture.h"

#include <QApplication>
#include <QPrinter>
#include <algorithm>
#include <optional>
#include <random>

namespace {

// Drives the program's windows in this process at random from one seed, acting only on the window
// in front as a person can, with every dialog answered from a script. After every step the loaded
// windows must be in order; when the program ends nothing may be left, and it starts again.
// NODALIS_EXERCISE_SEED replays a run and NODALIS_EXERCISE_STEPS sets its length.
class WindowExercise : public ::testing::Test {
protected:
    void SetUp() override {
        qInfo("Window exercise seed %llu (NODALIS_EXERCISE_SEED)", seed);
        // Saves take one of the first five answers, the first being a cancel; opens take any.
        for (const char* name : {"", "a.nrd", "b.nrd", "c.nrd", "missing/d.nrd", "x.nrd", "x.txt"})
            paths << (*name ? QDir(folder.path()).filePath(QString::fromLatin1(name)) : QString());
        for (const QString& bad : paths.sliced(5)) // empty, so without a reading
            ASSERT_TRUE(QFile(bad).open(QIODevice::WriteOnly));
        fake.printDialog = [this](QPrinter& printer, bool) { // a PDF file, by its name
            printer.setOutputFileName(QDir(folder.path()).filePath(QStringLiteral("report.pdf")));
            return printAnswer;
        };
    }

    int uniform(int low, int high) { return std::uniform_int_distribution(low, high)(random); }
    template <typename T> T pick(const QList<T>& items) {
        return items.at(uniform(0, static_cast<int>(items.size()) - 1));
    }

    void expect(bool kept, const char* rule) {
        if (!kept && !HasFailure())
            ADD_FAILURE() << "Step " << steps << ": " << rule << "\nNODALIS_EXERCISE_SEED=" << seed
                          << " replays it:\n" + recentSteps.join(u'\n').toStdString();
    }

    void start() {
        fake.todayDate = fake.todayDate.addDays(uniform(0, 20)); // now and then an update is due
        fake.answers.enqueue(uniform(0, 1) ? Platform::Answer::Yes : Platform::Answer::No);
        fake.randomDraws.enqueue(std::uniform_real_distribution<double>()(random));
        lock.emplace("nodalis-exercise-" + QByteArray::number(QCoreApplication::applicationPid()));
        expect(StartApplication(*lock), "the program starts again once it has ended");
    }

    void step() {
        ++steps;
        const QList<QWidget*> loaded = LoadedWindows::inLoadOrder();
        QWidget* front = QApplication::activeModalWidget();
        front = front ? front : *std::ranges::find_if(loaded, &QWidget::isVisible);
        const QString file = paths[uniform(0, qobject_cast<frmSave*>(front) ? 4 : 6)];
        fake.fileNames.clear();
        fake.fileNames.enqueue(file);
        printAnswer = uniform(0, 1);
        const QString action = act(*front);
        recentSteps << QStringLiteral("%1 %2: %3 (file \"%4\", print %5)")
                           .arg(QString::number(steps),
                                QLatin1String(front->metaObject()->className()), action,
                                QFileInfo(file).fileName(), printAnswer ? "OK" : "Cancel");
        if (recentSteps.size() > 20)
            recentSteps.removeFirst();
        QCoreApplication::processEvents(); // as between two actions of a person
        flushUnloads();
        if (fake.processEnds == ends)
            return checkWindows();
        checkEnded();
        start();
    }

    // One action of a person on the window in front; returns what it was.
    QString act(QWidget& window) {
        auto* name = window.findChild<QLineEdit*>(QStringLiteral("txtName"));
        const int roll = uniform(name ? 0 : 35, 99);
        if (roll < 15) { // half of the days at a change of sign or either side, where slips show
            int day = uniform(1, 31), month = uniform(1, 12), year = uniform(1940, 2009);
            if (uniform(0, 1)) {
                const auto table = nodeIngressTable(); // from its second row: no day before 1940
                const IngressDate at =
                    pick(QList<NodeIngress>(table.begin() + 1, table.end())).entry;
                const QDate near = QDate(at.year, at.month, at.day).addDays(uniform(-1, 1));
                near.getDate(&year, &month, &day);
            }
            child<QComboBox>(window, "cboDate").setCurrentIndex(day - 1);
            child<QComboBox>(window, "cboMonth").setCurrentIndex(month - 1);
            child<QComboBox>(window, "cboYear").setCurrentIndex(year - kFirstTableYear);
            return QStringLiteral("choose %1/%2/%3").arg(month).arg(day).arg(year);
        }
        if (roll < 50) { // in the name a digit, a dash or Ctrl+V brings a message
            if (roll < 35)
                name->setFocus(); // a click into it first
            QWidget* focus = window.focusWidget() ? window.focusWidget() : &window;
            const QKeyCombination key =
                pick<QKeyCombination>({Qt::Key_A, Qt::Key_N, Qt::Key_E, Qt::Key_7, Qt::Key_Minus,
                                       Qt::Key_Backspace, Qt::CTRL | Qt::Key_V, Qt::Key_Tab,
                                       Qt::Key_Return, Qt::Key_Escape, Qt::CTRL | Qt::Key_A});
            QTest::keyClick(focus, key.key(), key.keyboardModifiers());
            return QKeySequence(key).toString() + QStringLiteral(" on ") + focus->objectName();
        }
        QList<QObject*> targets = window.findChildren<QObject*>(); // buttons, links, menu entries
        targets.removeIf([](QObject* target) {
            return !target->inherits("QPushButton") && !target->inherits("LinkLabel") &&
                   !(target->inherits("QAction") && target->objectName().startsWith(u"mnu"));
        });
        if (roll < 98) {
            QObject* target = pick(targets);
            if (auto* entry = qobject_cast<QAction*>(target)) { // a separator does nothing
                entry->trigger();
                return QStringLiteral("menu ") + entry->objectName();
            }
            // The click lands on whatever is on top at the control's centre.
            auto* control = static_cast<QWidget*>(target);
            const QPoint centre = control->mapTo(&window, control->rect().center());
            QWidget* hit = window.childAt(centre) ? window.childAt(centre) : control;
            QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&window, centre));
            return QStringLiteral("click ") + hit->objectName();
        }
        window.close();
        return QStringLiteral("close box");
    }

    void checkWindows() {
        QList<frmMain*> mains;
        QList<frmDisplay*> readings;
        for (QWidget* window : LoadedWindows::inLoadOrder()) {
            if (auto* mainWindow = qobject_cast<frmMain*>(window))
                mains << mainWindow;
            else if (auto* reading = qobject_cast<frmDisplay*>(window))
                readings << reading;
            else
                expect(window->isVisible(), "a report or About window is loaded only while shown");
        }
        expect(mains.size() == 1 && readings.size() <= 1,
               "one main window and at most one reading window are loaded while the program runs");
        for (QWidget* topLevel : QApplication::topLevelWidgets())
            expect(LoadedWindows::inLoadOrder().contains(topLevel) ||
                       (topLevel->windowType() == Qt::Popup && topLevel->parentWidget()),
                   "every window but a window's menus and lists is loaded");
        const bool readingShown = !readings.isEmpty() && readings.first()->isVisible();
        expect(mains.size() == 1 && mains.first()->isHidden() == readingShown,
               "the main window is hidden just while a reading window is shown");
        if (!readingShown || HasFailure())
            return;
        const auto position = [&mainWindow = *mains.first()](const char* list) {
            return static_cast<std::int16_t>(child<QComboBox>(mainWindow, list).currentIndex());
        };
        const auto north = northNodeSignAt(position("cboYear") + kFirstTableYear,
                                           position("cboMonth"), position("cboDate"));
        const SignCatalogueEntry* entry = findSignCatalogueEntry(north.value_or(""));
        const ReportSource shown = readings.first()->reportSource();
        expect(entry && shown.northSign.toStdString() == entry->northSign &&
                   shown.southSign.toStdString() == entry->southSign,
               "the reading window shows the signs of the main window's date");
    }

    void checkEnded() {
        expect(fake.processEnds == ++ends && LoadedWindows::inLoadOrder().isEmpty() &&
                   QApplication::topLevelWidgets().isEmpty(),
               "the program ends once, and leaves nothing loaded and no window");
    }

    const quint64 seed =
        qEnvironmentVariable("NODALIS_EXERCISE_SEED", QString::number(std::random_device{}()))
            .toULongLong();
    std::mt19937_64 random{seed};
    FakePlatform fake;
    QTemporaryDir folder;
    QStringList paths;
    bool printAnswer = false;
    std::optional<SingleInstanceLock> lock;
    QStringList recentSteps;
    int steps = 0, ends = 0;
};

TEST_F(WindowExercise, randomStepsOnTheWindowInFrontKeepEveryWindowInOrder) {
    const int asked = qEnvironmentVariableIntValue("NODALIS_EXERCISE_STEPS");
    start();
    while (steps < (asked > 0 ? asked : 3000) && !HasFailure())
        step();
    ShutDownApplication();
    flushUnloads();
    checkEnded();
}

} // namespace
