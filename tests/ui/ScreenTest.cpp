// Every window as an X server shows it, in the desktop theme the test runs under and,
// where that is light, under a dark palette too. The pictures are left beside the test,
// named after the window, the theme, light or dark, and the scale.
#include "tests/ui/WindowFixture.h"
#include "ui/about/AboutDialog.h"

#include <QApplication>
#include <QScreen>

namespace {

// Light yellow on salmon: the node explanations, keywords and descriptions.
const QList<std::pair<QColor, QColor>> kFixedPairs{{QColor(255, 255, 128), QColor(249, 151, 142)}};

using WindowsOnScreen = WindowTest;

TEST_F(WindowsOnScreen, everyWindowShowsItsTextsWholeAndReadable_andEveryButtonWithinReach) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    const QPalette theme = QApplication::palette();
    QList<QPalette> palettes{theme};
    if (theme.color(QPalette::Window).lightness() > 128)
        palettes.append(QPalette(QColor(53, 53, 53))); // dark, shades worked out by Qt
    for (const QPalette& palette : palettes) {
        deleteEveryWindow();
        QApplication::setPalette(palette);
        const QString look =
            qEnvironmentVariable("NODALIS_LOOK") +
            (palette.color(QPalette::Window).lightness() > 128 ? "-light" : "-dark");
        const auto check = [&look](QWidget& window, const QString& name) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << name.toStdString();
            QTest::qWait(300);
            EXPECT_TRUE(window.screen()
                            ->grabWindow(window.winId())
                            .save(QStringLiteral(SCREENSHOT_DIR "/%1-%2.png").arg(name, look)));
            SCOPED_TRACE(name.toStdString() + ' ' + look.toStdString());
            expectNoClippedText(window);
            expectReadableTextAndButtonsWithinReach(window, kFixedPairs);
            return window.grab().toImage();
        };
        main = new MainWindow;
        main->show();
        check(*main, "main-window");
        ReadingWindow& display = *readingFor("ANN LEE", 1, 6, 1972); // the longest keyword line
        check(display, "reading-window");
        display.showReport();
        check(*shown<ReportWindow>(), "report-window");
        shown<ReportWindow>()->close();
        const QImage about = check(*showAboutWindow(&display), "about-window-from-reading");
        shown<AboutDialog>()->close();
        display.goBack();
        // The same fonts and colours on every label, whichever window opens it.
        EXPECT_TRUE(check(*showAboutWindow(main), "about-window-from-main") == about);
    }
    QApplication::setPalette(theme);
}

} // namespace
