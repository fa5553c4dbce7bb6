#include "shell/Application.h"

#include "shell/Platform.h"
#include "shell/modHelp.h"
#include "ui/main/frmMain.h"

#include <QLabel>

bool StartApplication(SingleInstanceLock& lock) {
    switch (lock.take()) {
    case SingleInstanceLock::Outcome::HeldByAnotherCopy:
        platform().message(nullptr, QStringLiteral("Application is already running"),
                           Platform::Icon::Information);
        ShutDownApplication();
        return false;
    case SingleInstanceLock::Outcome::CannotBeMade:
        qWarning().noquote() << "Starting without the lock that keeps a second copy from running:"
                             << lock.problem();
        break;
    case SingleInstanceLock::Outcome::Taken:
        break;
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
