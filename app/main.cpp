#include "app/Application.h"
#include "app/DeferredIconStyle.h"
#include "app/ProgramStart.h"
#include "services/ApplicationInfo.h"
#include "ui/common/Accessibility.h"

#include <QApplication>
#include <QIcon>
#include <csignal>

int main(int argc, char* argv[]) {
    std::signal(SIGXFSZ, SIG_IGN); // a save past the file size limit fails, and says so
    QApplication::setOrganizationName(QStringLiteral("Nodalis"));
    QApplication::setApplicationName(QStringLiteral("Nodalis"));
    QApplication::setApplicationVersion(QStringLiteral("1.45.0.0"));
    const CommandLine commandLine = readCommandLine(argc, argv);
    if (commandLine.exitStatus)
        return *commandLine.exitStatus;

    // Qt sees no argument but the program's name: a file name never reads as one of its options.
    int qtArgc = 1;
    holdQtMessagesWhileConnecting();
    QApplication app(qtArgc, argv);
    releaseHeldQtMessages();
    installAccessibleInterfaces();

    // The style Qt chose, by its name; see DeferredIconStyle for what changes.
    QApplication::setStyle(new DeferredIconStyle(QApplication::style()->name()));
    QApplication::setDesktopFileName(QStringLiteral("org.nodalis.Nodalis"));
    QApplication::setWindowIcon(applicationIcon());
    // Going back from the reading window hides every window for a moment; only
    // shutDownApplication ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstanceLock lock;
    if (!startApplication(lock, commandLine.readingFile))
        return 0;
    return QApplication::exec();
}
