#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// Pages of the maker's web site: the site address, then "/nodalis/ssd.php?page="
// and the page key. Opening hands the address to the browser and goes on at
// once; nothing is reported when no browser opens it.
QUrl pageAddress(const QString& pageKey);
void openHomePage();
void openHelpPage();
void openDownloadPage();
void openCoBrandPage();
void openFullyBrandedPage();

// Offers to look for an update when the date stored at the last offer, or at the
// first run, is 15 days or more away from today. Runs as the main window loads.
void checkUpdateReminder();

// The one way the program ends: closes every loaded window in load order and
// ends the process. `closing` is the window whose closing started it; it is
// not closed again, and no window closed here starts a second shutdown.
void shutDownApplication(QWidget* closing = nullptr);
