// varlin-helppdf OUTPUT.pdf: lays out the guide ("index.html" of the help pages) as an A4 PDF.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

namespace {

// Pictures the pages name relative to themselves come from the compiled-in help pages.
class HelpDocument : public QTextDocument {
protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::ImageResource && name.isRelative()) {
            const QImage image(":/help/" + name.path());
            if (!image.isNull())
                return image;
        }
        return QTextDocument::loadResource(type, name);
    }
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: varlin-helppdf OUTPUT.pdf\n");
        return 2;
    }
    QFile page(":/help/index.html");
    if (!page.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "varlin-helppdf: the guide is missing from the resources\n");
        return 1;
    }

    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setTitle("Varlin Guide");
    writer.setCreator("Varlin");
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);

    HelpDocument document;
    document.setHtml(QString::fromUtf8(page.readAll()));
    document.print(&writer);
    // QPdfWriter reports no failure; an empty or missing file is the sign.
    if (QFile(QString::fromLocal8Bit(argv[1])).size() == 0) {
        std::fprintf(stderr, "varlin-helppdf: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
