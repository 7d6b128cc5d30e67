// varlin-icons SVG FOLDER SIZE...: renders the application icon at the pixel sizes menus and
// panels ask for, laid out as an icon theme: FOLDER/<size>x<size>/apps/<svg name>.png.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    // Painting an SVG into an image needs no window system.
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: varlin-icons SVG FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "varlin-icons: can't read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QString name = QFileInfo(args[1]).completeBaseName() + ".png";
    for (const QString& arg : args.mid(3)) {
        bool number = false;
        const int size = arg.toInt(&number);
        if (!number || size <= 0) {
            std::fprintf(stderr, "varlin-icons: not a size: %s\n", qPrintable(arg));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + '/' + name)) {
            std::fprintf(stderr, "varlin-icons: can't write %s/%s\n", qPrintable(folder),
                         qPrintable(name));
            return 1;
        }
    }
    return 0;
}
