// Starts as the program does as far as the update reminder goes, on the day given
// and answering the reminder as told, then prints what it found stored, what it
// showed and opened, and what it left stored:
//     settings_probe 2026-01-15 yes|no
#include "shell/SettingsStore.h"
#include "shell/modHelp.h"
#include "tests/support/FakePlatform.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;

    FakePlatform platform;
    platform.todayDate = QDate::fromString(arguments.at(1), Qt::ISODate);
    if (arguments.at(2) == QStringLiteral("yes"))
        platform.answers.enqueue(Platform::Answer::Yes);

    const QString key = QStringLiteral("Duration");
    QTextStream out(stdout);
    out << "found " << SettingsStore().read(key) << '\n';
    CheckUpdateReminder();
    for (QString text : platform.messageTexts())
        out << "asked " << text.replace(QLatin1Char('\r'), QStringLiteral("\\r")) << '\n';
    for (const QUrl& url : platform.openedUrls)
        out << "opened " << url.toString() << '\n';
    out << "left " << SettingsStore().read(key) << '\n';
    return 0;
}
