#include "services/ApplicationInfo.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QResource>

QString siteAddress() {
    return QStringLiteral(NODALIS_SITE_ADDRESS);
}

QIcon applicationIcon() {
    // Each resource holds the pixels of one square size, named by that size in pixels.
    QIcon icon;
    for (QDirIterator it(QStringLiteral(":/icons"), QDir::Files); it.hasNext();) {
        const QResource resource(it.next());
        const int size = QFileInfo(resource.fileName()).baseName().toInt();
        const QByteArray pixels = resource.uncompressedData();
        if (size > 0 && pixels.size() == qsizetype(size) * size * 4)
            icon.addPixmap(
                QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(pixels.constData()), size,
                                          size, QImage::Format_RGBA8888_Premultiplied)));
    }
    return icon;
}
