#include "app/Application.h"

#include "services/Platform.h"
#include "ui/common/OpenWindows.h"
#include "ui/main/MainWindow.h"

bool startApplication(SingleInstanceLock& lock, const QString& readingFile) {
    switch (lock.take()) {
    case SingleInstanceLock::Outcome::HeldByAnotherCopy:
        platform().message(nullptr, QStringLiteral("Application is already running"),
                           Platform::Icon::Information);
        shutDownApplication();
        return false;
    case SingleInstanceLock::Outcome::CannotBeMade:
        qWarning().noquote() << "Starting without the lock that keeps a second copy from running:"
                             << lock.problem();
        break;
    case SingleInstanceLock::Outcome::Taken:
        break;
    }
    auto* mainWindow = new MainWindow;
    mainWindow->show();
    bringRandomOfferToFront(*mainWindow);
    if (!readingFile.isNull()) {
        // Once the main window is up, as when the user opens the file from it.
        QMetaObject::invokeMethod(
            mainWindow, [mainWindow, readingFile] { mainWindow->openReadingFile(readingFile); },
            Qt::QueuedConnection);
    }
    return true;
}

void bringRandomOfferToFront(MainWindow& mainWindow) {
    const int draw = static_cast<int>(platform().nextRandom() * 6 + 1);
    mainWindow.bringToFront(draw % 2 == 0 ? MainWindow::Offer::FullBrand
                                          : MainWindow::Offer::CoBrand);
}
