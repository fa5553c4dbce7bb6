#include "app/Application.h"
#include "engine/NodeIngressTable.h"
#include "tests/ui/WindowFixture.h"
#include "ui/common/OpenWindows.h"

#include <QApplication>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>
#include <optional>
#include <random>

namespace {

// Drives the program's windows in this process at random from one seed, acting only on the window
// in front as a person can, with every dialog answered from a script. After every step the open
// windows must be in order; when the program ends nothing may be left, and it starts again.
// NODALIS_EXERCISE_SEED replays a run and NODALIS_EXERCISE_STEPS sets its length.
class WindowExercise : public ::testing::Test {
protected:
    void SetUp() override {
        qInfo("Window exercise seed %llu (NODALIS_EXERCISE_SEED)", seed);
        // Saves take one of the first five answers, the first being a cancel; opens take any.
        // The last two are empty, so hold no reading.
        for (const char* name : {"a.nrd", "b.nrd", "c.nrd", "missing/d.nrd", "x.nrd", "x.txt"})
            paths << folder.filePath(QString::fromLatin1(name));
        for (const QString& empty : paths.sliced(5))
            ASSERT_TRUE(QFile(empty).open(QIODevice::WriteOnly));
        fake.printDialog = [this](QPrinter& printer, bool) { // a PDF file, by its name
            printer.setOutputFileName(folder.filePath(QStringLiteral("report.pdf")));
            return uniform(0, 1) == 1;
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
        // Which offer is in front; the application tests check the update reminder at the start.
        fake.randomDraws.enqueue(std::uniform_real_distribution<double>()(random));
        lock.emplace("nodalis-exercise-" + QByteArray::number(QCoreApplication::applicationPid()));
        expect(startApplication(*lock), "the program starts again once it has ended");
    }

    void step() {
        ++steps;
        const QList<QWidget*> openWindows = OpenWindows::inCreationOrder();
        QWidget* front = QApplication::activeModalWidget();
        front = front ? front : *std::ranges::find_if(openWindows, &QWidget::isVisible);
        const QString file = paths[uniform(0, qobject_cast<ReportWindow*>(front) ? 4 : 6)];
        fake.fileNames.clear();
        fake.fileNames << file;
        const QString action = act(*front);
        if (recentSteps.size() == 20)
            recentSteps.removeFirst();
        recentSteps << QString::number(steps) + ' ' + front->metaObject()->className() + ": " +
                           action + " (file \"" + QFileInfo(file).fileName() + "\")";
        QCoreApplication::processEvents(); // as between two actions of a person
        flushDeferredDeletes();
        if (fake.processEnds == ends)
            return checkWindows();
        checkEnded();
        start();
    }

    // One action of a person on the window in front; returns what it was.
    QString act(QWidget& window) {
        auto* name = window.findChild<QLineEdit*>(QStringLiteral("nameEdit"));
        const int roll = uniform(name ? 0 : 35, 99);
        if (roll < 15) {
            const int day = uniform(1, 31), month = uniform(1, 12), year = uniform(1940, 2009);
            child<QComboBox>(window, "dayCombo").setCurrentIndex(day - 1);
            child<QComboBox>(window, "monthCombo").setCurrentIndex(month - 1);
            child<QComboBox>(window, "yearCombo").setCurrentIndex(year - kFirstTableYear);
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
        if (roll >= 98) {
            window.close();
            return QStringLiteral("close box");
        }
        QList<QObject*> targets = window.findChildren<QObject*>(); // buttons, links, menu entries
        targets.removeIf([](QObject* target) {
            return !target->inherits("QPushButton") && !target->inherits("LinkLabel") &&
                   !(target->inherits("QAction") && target->objectName().startsWith(u"mnu"));
        });
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

    void checkWindows() {
        const QList<QWidget*> openWindows = OpenWindows::inCreationOrder();
        QStringList order; // each window's class, marked when hidden
        for (QWidget* window : openWindows)
            order << window->metaObject()->className() + QString(window->isVisible() ? "" : "-");
        expect(QRegularExpression(
                   "^(MainWindow|MainWindow- ReadingWindow)( ReportWindow| AboutDialog)?$")
                   .match(order.join(u' '))
                   .hasMatch(),
               "the main window is open, hidden just while a reading window is open and shown, "
               "and a report or About window is open only while shown in front of them");
        for (QWidget* topLevel : QApplication::topLevelWidgets())
            expect(openWindows.contains(topLevel) ||
                       (topLevel->windowType() == Qt::Popup && topLevel->parentWidget()),
                   "every window but a window's menus and lists is open");
    }

    void checkEnded() {
        expect(fake.processEnds == ++ends && OpenWindows::inCreationOrder().isEmpty() &&
                   QApplication::topLevelWidgets().isEmpty(),
               "the program ends once, and leaves nothing open and no window");
    }

    const quint64 seed =
        qEnvironmentVariable("NODALIS_EXERCISE_SEED", QString::number(std::random_device{}()))
            .toULongLong();
    std::mt19937_64 random{seed};
    FakePlatform fake;
    QTemporaryDir folder;
    QStringList paths{QString()};
    std::optional<SingleInstanceLock> lock;
    QStringList recentSteps;
    int steps = 0, ends = 0;
};

TEST_F(WindowExercise, randomStepsOnTheWindowInFrontKeepEveryWindowInOrder) {
    const int asked = qEnvironmentVariableIntValue("NODALIS_EXERCISE_STEPS");
    start();
    while (steps < (asked > 0 ? asked : 3000) && !HasFailure())
        step();
    shutDownApplication();
    flushDeferredDeletes();
    checkEnded();
}

} // namespace
