#include "shell/Application.h"
#include "shell/ApplicationInfo.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Nodalis"));
    QApplication::setApplicationName(QStringLiteral("Nodalis"));
    QApplication::setApplicationVersion(QStringLiteral("1.45.0.0"));
    QApplication::setDesktopFileName(QStringLiteral("org.nodalis.Nodalis"));
    QApplication::setWindowIcon(applicationIcon());
    // Going back from the reading window hides every window for a moment; only
    // ShutDownApplication ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstanceLock lock;
    if (!StartApplication(lock))
        return 0;
    return QApplication::exec();
}
