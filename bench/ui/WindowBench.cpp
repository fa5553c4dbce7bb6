// The two moments a user waits for: the reading window after "Get My Karmic
// Astrology Interpretation", and a printed report. Run it on an X server to
// include the real drawing: tests/support/on-x-server.sh build/bench/bench/window_bench
#include "tests/support/FakePlatform.h"
#include "ui/common/Accessibility.h"
#include "ui/common/OpenWindows.h"
#include "ui/main/MainWindow.h"
#include "ui/reading/ReadingWindow.h"
#include "ui/reading/ReportWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

template <typename Window> Window* openWindow() {
    for (QWidget* window : OpenWindows::inCreationOrder())
        if (auto* found = qobject_cast<Window*>(window))
            return found;
    return nullptr;
}

void flushDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A main window holding a name and the date of the longest reading, Leo in 1943.
MainWindow& mainWindowWithEntry() {
    auto* main = new MainWindow;
    main->show();
    if (!QTest::qWaitForWindowExposed(main))
        std::abort();
    main->findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("ANN LEE"));
    main->findChild<QComboBox*>(QStringLiteral("yearCombo"))
        ->setCurrentText(QStringLiteral("1943"));
    return *main;
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Runs the event loop as the program's own loop runs it, sleeping until the next
// event arrives (QTest::qWaitFor would sleep in steps of 10 ms instead), until
// `done` holds; false after five seconds.
template <typename Condition> bool runEventsUntil(Condition done) {
    const QDeadlineTimer deadline(5000);
    QTimer wakeUp; // so that waiting for an event never outlasts the deadline
    wakeUp.start(100);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The measured step on its own, so that a profiler can be pointed at it:
//   valgrind --tool=callgrind --toggle-collect='*showReadingWindow*' ...
// The window counts as shown once it has been exposed and drawn: the whole
// window is drawn and handed to the window system in one go. Null when the
// window did not appear.
[[gnu::noinline]] ReadingWindow* showReadingWindow(MainWindow& main) {
    main.showReading();
    ReadingWindow* display = openWindow<ReadingWindow>();
    if (!display)
        return nullptr;
    PaintCounter drawn(*display->centralWidget());
    if (!runEventsUntil([&drawn] { return drawn.paints > 0; }))
        return nullptr;
    return display;
}

void BM_ReadingWindowShown(benchmark::State& state) {
    FakePlatform platform;
    MainWindow& main = mainWindowWithEntry();
    for (auto _ : state) {
        ReadingWindow* display = showReadingWindow(main);
        if (!display) {
            state.SkipWithError("the reading window was not shown");
            break;
        }

        // Back to a main window drawn again and settled, where the user clicks next.
        state.PauseTiming();
        PaintCounter mainDrawn(*main.centralWidget());
        display->goBack();
        flushDeferredDeletes();
        if (!runEventsUntil([&mainDrawn] { return mainDrawn.paints > 0; })) {
            state.SkipWithError("the main window was not shown again");
            break;
        }
        state.ResumeTiming();
    }
    delete &main;
}
BENCHMARK(BM_ReadingWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReportComposedAndPrintedToPdf(benchmark::State& state) {
    FakePlatform platform;
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    platform.printDialog = [&pdf](QPrinter& printer, bool) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    MainWindow& main = mainWindowWithEntry();
    main.showReading();
    ReadingWindow* display = openWindow<ReadingWindow>();
    for (auto _ : state) {
        display->showReport();
        ReportWindow* report = openWindow<ReportWindow>();
        report->findChild<QPushButton*>(QStringLiteral("printButton"))->click();

        state.PauseTiming();
        report->close();
        flushDeferredDeletes();
        state.ResumeTiming();
    }
    display->close();
    flushDeferredDeletes();
}
BENCHMARK(BM_ReportComposedAndPrintedToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    installAccessibleInterfaces();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
