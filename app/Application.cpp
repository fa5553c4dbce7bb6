#include "app/Application.h"

#include "services/Platform.h"
#include "ui/common/OpenWindows.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QPointer>

namespace {

// Raises `window` over other programs' windows as far as the platform lets a program do so
// that the user did not just click. On Wayland that takes the launcher's token, which Qt
// spends from the environment.
void raiseAboveOtherPrograms(QWidget& window, const QByteArray& activationToken) {
    const bool token =
        QGuiApplication::platformName().startsWith(u"wayland") && !activationToken.isEmpty();
    if (token)
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.raise();
    window.activateWindow();
    // One that Qt did not spend must not reach the programs that this one starts.
    if (token)
        qunsetenv("XDG_ACTIVATION_TOKEN");
}

void receiveReadingFiles(SingleInstanceLock& lock, MainWindow* mainWindow) {
    using HandedFile = SingleInstanceLock::HandedFile;
    // While a modal window waits for the user, it is only brought to the front.
    lock.receiveReadingFiles(
        [mainWindow = QPointer(mainWindow)](const HandedFile& file) {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal)
                raiseAboveOtherPrograms(*modal, file.activationToken);
            return !modal && mainWindow;
        },
        [mainWindow = QPointer(mainWindow)](const HandedFile& file) {
            // A modal window may have opened since the file was taken; going Back under it
            // would close the window it belongs to while it waits.
            if (QWidget* modal = QApplication::activeModalWidget()) {
                raiseAboveOtherPrograms(*modal, file.activationToken);
                return;
            }
            if (!mainWindow)
                return;
            mainWindow->backFromReading();
            raiseAboveOtherPrograms(*mainWindow, file.activationToken);
            mainWindow->openReadingFile(file.path);
            if (QWidget* reading = mainWindow->windowInFront(); reading != mainWindow)
                raiseAboveOtherPrograms(*reading, {});
        });
}

} // namespace

bool startApplication(SingleInstanceLock& lock, const std::optional<std::string>& readingFile) {
    switch (lock.take(readingFile)) {
    case SingleInstanceLock::Outcome::HandedOver:
        shutDownApplication();
        return false;
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
    receiveReadingFiles(lock, mainWindow);
    if (readingFile) {
        // Once the main window is up, as when the user opens the file from it.
        QMetaObject::invokeMethod(
            mainWindow, [mainWindow, path = *readingFile] { mainWindow->openReadingFile(path); },
            Qt::QueuedConnection);
    }
    return true;
}

void bringRandomOfferToFront(MainWindow& mainWindow) {
    const int draw = static_cast<int>(platform().nextRandom() * 6 + 1);
    mainWindow.bringToFront(draw % 2 == 0 ? MainWindow::Offer::FullBrand
                                          : MainWindow::Offer::CoBrand);
}
