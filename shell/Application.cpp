#include "shell/Application.h"

#include "shell/Platform.h"
#include "shell/modHelp.h"
#include "ui/main/frmMain.h"

#include <QLabel>

bool StartApplication(SingleInstanceLock& lock, const QString& readingFile) {
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
    if (!readingFile.isNull()) {
        // Once the main window is up, as when the user opens the file from it.
        QMetaObject::invokeMethod(
            mainWindow, [mainWindow, readingFile] { mainWindow->openReadingFile(readingFile); },
            Qt::QueuedConnection);
    }
    return true;
}

void CoBrand_Randomize(QWidget& mainWindow) {
    const int draw = static_cast<int>(platform().nextRandom() * 6 + 1);
    const auto name = draw % 2 == 0 ? QStringLiteral("lblFullBrand") : QStringLiteral("lblCobrand");
    if (auto* offer = mainWindow.findChild<QLabel*>(name))
        offer->raise();
}
