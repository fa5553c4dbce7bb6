// The two moments a user waits for: the reading window after "Get My Karmic
// Astrology Interpretation", and a printed report. Run it on an X server to
// include the real drawing: tests/support/on-x-server.sh build/bench/bench/window_bench
#include "shell/LoadedWindows.h"
#include "tests/support/FakePlatform.h"
#include "ui/main/frmMain.h"
#include "ui/reading/frmDisplay.h"
#include "ui/reading/frmSave.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

template <typename Window> Window* loaded() {
    for (QWidget* window : LoadedWindows::inLoadOrder())
        if (auto* found = qobject_cast<Window*>(window))
            return found;
    return nullptr;
}

void flushUnloadedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A main window holding a name and the date of the longest reading, Leo in 1943.
frmMain& mainWindowWithEntry() {
    auto* main = new frmMain;
    main->show();
    if (!QTest::qWaitForWindowExposed(main))
        std::abort();
    main->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("ANN LEE"));
    main->findChild<QComboBox*>(QStringLiteral("cboYear"))->setCurrentText(QStringLiteral("1943"));
    return *main;
}

void BM_ReadingWindowShown(benchmark::State& state) {
    FakePlatform platform;
    frmMain& main = mainWindowWithEntry();
    for (auto _ : state) {
        main.cmdNext_Click();
        frmDisplay* display = loaded<frmDisplay>();
        if (!QTest::qWaitForWindowExposed(display))
            state.SkipWithError("the reading window was not shown");
        display->repaint();

        state.PauseTiming();
        display->cmdBack_Click();
        flushUnloadedWindows();
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
    frmMain& main = mainWindowWithEntry();
    main.cmdNext_Click();
    frmDisplay* display = loaded<frmDisplay>();
    for (auto _ : state) {
        display->cmdPrint_Click();
        frmSave* report = loaded<frmSave>();
        report->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();

        state.PauseTiming();
        report->close();
        flushUnloadedWindows();
        state.ResumeTiming();
    }
    display->close();
    flushUnloadedWindows();
}
BENCHMARK(BM_ReportComposedAndPrintedToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
