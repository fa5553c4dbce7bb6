// Every window as an X server shows it; the pictures are left beside the test.
#include "shell/frmAbout.h"
#include "tests/ui/WindowFixture.h"

#include <QScreen>
#include <algorithm>

namespace {

QImage screenshot(QWidget& window, const QString& name) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << name.toStdString();
    QTest::qWait(300);
    expectNoClippedText(window);
    const QImage image =
        window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(image.save(QStringLiteral(SCREENSHOT_DIR "/%1.png").arg(name)));
    return image;
}

// The share of the pixels of `widget` that show `colour`.
double shareOf(const QImage& image, const QWidget& widget, const QColor& colour) {
    const QImage area =
        image.copy(QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size()));
    const auto* pixels = reinterpret_cast<const QRgb*>(area.constBits());
    const qsizetype size = area.width() * area.height();
    return double(std::count(pixels, pixels + size, colour.rgb())) / double(size);
}

using WindowsOnScreen = WindowTest;

TEST_F(WindowsOnScreen, everyWindowShowsWhole_andTheReadingInItsColours) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    screenshot(*main, "main-window");
    frmDisplay& display = *readingFor("ANN LEE", 1, 6, 1972); // the longest keyword line
    const QImage image = screenshot(display, "reading-window");
    EXPECT_EQ(image.pixelColor(display.centralWidget()->mapTo(&display, QPoint(2, 300))),
              Qt::black);
    for (const char* panel : {"Frame2", "Frame5", "Picture1", "Picture2", "Picture3", "Picture4",
                              "Picture5", "Picture6", "txtNorthDesc", "txtSouthDesc"})
        EXPECT_GT(shareOf(image, child(display, panel), QColor(249, 151, 142)), 0.5) << panel;
    for (const char* frame : {"Frame4", "Frame6"})
        EXPECT_GT(shareOf(image, child(display, frame), QColor(255, 255, 192)), 0.1) << frame;
    for (const char* sign : {"lblNorthSign", "lblSouthSign"})
        EXPECT_GT(shareOf(image, child(display, sign), QColor(0, 0, 255)), 0.02) << sign;

    display.cmdPrint_Click();
    const QImage report = screenshot(*shown<frmSave>(), "report-window");
    EXPECT_GT(shareOf(report, child(*shown<frmSave>(), "RTB"), Qt::red), 0.002);
    shown<frmSave>()->close();
    screenshot(*showAboutWindow(&display), "about-window");
}

} // namespace
