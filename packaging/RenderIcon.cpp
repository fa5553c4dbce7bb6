// Draws the program's scalable icon as the fixed-size pictures of the hicolor icon theme:
//   nodalis_render_icon ICON.svg THEME_FOLDER SIZE...
// writes THEME_FOLDER/SIZExSIZE/apps/ICON.png for every SIZE in pixels.

#include <QCoreApplication>
#include <QDir>
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

} // namespace

int main(int argc, char* argv[]) {
    // Qt finds its SVG image plugin once an application object exists. A core one needs no
    // screen; it suffices while the icon is drawn shapes, as text would need fonts.
    const QCoreApplication application(argc, argv);

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: nodalis_render_icon ICON.svg THEME_FOLDER SIZE...\n");
        return 2;
    }
    const QString svgPath = arguments.at(1);
    const QDir theme(arguments.at(2));
    const QString iconName = QFileInfo(svgPath).completeBaseName();

    for (qsizetype i = 3; i < arguments.size(); ++i) {
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

        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!theme.mkpath(folder))
            return fail(QStringLiteral("cannot create %1").arg(theme.filePath(folder)));
        const QString pngPath = theme.filePath(folder + QLatin1Char('/') + iconName + ".png");
        QImageWriter writer(pngPath, "png");
        if (!writer.write(image))
            return fail(QStringLiteral("cannot write %1: %2").arg(pngPath, writer.errorString()));
    }
    return 0;
}
