#pragma once

#include <QString>
#include <QUrl>

// Pages of the maker's web site: the site address, then "/nodalis/ssd.php?page="
// and the page key. Opening hands the address to the browser and goes on at
// once; nothing is reported when no browser opens it.
QUrl pageAddress(const QString& pageKey);
void openHomePage();
void openHelpPage();
void openDownloadPage();
void openCoBrandPage();
void openFullyBrandedPage();
