#include "shell/ApplicationInfo.h"
#include "shell/LoadedWindows.h"
#include "shell/frmAbout.h"
#include "tests/shell/TemporarySettings.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WidgetChecks.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Stands for the main or the reading window: a loaded window with a button of its own,
// which notes whether the About window blocks it.
class Opener : public QWidget {
public:
    Opener() {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        LoadedWindows::add(this);
    }

    QPushButton* button = new QPushButton(QStringLiteral("Next"));
    int clicks = 0;
    bool blocked = false;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::WindowBlocked)
            blocked = true;
        else if (event->type() == QEvent::WindowUnblocked)
            blocked = false;
        return QWidget::event(event);
    }
};

void flushUnloads() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename T> T* child(const QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Clicks the opener's button through the window system, as the user would, so that
// the click meets the same modality checks as a real one.
void clickThroughTheWindowSystem(Opener& opener) {
    const QPoint centre = opener.button->mapTo(&opener, opener.button->rect().center());
    QTest::mouseClick(opener.windowHandle(), Qt::LeftButton, {}, centre);
}

class AboutWindow : public ::testing::Test {
protected:
    AboutWindow() {
        opener.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&opener));
    }
    ~AboutWindow() override {
        for (QWidget* window : LoadedWindows::inLoadOrder()) {
            if (window != &opener)
                window->close();
        }
        flushUnloads();
    }

    FakePlatform platform;
    Opener opener;
};

TEST_F(AboutWindow, showsTheProgramsNameIconAndTexts_noneOfThemCut) {
    frmAbout* about = showAboutWindow(&opener);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));

    EXPECT_EQ(about->windowTitle(), QStringLiteral("Nodalis v1.45"));
    EXPECT_EQ(child<QLabel>(about, "Label2")->text(), QStringLiteral("Nodalis v1.45"));
    EXPECT_FALSE(child<QLabel>(about, "picIcon")->pixmap().isNull());

    const QString paragraph = child<QLabel>(about, "Label1")->text();
    const QStringList sentences =
        paragraph.split(QRegularExpression(QStringLiteral("(?<=\\.) (?=[A-Z])")));
    ASSERT_EQ(sentences.size(), 5) << paragraph.toStdString();
    EXPECT_EQ(sentences.at(0), QStringLiteral("The Moon's nodes act as a guide to our past life "
                                              "that shapes the present life and builds our "
                                              "future."));
    EXPECT_TRUE(sentences.at(2).startsWith(
        QStringLiteral("Nodalis is an interesting, advanced yet handy astrological tool")));
    EXPECT_TRUE(sentences.at(4).contains(QUrl(siteAddress()).host()));
    EXPECT_GE(paragraph.size(), 540);
    EXPECT_LE(paragraph.size(), 660);

    EXPECT_TRUE(child<QLabel>(about, "lblHomePage")->text().endsWith(siteAddress()));
    EXPECT_EQ(child<QLabel>(about, "Label3")->text(),
              QStringLiteral("Home Business Opportunity. Start your own Internet business and "
                             "make money online. Get this software fully branded for your "
                             "website. "));
    EXPECT_EQ(child<QLabel>(about, "lblCoBrand")->text(),
              QStringLiteral("Click here for more details."));
    EXPECT_EQ(child<QPushButton>(about, "cmdOK")->text(), QStringLiteral("&OK"));
    expectNoClippedText(*about);
}

TEST_F(AboutWindow, itsLinksOpenTheHomeAndTheFullyBrandedPage_underAPointingHand) {
    frmAbout* about = showAboutWindow(&opener);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    const QString pages = siteAddress() + QStringLiteral("/nodalis/ssd.php?page=");

    for (const auto& [name, key] :
         {std::pair{"lblHomePage", "home-page"}, std::pair{"lblCoBrand", "fully-branded"}}) {
        platform.openedUrls.clear();
        QLabel* link = child<QLabel>(about, name);
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;
        QTest::mouseClick(link, Qt::LeftButton);
        ASSERT_EQ(platform.openedUrls.size(), 1) << name;
        EXPECT_EQ(platform.openedUrls.constFirst().toString(), pages + QLatin1String(key));
    }
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(AboutWindow, isModal_theWindowThatOpenedItTakesNoInputUntilItCloses) {
    clickThroughTheWindowSystem(opener);
    ASSERT_EQ(opener.clicks, 1) << "a click through the window system must reach the opener";

    QPointer<frmAbout> about = showAboutWindow(&opener);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    EXPECT_EQ(QApplication::activeModalWidget(), about.data());
    EXPECT_TRUE(opener.blocked);
    clickThroughTheWindowSystem(opener);
    EXPECT_EQ(opener.clicks, 1);

    about->close();
    flushUnloads();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(opener.blocked);
    clickThroughTheWindowSystem(opener);
    EXPECT_EQ(opener.clicks, 2);
}

TEST_F(AboutWindow, okAndTheCloseBoxUnloadIt_andLeaveTheOtherWindowsAsTheyWere) {
    const std::vector<std::pair<const char*, std::function<void(frmAbout&)>>> ways{
        {"OK",
         [](frmAbout& about) {
             QTest::mouseClick(child<QPushButton>(&about, "cmdOK"), Qt::LeftButton);
         }},
        // As the close box does: the window system asks the window to close.
        {"close box",
         [](frmAbout& about) {
             about.windowHandle()->close();
         }},
        {"Escape",
         [](frmAbout& about) {
             QTest::keyClick(&about, Qt::Key_Escape);
         }},
    };
    for (const auto& [way, closeIt] : ways) {
        QPointer<frmAbout> about = showAboutWindow(&opener);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
        ASSERT_TRUE(LoadedWindows::inLoadOrder().contains(about.data())) << way;

        closeIt(*about);
        flushUnloads();
        EXPECT_TRUE(about.isNull()) << way;
        EXPECT_EQ(LoadedWindows::inLoadOrder(), QList<QWidget*>{&opener}) << way;
        EXPECT_TRUE(opener.isVisible()) << way;
    }
}

TEST_F(AboutWindow, aboutWhileItIsShown_showsTheSameWindow_andAfterItClosed_aFreshOne) {
    QPointer<frmAbout> first = showAboutWindow(&opener);
    EXPECT_EQ(showAboutWindow(&opener), first);
    EXPECT_EQ(LoadedWindows::inLoadOrder(), (QList<QWidget*>{&opener, first}));

    first->close();
    frmAbout* second = showAboutWindow(&opener);
    EXPECT_NE(second, first);
    EXPECT_TRUE(second->isVisible());
    flushUnloads();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(LoadedWindows::inLoadOrder(), (QList<QWidget*>{&opener, second}));
}

} // namespace
