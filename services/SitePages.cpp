#include "services/SitePages.h"

#include "services/ApplicationInfo.h"
#include "services/Platform.h"

namespace {

void openPage(const QString& pageKey) {
    platform().openUrl(pageAddress(pageKey));
}

} // namespace

QUrl pageAddress(const QString& pageKey) {
    return QUrl(siteAddress() + QStringLiteral("/nodalis/ssd.php?page=") + pageKey);
}

void openHomePage() {
    openPage(QStringLiteral("home-page"));
}

void openHelpPage() {
    openPage(QStringLiteral("help-web-page"));
}

void openDownloadPage() {
    openPage(QStringLiteral("download-web-page"));
}

void openCoBrandPage() {
    openPage(QStringLiteral("co-brand"));
}

void openFullyBrandedPage() {
    openPage(QStringLiteral("fully-branded"));
}
