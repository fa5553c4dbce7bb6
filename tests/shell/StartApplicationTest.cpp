#include "shell/Application.h"
#include "shell/LoadedWindows.h"
#include "tests/shell/PrivateRuntimeFolder.h"
#include "tests/support/FakePlatform.h"

#include <QCoreApplication>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

void unloadEveryWindow() {
    for (QWidget* window : LoadedWindows::inLoadOrder())
        delete window;
}

// The offer label that a click in the offers' rectangle reaches.
QString offerInFront(QWidget& mainWindow) {
    const auto* offer = mainWindow.findChild<QLabel*>(QStringLiteral("lblCobrand"));
    QWidget* strip = offer->parentWidget();
    return strip->childAt(offer->geometry().center())->objectName();
}

TEST(StartApplication, showsTheMainWindowWithOneOfferInFront) {
    const PrivateRuntimeFolder runtime;
    FakePlatform platform;
    platform.randomDraws.enqueue(0.0);
    SingleInstanceLock lock;
    ASSERT_TRUE(StartApplication(lock));

    const QList<QWidget*> windows = LoadedWindows::inLoadOrder();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows.first()->objectName(), QStringLiteral("frmMain"));
    EXPECT_TRUE(windows.first()->isVisible());
    EXPECT_EQ(offerInFront(*windows.first()), QStringLiteral("lblCobrand"));
    EXPECT_TRUE(platform.messages.isEmpty());
    unloadEveryWindow();
}

TEST(StartApplication, besideARunningCopy_saysSoShowsNoWindowAndEnds) {
    const PrivateRuntimeFolder runtime;
    SingleInstanceLock running;
    ASSERT_TRUE(running.tryAcquire());

    FakePlatform platform;
    SingleInstanceLock second;
    EXPECT_FALSE(StartApplication(second));
    EXPECT_EQ(platform.messages,
              (QList<FakePlatform::Message>{{QStringLiteral("Application is already running"),
                                             Platform::Icon::Information, Platform::Buttons::Ok}}));
    EXPECT_TRUE(LoadedWindows::inLoadOrder().isEmpty());
    EXPECT_EQ(platform.processEnds, 1);
}

TEST(CoBrand_Randomize, oddDrawsShowTheCoBrandOfferEvenDrawsTheFullyBrandedOne) {
    const PrivateRuntimeFolder runtime;
    FakePlatform platform;
    SingleInstanceLock lock;
    ASSERT_TRUE(StartApplication(lock));
    QWidget& mainWindow = *LoadedWindows::inLoadOrder().first();
    // A draw r gives n = r * 6 + 1, rounded down: 1 to 6.
    const std::vector<std::pair<double, const char*>> draws{
        {0.0, "lblCobrand"},         {0.17, "lblFullBrand"}, {0.34, "lblCobrand"},
        {0.5, "lblFullBrand"},       {0.67, "lblCobrand"},   {0.8334, "lblFullBrand"},
        {0.9999999, "lblFullBrand"},
    };
    for (const auto& [draw, front] : draws) {
        platform.randomDraws.enqueue(draw);
        CoBrand_Randomize(mainWindow);
        EXPECT_EQ(offerInFront(mainWindow), QLatin1String(front)) << draw;
    }
    unloadEveryWindow();
}

} // namespace
