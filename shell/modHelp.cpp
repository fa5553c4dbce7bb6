#include "shell/modHelp.h"

#include "shell/ApplicationInfo.h"
#include "shell/LoadedWindows.h"
#include "shell/Platform.h"
#include "shell/SettingsStore.h"

#include <QWidget>

namespace {

void openPage(const QString& pageKey) {
    platform().openUrl(pageAddress(pageKey));
}

} // namespace

QUrl pageAddress(const QString& pageKey) {
    return QUrl(siteAddress() + QStringLiteral("/nodalis/ssd.php?page=") + pageKey);
}

void OpenHomePage() {
    openPage(QStringLiteral("home-page"));
}

void OpenHelpWebPage() {
    openPage(QStringLiteral("help-web-page"));
}

void OpenDownloadWebPage() {
    openPage(QStringLiteral("download-web-page"));
}

void OpenCoBrandPage() {
    openPage(QStringLiteral("co-brand"));
}

void OpenFullyBrandedPage() {
    openPage(QStringLiteral("fully-branded"));
}

void CheckUpdateReminder() {
    const QString key = QStringLiteral("Duration");
    // One fixed form, read and written alike, whatever the user's locale.
    const QString dateFormat = QStringLiteral("yyyy-MM-dd");
    SettingsStore settings;
    const QDate today = platform().today();

    const QString stored = settings.read(key);
    // Also a store that cannot be used at once, whose write then fails: no reminder is shown.
    if (stored.isEmpty()) {
        settings.write(key, today.toString(dateFormat));
        return;
    }
    const QDate lastOffer = QDate::fromString(stored, dateFormat);
    if (!lastOffer.isValid())
        return;
    const qint64 daysAway = today.daysTo(lastOffer);
    if (daysAway >= -14 && daysAway <= 14)
        return;

    const auto answer =
        platform().message(nullptr,
                           QStringLiteral("There maybe an update to this software available\r"
                                          "Do you want to check for an update?"),
                           Platform::Icon::Information, Platform::Buttons::YesNo);
    if (!settings.write(key, today.toString(dateFormat)))
        return;
    if (answer == Platform::Answer::Yes)
        OpenDownloadWebPage();
}

void ShutDownApplication(QWidget* closing) {
    static bool shuttingDown = false;
    if (shuttingDown)
        return;
    shuttingDown = true;
    for (QWidget* window : LoadedWindows::inLoadOrder()) {
        if (window != closing)
            window->close();
    }
    shuttingDown = false;
    platform().endProcess();
}
