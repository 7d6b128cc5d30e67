#include "stage/TextNotifierView.h"

#include "stage/NotifierFont.h"

#include <QPainter>

TextNotifierView::TextNotifierView(QWidget* parent, std::chrono::milliseconds fadeDuration)
    : NotifierView(parent, fadeDuration) {}

TextNotifierView* TextNotifierView::show(const QString& text) {
    QWidget* parent = parentWidget();
    if (!parent)
        return nullptr;
    auto* copy = new TextNotifierView(parent, fadeDuration());
    copy->_text = text;
    copy->setFont(NotifierFont::fitted(text, parent->size()));
    present(copy);
    return copy;
}

void TextNotifierView::drawContent(QPainter& painter) {
    painter.setPen(foreground());
    painter.setFont(font());
    // The line box is centred, which puts the digits' middle within a few percent of the centre.
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, _text);
}
