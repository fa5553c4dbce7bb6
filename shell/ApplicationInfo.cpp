#include "shell/ApplicationInfo.h"

#include <QIcon>

QString siteAddress() {
    return QStringLiteral(NODALIS_SITE_ADDRESS);
}

QIcon applicationIcon() {
    // The resources are linked from a static library, where nothing else would register them.
    static const bool registered = [] {
        Q_INIT_RESOURCE(nodalis);
        return true;
    }();
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/icons/org.nodalis.Nodalis.svg"));
}
