// Starts as the program does as far as the update reminder goes, on the day given and
// answering No, and prints the date it found stored, the questions it asked and the date
// it left stored:  settings_probe 2026-01-15
#include "services/SettingsStore.h"
#include "services/UpdateReminder.h"
#include "tests/support/FakePlatform.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    FakePlatform platform;
    platform.todayDate = QDate::fromString(QCoreApplication::arguments().value(1), Qt::ISODate);
    QTextStream out(stdout);
    out << SettingsStore().read("Duration") << ' ';
    checkUpdateReminder();
    out << platform.messages.size() << ' ' << SettingsStore().read("Duration");
}
