#pragma once

#include <QString>

class QIcon;

// The title of every message box the program shows.
inline const QString kApplicationTitle = QStringLiteral("Nodalis");

// Scheme and host of the maker's web site, without a trailing slash. Chosen
// when building, with the NODALIS_SITE_ADDRESS cache variable.
QString siteAddress();

// The program's icon in the sizes drawn from its scalable picture when building, for window
// icons and the About window.
QIcon applicationIcon();
