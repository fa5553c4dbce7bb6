// Every window as an X server shows it, in the desktop theme the test runs under and,
// where that is light, under a dark palette too, with or without a window manager. The pictures
// are left beside the test, named after the window, the theme, light or dark, and the scale.
#include "tests/ui/WindowFixture.h"
#include "ui/about/AboutDialog.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>

namespace {

// Light yellow on salmon: the node explanations, keywords and descriptions.
const QList<std::pair<QColor, QColor>> kFixedPairs{{QColor(255, 255, 128), QColor(249, 151, 142)}};

// The numbers on the line of a program's output where `label` stands, after it.
QList<int> numbersAfter(const QString& label, const QStringList& command) {
    QProcess process;
    process.start(command.first(), command.mid(1));
    process.waitForFinished();
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    const qsizetype at = output.indexOf(label);
    QList<int> numbers;
    static const QRegularExpression number(QStringLiteral("-?\\d+"));
    for (const auto& match : number.globalMatch(output.mid(at + label.size()).section(u'\n', 0, 0)))
        numbers << match.captured().toInt();
    return at < 0 ? QList<int>() : numbers;
}

// The screen's free area and a window's frame, title bar included, as the X server and the window
// manager give them: none of Qt's own reckoning.
QRect workArea() {
    const QList<int> area = numbersAfter("=", {"xprop", "-root", "_NET_WORKAREA"});
    if (area.size() >= 4)
        return {area[0], area[1], area[2], area[3]};
    return {0, 0, numbersAfter("Width:", {"xwininfo", "-root"}).value(0),
            numbersAfter("Height:", {"xwininfo", "-root"}).value(0)};
}

QRect frameOf(const QWidget& window) {
    const QStringList info{"xwininfo", "-id", QString::number(window.winId())};
    const QRect client(numbersAfter("Absolute upper-left X:", info).value(0),
                       numbersAfter("Absolute upper-left Y:", info).value(0),
                       numbersAfter("Width:", info).value(0),
                       numbersAfter("Height:", info).value(0));
    // Left, right, top and bottom; none without a window manager.
    const QList<int> frame =
        numbersAfter("=", {"xprop", "-id", QString::number(window.winId()), "_NET_FRAME_EXTENTS"});
    return client.adjusted(-frame.value(0), -frame.value(2), frame.value(1), frame.value(3));
}

// Whether as much of `control` as its window's scroll area holds is in view.
bool inView(const QWidget& control) {
    const auto* area = control.window()->findChild<QScrollArea*>();
    if (!area)
        return true;
    const QRect shown =
        QRect(control.mapTo(area->viewport(), QPoint()), control.size()) & area->viewport()->rect();
    return shown.size() == control.size().boundedTo(area->viewport()->size());
}

// The controls that Tab passes round `window` from the one it opens on, each in view when it has
// the focus; the offer in front as "offer".
QStringList tabRound(QWidget& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    QStringList passed;
    for (QWidget* focus = window.focusWidget(); focus && !passed.contains(focus->objectName());
         focus = window.focusWidget()) {
        passed << focus->objectName();
        EXPECT_TRUE(inView(*focus)) << passed.last().toStdString() << " has the focus out of view";
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return passed.replaceInStrings(QRegularExpression("^lbl(Cobrand|FullBrand)$"), "offer");
}

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
        const auto check = [&look](QWidget& window, const QString& name,
                                   const QStringList& tabOrder) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << name.toStdString();
            QTest::qWait(300);
            // Placed by the window manager, or moved once it has framed the window.
            EXPECT_TRUE(QTest::qWaitFor([&] { return workArea().contains(frameOf(window)); }))
                << name.toStdString() << "'s frame " << frameOf(window).y() << '+'
                << frameOf(window).height() << " is not inside " << workArea().y() << '+'
                << workArea().height();
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
        // Typed at once, with the pointer on the window, where keys go without a window manager.
        QLineEdit& name = child<QLineEdit>(*main, "nameEdit");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
        const QPoint centre = main->mapToGlobal(main->rect().center());
        QProcess::execute("xdotool", {"mousemove", QString::number(centre.x()),
                                      QString::number(centre.y()), "type", "ann"});
        EXPECT_TRUE(QTest::qWaitFor([&name] { return name.text() == "ANN"; }));
        check(*main, "main-window",
              {"nameEdit", "dayCombo", "monthCombo", "yearCombo", "getReadingButton",
               "openReadingButton", "exitButton", "forumLink", "offer"});
        // The name box, given the focus by the message that the name is missing, comes into view.
        child(*main, "exitButton").setFocus();
        name.clear();
        main->showReading();
        EXPECT_TRUE(inView(name) && name.hasFocus());
        const QStringList links{"forumLink", "offer"};
        ReadingWindow& display = *readingFor("ANN LEE", 1, 6, 1972); // the longest keyword line
        check(display, "reading-window",
              QStringList{"northDescriptionView", "southDescriptionView", "printButton",
                          "backButton", "exitButton"} +
                  links);
        display.showReport();
        check(*shown<ReportWindow>(), "report-window",
              {"reportView", "saveButton", "printButton", "forumLink", "Label1", "offer"});
        shown<ReportWindow>()->close();
        const QStringList aboutOrder{"okButton", "homePageLink", "fullBrandLink"};
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
