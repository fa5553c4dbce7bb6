// Shows the real windows on an X server (Xvfb) and checks the pixels it shows.
#include "shell/LoadedWindows.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WidgetChecks.h"
#include "ui/main/frmMain.h"
#include "ui/reading/frmDisplay.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kSalmon(249, 151, 142);
const QColor kFrameYellow(255, 255, 192);
const QColor kTextYellow(255, 255, 128);
const QColor kBlue(0, 0, 255);
const QColor kTitleYellow(255, 255, 0);
const QColor kPink(255, 128, 128);

// What the X server shows of `window`, saved beside the test for a person to look at.
QImage screenshot(QWidget& window, const QString& name) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(300);
    const QImage image =
        window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    image.save(QDir(QStringLiteral(SCREENSHOT_DIR)).filePath(name + QStringLiteral(".png")));
    return image;
}

QPoint inWindow(const QWidget& widget, QPoint point) {
    return widget.mapTo(widget.window(), point);
}

// The colour the screen shows a little inside the left edge of `widget`, half way down.
QColor fillOf(const QImage& image, const QWidget& widget) {
    return image.pixelColor(inWindow(widget, QPoint(3, widget.height() / 2)));
}

bool close(const QColor& a, const QColor& b) {
    const int tolerance = 24;
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// How many pixels inside `widget` show `colour`: text drawn in it leaves many.
int pixelsOf(const QImage& image, const QWidget& widget, const QColor& colour) {
    int count = 0;
    const QRect area(inWindow(widget, QPoint(0, 0)), widget.size());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += close(image.pixelColor(x, y), colour) ? 1 : 0;
    return count;
}

template <typename T> T& child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

class WindowsOnScreen : public ::testing::Test {
protected:
    void TearDown() override {
        for (QWidget* window : LoadedWindows::inLoadOrder())
            delete window;
    }

    frmMain& mainWindow() {
        auto* window = new frmMain;
        window->show();
        return *window;
    }

    frmDisplay& readingFor(frmMain& main, const char* name, int day, int month, int year) {
        child<QLineEdit>(main, "txtName").setText(QString::fromLatin1(name));
        child<QComboBox>(main, "cboDate").setCurrentIndex(day - 1);
        child<QComboBox>(main, "cboMonth").setCurrentIndex(month - 1);
        child<QComboBox>(main, "cboYear").setCurrentIndex(year - 1940);
        main.cmdNext_Click();
        for (QWidget* window : LoadedWindows::inLoadOrder())
            if (auto* display = qobject_cast<frmDisplay*>(window))
                return *display;
        throw std::runtime_error("no reading window");
    }

    FakePlatform fake;
};

void expectReadingColours(frmDisplay& display, const QImage& image) {
    QWidget& central = *display.centralWidget();
    EXPECT_EQ(image.pixelColor(inWindow(central, QPoint(2, 300))), kBlack);
    EXPECT_EQ(image.pixelColor(inWindow(central, QPoint(385, 300))), kBlack);
    for (const char* panel : {"Frame2", "Frame5", "Picture1", "Picture2", "Picture3", "Picture4",
                              "Picture5", "Picture6"})
        EXPECT_EQ(fillOf(image, child<QWidget>(display, panel)), kSalmon) << panel;
    for (const char* frame : {"Frame4", "Frame6"})
        EXPECT_EQ(fillOf(image, child<QWidget>(display, frame)), kFrameYellow) << frame;
    for (const char* text : {"txtNorthDesc", "txtSouthDesc"}) {
        QWidget& box = child<QWidget>(display, text);
        EXPECT_EQ(fillOf(image, box), kSalmon) << text;
        EXPECT_GT(pixelsOf(image, box, kTextYellow), 500) << text;
    }
    for (const char* sign : {"lblNorthSign", "lblSouthSign"})
        EXPECT_GT(pixelsOf(image, child<QWidget>(display, sign), kBlue), 40) << sign;
    for (const char* keywords : {"lblNorthKeyWord", "lblSouthKeyWord"})
        EXPECT_GT(pixelsOf(image, child<QWidget>(display, keywords), kTextYellow), 80) << keywords;
    EXPECT_GT(pixelsOf(image, child<QWidget>(display, "Label4"), kTitleYellow), 80);
    EXPECT_GT(pixelsOf(image, child<QWidget>(display, "Label1"), kPink), 500);
}

TEST_F(WindowsOnScreen, readingWindowShowsItsColoursWhereTheyBelong) {
    frmMain& main = mainWindow();
    frmDisplay& display = readingFor(main, "ANN LEE", 10, 8, 1975);
    ASSERT_EQ(child<QLabel>(display, "lblNorthSign").text(), "Scorpio");
    const QImage image = screenshot(display, QStringLiteral("reading-window-scorpio"));
    ASSERT_EQ(image.size(), display.size());
    expectReadingColours(display, image);
    expectNoClippedText(display);
}

TEST_F(WindowsOnScreen, longestKeywordLineStaysWholeOnScreen) {
    frmMain& main = mainWindow();
    frmDisplay& display = readingFor(main, "ANN LEE", 1, 6, 1972);
    ASSERT_EQ(child<QLabel>(display, "lblNorthKeyWord").text(),
              "Nostalgic, Coward, Pessimistic and Sensitive");
    const QImage image = screenshot(display, QStringLiteral("reading-window-capricorn"));
    expectReadingColours(display, image);
    expectNoClippedText(display);
    // The keyword line runs far beyond its box, so text shows on both sides of it.
    QLabel& keywords = child<QLabel>(display, "lblNorthKeyWord");
    const QRect panel = child<QWidget>(display, "Picture3").rect();
    EXPECT_GT(keywords.width(), 250);
    EXPECT_GE(keywords.x(), panel.left());
    EXPECT_LE(keywords.geometry().right(), panel.right());
}

TEST_F(WindowsOnScreen, mainWindowShowsItsBannerAndOffers) {
    frmMain& main = mainWindow();
    const QImage image = screenshot(main, QStringLiteral("main-window"));
    EXPECT_EQ(image.pixelColor(inWindow(*main.centralWidget(), QPoint(2, 200))), kBlack);
    EXPECT_EQ(fillOf(image, child<QWidget>(main, "Frame2")), kSalmon);
    EXPECT_EQ(fillOf(image, child<QWidget>(main, "Frame5")), kSalmon);
    EXPECT_EQ(fillOf(image, child<QWidget>(main, "Frame3")), kFrameYellow);
    expectNoClippedText(main);

    // Either offer may be in front; each hides the other entirely.
    child<QLabel>(main, "lblCobrand").raise();
    const QImage cobrand = screenshot(main, QStringLiteral("main-window-cobrand"));
    const QRect offers(inWindow(child<QLabel>(main, "lblCobrand"), QPoint(0, 0)),
                       child<QLabel>(main, "lblCobrand").size());
    EXPECT_NE(cobrand.copy(offers), image.copy(offers));
}

} // namespace
