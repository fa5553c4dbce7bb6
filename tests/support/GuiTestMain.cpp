#include "ui/common/Accessibility.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

// Runs widget tests offscreen, unless a test runs them on an X server. The test program
// has a home and runtime folder of its own, and its XDG folders are those in that home (Qt's
// test mode does not cover the settings and journals, which read the variables themselves),
// so its settings and files never meet the user's or another test program's; its tests give
// the single-instance lock a name of their own. Printers are those of a print server that a
// test starts itself and links to as cups.sock in the home folder, or none.
int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const QTemporaryDir home;
    setenv("HOME", qPrintable(home.path()), 1);
    setenv("XDG_RUNTIME_DIR", qPrintable(home.path()), 1);
    for (const char* folder :
         {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        unsetenv(folder);
    setenv("CUPS_SERVER", qPrintable(home.filePath("cups.sock")), 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    installAccessibleInterfaces();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
