#include "platform/SymbolImage.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QImage symbolImage(const QString& name, QSize size, std::optional<QColor> tint) {
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(name));
    if (!renderer.isValid() || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF fitted = QSizeF(renderer.defaultSize()).scaled(size, Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF((size.width() - fitted.width()) / 2,
                                             (size.height() - fitted.height()) / 2),
                                     fitted));
    if (tint) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), *tint);
    }
    return image;
}

QIcon symbolIcon(const QString& name, std::optional<QColor> tint) {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(symbolImage(name, QSize(side, side), tint)));
    return icon;
}
