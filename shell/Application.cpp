#include "shell/Application.h"

#include "shell/Platform.h"
#include "shell/modHelp.h"
#include "ui/main/frmMain.h"

#include <QDir>
#include <QLabel>
#include <QStandardPaths>

SingleInstanceLock::SingleInstanceLock()
    : m_lock(QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
                 .filePath(QStringLiteral("nodalis.lock"))) {
    // Held for as long as the program runs, so its age says nothing about whether it is stale.
    m_lock.setStaleLockTime(0);
}

bool SingleInstanceLock::tryAcquire() {
    return m_lock.tryLock();
}

bool StartApplication(SingleInstanceLock& lock) {
    if (!lock.tryAcquire()) {
        platform().message(nullptr, QStringLiteral("Application is already running"),
                           Platform::Icon::Information);
        ShutDownApplication();
        return false;
    }
    auto* mainWindow = new frmMain;
    mainWindow->show();
    CoBrand_Randomize(*mainWindow);
    return true;
}

void CoBrand_Randomize(QWidget& mainWindow) {
    const int draw = static_cast<int>(platform().nextRandom() * 6 + 1);
    const auto name = draw % 2 == 0 ? QStringLiteral("lblFullBrand") : QStringLiteral("lblCobrand");
    if (auto* offer = mainWindow.findChild<QLabel*>(name))
        offer->raise();
}
