#include "stage/Screensaver.h"

#include "stage/NamedColors.h"

#include <QApplication>
#include <QEvent>

Screensaver::Screensaver(QWidget* parent, std::chrono::milliseconds idleDelay) : Clock(parent) {
    _saverTimer.setSingleShot(true);
    _saverTimer.setInterval(idleDelay);
    connect(&_saverTimer, &QTimer::timeout, this, &Screensaver::activate);
    hide();
    // Mouse moves over widgets without mouse tracking reach only the application's filters, and
    // the hidden saver gets none itself: watch them all and keep those over this window.
    qApp->installEventFilter(this);
    if (parent)
        parent->installEventFilter(this);
}

void Screensaver::setIsMusicActive(std::function<bool()> hook) {
    _isMusicActive = std::move(hook);
}

bool Screensaver::musicActive() const {
    return _isMusicActive && _isMusicActive();
}

void Screensaver::restartIdle() {
    _saverTimer.stop();
    // Hidden even while music plays: a press that starts the music must uncover the window.
    setClockVisible(false);
    hide();
    if (musicActive())
        return;
    _saverTimer.start();
    ensureTimer();
}

void Screensaver::activate() {
    coverParent();
    setBackground(NamedColors::color(u"notifierBackground", palette()).value_or(Qt::white));
    _saverTimer.stop();
    if (musicActive())
        return;
    setClockVisible(true);
    show();
    raise();
    ensureTimer();
}

void Screensaver::coverParent() {
    if (QWidget* parent = parentWidget())
        setGeometry(parent->rect());
}

bool Screensaver::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == window() && window()->isActiveWindow())
            restartIdle();
    } else if (event->type() == QEvent::Resize && watched == parentWidget() && isVisible()) {
        coverParent();
    }
    return false;
}
