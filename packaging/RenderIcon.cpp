// Draws the program's scalable icon at fixed sizes in pixels:
//   nodalis_render_icon ICON.svg THEME_FOLDER SIZE...
//     writes THEME_FOLDER/SIZExSIZE/apps/ICON.png, the pictures of the hicolor icon theme;
//   nodalis_render_icon --pixels ICON.svg FOLDER SIZE...
//     writes FOLDER/SIZE.rgba, the bare pixels (premultiplied RGBA, row by row) that the
//     program makes its window icon of without decoding an image.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "nodalis_render_icon: %s\n", qPrintable(message));
    return 1;
}

// Where the picture of `size` pixels goes, its folder made; empty when it cannot be made.
QString outputPath(const QDir& output, bool pixels, const QString& iconName, int size) {
    if (pixels)
        return output.mkpath(QStringLiteral("."))
                   ? output.filePath(QStringLiteral("%1.rgba").arg(size))
                   : QString();
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    return output.mkpath(folder) ? output.filePath(folder + QLatin1Char('/') + iconName + ".png")
                                 : QString();
}

bool writePixels(const QImage& image, const QString& path) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int y = 0; y < rgba.height(); ++y) {
        const qint64 rowBytes = qint64(rgba.width()) * 4;
        if (file.write(reinterpret_cast<const char*>(rgba.constScanLine(y)), rowBytes) != rowBytes)
            return false;
    }
    return file.flush();
}

} // namespace

int main(int argc, char* argv[]) {
    // Qt finds its SVG image plugin once an application object exists. A core one needs no
    // screen; it suffices while the icon is drawn shapes, as text would need fonts.
    const QCoreApplication application(argc, argv);

    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool pixels = !arguments.isEmpty() && arguments.constFirst() == u"--pixels";
    if (pixels)
        arguments.removeFirst();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: nodalis_render_icon [--pixels] ICON.svg FOLDER SIZE...\n");
        return 2;
    }
    const QString svgPath = arguments.at(0);
    const QDir output(arguments.at(1));
    const QString iconName = QFileInfo(svgPath).completeBaseName();

    for (qsizetype i = 2; i < arguments.size(); ++i) {
        bool isNumber = false;
        const int size = arguments.at(i).toInt(&isNumber);
        if (!isNumber || size <= 0)
            return fail(QStringLiteral("\"%1\" is not a size in pixels").arg(arguments.at(i)));

        QImageReader reader(svgPath, "svg");
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        if (image.isNull())
            return fail(QStringLiteral("cannot draw %1 at %2 pixels: %3")
                            .arg(svgPath)
                            .arg(size)
                            .arg(reader.errorString()));

        const QString path = outputPath(output, pixels, iconName, size);
        if (path.isEmpty())
            return fail(QStringLiteral("cannot create a folder in %1").arg(output.path()));
        const bool written =
            pixels ? writePixels(image, path) : QImageWriter(path, "png").write(image);
        if (!written)
            return fail(QStringLiteral("cannot write %1").arg(path));
    }
    return 0;
}
