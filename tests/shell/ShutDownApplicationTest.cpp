#include "shell/LoadedWindows.h"
#include "shell/modHelp.h"
#include "tests/support/FakePlatform.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

// A loaded window whose unloading, like the main and reading windows', ends the program.
class EndingWindow : public QWidget {
public:
    EndingWindow(QString name, QStringList& unloads)
        : m_unloads(unloads) {
        setObjectName(std::move(name));
        setAttribute(Qt::WA_DeleteOnClose);
        LoadedWindows::add(this);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        m_unloads.append(objectName());
        ShutDownApplication(this);
        event->accept();
    }

private:
    QStringList& m_unloads;
};

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(ShutDownApplication, unloadsEveryWindowOnceInLoadOrderAndEndsTheProcess) {
    FakePlatform platform;
    QStringList unloads;
    new EndingWindow(QStringLiteral("first"), unloads);
    auto* second = new EndingWindow(QStringLiteral("second"), unloads);
    new EndingWindow(QStringLiteral("third"), unloads);
    auto* hidden = new QWidget;
    hidden->setAttribute(Qt::WA_DeleteOnClose);
    LoadedWindows::add(hidden);

    second->show();
    second->close();
    flushDeletes();

    EXPECT_EQ(unloads, (QStringList{"second", "first", "third"}));
    EXPECT_TRUE(LoadedWindows::inLoadOrder().isEmpty());
    EXPECT_EQ(platform.processEnds, 1);
}

TEST(ShutDownApplication, withNoWindowLoaded_stillEndsTheProcess) {
    FakePlatform platform;
    ShutDownApplication();
    EXPECT_EQ(platform.processEnds, 1);
}

} // namespace
