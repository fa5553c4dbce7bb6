// Shows the About window on a real X server and keeps a picture of it, so that a
// person can look at the window as the program draws it:
//     about_screenshot path/to/about-window.png
#include "shell/frmAbout.h"
#include "tests/support/WidgetChecks.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString picturePath;

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
    EXPECT_TRUE(picture.save(picturePath)) << picturePath.toStdString();
    about->close();
}

} // namespace

int main(int argc, char* argv[]) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: about_screenshot picture.png\n");
        return 2;
    }
    picturePath = QString::fromLocal8Bit(argv[1]);
    return RUN_ALL_TESTS();
}
