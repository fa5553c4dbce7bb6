#include "shell/ApplicationInfo.h"

QString siteAddress() {
    return QStringLiteral(NODALIS_SITE_ADDRESS);
}
