#pragma once
// Common life of the notifier overlays. The instance placed in the window is a hidden template;
// each message makes a fresh copy that covers the template's parent, fades from opacity 1 to 0
// and then removes itself, so several can fade at once with the newest on top.

#include <QWidget>
#include <chrono>

class QPropertyAnimation;

class NotifierView : public QWidget {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds defaultFadeDuration{1000};

    // The copy's fade, running while it is on screen (tests move it to any point).
    QPropertyAnimation* fadeAnimation() const { return _fade; }

    std::chrono::milliseconds fadeDuration() const { return _fadeDuration; }

protected:
    NotifierView(QWidget* parent, std::chrono::milliseconds fadeDuration);

    // Shows a copy made by a subclass's show(): fills its parent, raises it and starts its fade.
    void present(NotifierView* copy);

    virtual void drawContent(QPainter& painter) = 0;
    void paintEvent(QPaintEvent* event) override;

    QColor foreground() const;

private:
    std::chrono::milliseconds _fadeDuration;
    QPropertyAnimation* _fade = nullptr;
};
