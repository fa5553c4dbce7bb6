// Shows the report window on a real X display and saves a
// picture of it in the build tree, for a person to look at.
#include "tests/support/WidgetChecks.h"
#include "tests/ui/reading/ReportSources.h"
#include "ui/reading/frmSave.h"

#include <QApplication>
#include <QScreen>
#include <QTest>

namespace {

TEST(ReportWindowOnScreen, showsTheWholeReportWindowWithNoTextCutOff) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    frmSave* window = showReportWindow(nullptr, annLee());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(300);
    expectNoClippedText(*window);

    const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(SCREENSHOT_DIR "/report-window.png")));
    ASSERT_EQ(shot.size(), QSize(512, 512) * shot.devicePixelRatio());
    EXPECT_EQ(shot.pixelColor(2, 2), Qt::black);
    EXPECT_EQ(shot.pixelColor(2, 450), Qt::black);
    int red = 0;
    for (int y = 30; y < 430; ++y) {
        for (int x = 0; x < 500; ++x)
            red += shot.pixelColor(x, y) == Qt::red;
    }
    EXPECT_GT(red, 100) << "the report's values are not shown in red";
    window->close();
}

} // namespace
