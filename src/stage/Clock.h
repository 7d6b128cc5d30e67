#pragma once
// The analogue clock: the toolbar's clock and the face of the screensaver. It draws only while its
// clock-visible flag is set, optionally over a background and with the break timer's ring. Its
// 1-second timer runs only while the widget is shown, and a firing repaints only when the picture
// would change.

#include <QColor>
#include <QDateTime>
#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QTimer;
class RestTimer;

class Clock : public QWidget {
    Q_OBJECT
public:
    using TimeSource = std::function<QDateTime()>;

    explicit Clock(QWidget* parent = nullptr);

    QColor fgColor() const { return _fgColor; }
    void setFgColor(const QColor& color);

    bool withSeconds() const { return _withSeconds; }
    void setWithSeconds(bool on);

    std::optional<QColor> background() const { return _background; }
    void setBackground(std::optional<QColor> color);

    RestTimer* restTimer() const { return _restTimer; }
    void setRestTimer(RestTimer* timer);

    // The flag that gates drawing; separate from the widget's own shown or hidden state.
    bool isClockVisible() const { return _visible; }
    void setClockVisible(bool on);

    double hourSizeFraction() const { return _hourSizeFraction; }
    void setHourSizeFraction(double fraction);

    // The 1-second redraw timer, none until ensureTimer() creates it; stopped while hidden.
    QTimer* timer() const { return _timer; }
    void ensureTimer();

    // Tests and screenshots stand the clock at any moment; the default reads the system clock.
    void setTimeSource(TimeSource source);
    QDateTime now() const;

    QSize sizeHint() const override;

public slots:
    // Schedules a repaint when the hands have moved visibly since the last one, or a break runs.
    void updateDisplay();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The hands' tips in quarter pixels (the second hand's only when it is drawn): sub-pixel steps
    // of a slow hand do not show, so a small clock need not repaint every second.
    using HandTips = std::array<QPoint, 3>;
    HandTips handTips(const QDateTime& moment) const;

    QColor _fgColor;
    bool _withSeconds = false;
    std::optional<QColor> _background;
    RestTimer* _restTimer = nullptr;
    bool _visible = false;
    double _hourSizeFraction = 0.7;
    QTimer* _timer = nullptr;
    TimeSource _timeSource;
    std::optional<HandTips> _paintedTips;
};
