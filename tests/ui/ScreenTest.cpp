// Every window as an X server shows it, in the desktop theme the test runs under and,
// where that is light, under a dark palette too, with or without a window manager. The pictures
// are left beside the test, named after the window, the theme, light or dark, and the scale.
#include "tests/ui/WindowFixture.h"
#include "ui/about/AboutDialog.h"

#include <QApplication>
#include <QProcess>
#include <QScreen>

namespace {

// Light yellow on salmon: the node explanations, keywords and descriptions.
const QList<std::pair<QColor, QColor>> kFixedPairs{{QColor(255, 255, 128), QColor(249, 151, 142)}};

// The controls that Tab passes round `window` from the one it opens on, each brought into view when
// it has the focus, up to its middle at least; the offer in front as "offer".
QString tabRound(QWidget& window) {
    QStringList passed;
    for (QWidget* focus; (focus = window.focusWidget()) && !passed.contains(focus->objectName());) {
        passed << focus->objectName();
        EXPECT_TRUE(focus->visibleRegion().boundingRect().contains(focus->rect().center()))
            << passed.last().toStdString() << " is out of view";
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return passed.join(' ').replace("coBrandOffer", "offer").replace("fullBrandOffer", "offer");
}

using WindowsOnScreen = WindowTest;

TEST_F(WindowsOnScreen, everyWindowShowsItsTextsWholeAndReadable_andEveryButtonWithinReach) {
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
        const auto check = [&look](QWidget& window, const QString& name, const char* tabOrder) {
            window.activateWindow(); // where the focus is given
            EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << name.toStdString();
            QTest::qWait(300);
            // Frame and title bar included, as the window manager gives them (_NET_FRAME_EXTENTS
            // and _NET_WORKAREA): placed by it, or moved once it has framed the window.
            EXPECT_TRUE(QTest::qWaitFor([&window] {
                return window.screen()->availableGeometry().contains(window.frameGeometry());
            })) << name.toStdString()
                << "'s frame is outside the work area";
            EXPECT_EQ(tabRound(window), tabOrder) << name.toStdString();
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
        // Typed at once, once the window has the keyboard, which a window manager gives it.
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        QProcess::execute("xdotool", {"type", "ann"});
        EXPECT_TRUE(QTest::qWaitFor([this] { return entries().constFirst() == "ANN"; }));
        check(*main, "main-window",
              "nameEdit dayCombo monthCombo yearCombo getReadingButton openReadingButton "
              "exitButton forumLink offer");
        ReadingWindow& display = *readingFor("ANN LEE", 1, 6, 1972); // the longest keyword line
        check(display, "reading-window",
              "northDescriptionView southDescriptionView printButton backButton exitButton "
              "forumLink offer");
        display.showReport();
        check(*shown<ReportWindow>(), "report-window",
              "reportView saveButton printButton forumLink siteLink offer");
        shown<ReportWindow>()->close();
        const char* aboutOrder = "okButton homePageLink fullBrandLink";
        const QImage about =
            check(*showAboutWindow(&display), "about-window-from-reading", aboutOrder);
        shown<AboutDialog>()->close();
        display.goBack();
        // The same fonts and colours on every label, whichever window opens it.
        EXPECT_TRUE(check(*showAboutWindow(main), "about-window-from-main", aboutOrder) == about);
    }
    QApplication::setPalette(theme);
}

} // namespace
