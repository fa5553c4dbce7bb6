// Shows the About window on a real X server and keeps a picture of it, so that a
// person can look at the window as the program draws it.
#include "shell/frmAbout.h"
#include "tests/support/WidgetChecks.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// True when the picture holds more than one colour, that is when something was drawn.
bool hasContent(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != picture.pixel(0, 0))
                return true;
        }
    }
    return false;
}

TEST(AboutWindowOnScreen, showsWholeUnderX11) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    frmAbout* about = showAboutWindow(nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    QTest::qWait(300);
    expectNoClippedText(*about);

    const QImage picture = about->screen()->grabWindow(about->winId()).toImage();
    EXPECT_EQ(picture.size(), about->size() * about->devicePixelRatio());
    EXPECT_TRUE(hasContent(picture));
    EXPECT_TRUE(picture.save(QStringLiteral(SCREENSHOT_DIR "/about-window.png")));
    about->close();
}

} // namespace
