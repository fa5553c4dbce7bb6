#include "shell/Application.h"
#include "shell/ApplicationInfo.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// What Qt says while it connects to the display, held back until it is known whether it could.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> heldMessages;

// When no display answers, Qt ends the process with abort(), which crash reporters log as a
// crash. The program says what is wrong in one line instead, and ends with status 1.
void holdMessageOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        heldMessages.append({type, context.category, text});
        return;
    }
    // The first warning names the problem, such as "could not connect to display :1".
    QString problem = text.section(u'\n', 0, 0);
    for (const HeldMessage& held : heldMessages) {
        if (held.type == QtWarningMsg || held.type == QtCriticalMsg) {
            problem = held.text;
            break;
        }
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        problem = QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
    std::fprintf(stderr, "nodalis: cannot show its windows: %s\n", qPrintable(problem.trimmed()));
    std::_Exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    const QtMessageHandler qtHandler = qInstallMessageHandler(holdMessageOrEnd);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    for (const HeldMessage& held : std::exchange(heldMessages, {}))
        qtHandler(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.constData()),
                  held.text);

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
