#include "services/UpdateReminder.h"

#include "services/Platform.h"
#include "services/SettingsStore.h"
#include "services/SitePages.h"

#include <QDate>

void checkUpdateReminder() {
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
        openDownloadPage();
}
