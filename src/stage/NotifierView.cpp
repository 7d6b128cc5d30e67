#include "stage/NotifierView.h"

#include "stage/NamedColors.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPropertyAnimation>

NotifierView::NotifierView(QWidget* parent, std::chrono::milliseconds fadeDuration)
    : QWidget(parent), _fadeDuration(fadeDuration) {
    // The template is never seen and a flash must not swallow the clicks meant for the window.
    hide();
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void NotifierView::present(NotifierView* copy) {
    copy->setGeometry(parentWidget()->rect());
    auto* effect = new QGraphicsOpacityEffect(copy);
    effect->setOpacity(1.0);
    copy->setGraphicsEffect(effect);
    copy->_fade = new QPropertyAnimation(effect, "opacity", copy);
    copy->_fade->setDuration(int(_fadeDuration.count()));
    copy->_fade->setStartValue(1.0);
    copy->_fade->setEndValue(0.0);
    connect(copy->_fade, &QPropertyAnimation::finished, copy, &QObject::deleteLater);
    copy->show();
    copy->raise();
    copy->_fade->start();
}

void NotifierView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(),
                     NamedColors::color(u"notifierBackground", palette()).value_or(Qt::white));
    drawContent(painter);
}

QColor NotifierView::foreground() const {
    return NamedColors::color(u"notifierForeground", palette()).value_or(Qt::black);
}
