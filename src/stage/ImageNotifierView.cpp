#include "stage/ImageNotifierView.h"

#include <QPainter>

ImageNotifierView::ImageNotifierView(QWidget* parent, std::chrono::milliseconds fadeDuration)
    : NotifierView(parent, fadeDuration) {}

ImageNotifierView* ImageNotifierView::show(const QImage& image) {
    QWidget* parent = parentWidget();
    if (!parent)
        return nullptr;
    auto* copy = new ImageNotifierView(parent, fadeDuration());
    copy->_image = tinted(image, parent->size(), foreground());
    present(copy);
    return copy;
}

QImage ImageNotifierView::tinted(const QImage& source, QSize box, const QColor& color) {
    QImage result(box, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    if (source.isNull() || box.isEmpty())
        return result;
    const QImage scaled = source.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&result);
    painter.drawImage((box.width() - scaled.width()) / 2, (box.height() - scaled.height()) / 2,
                      scaled);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(result.rect(), color);
    return result;
}

void ImageNotifierView::drawContent(QPainter& painter) {
    painter.drawImage(0, 0, _image);
}
