#pragma once
// A marker on the time slider at a time of the track: a borderless symbol whose frame (the part
// that takes clicks) is the slider's button size, while the symbol may reach beyond it. A press
// seeks like a press on the slider; a right press offers to remove the marker.

#include <QAbstractButton>
#include <QImage>

class QMenu;
class TimeSlider;

class TimeSliderButton : public QAbstractButton {
    Q_OBJECT
public:
    TimeSliderButton(TimeSlider* timeSlider, double time);

    virtual QString markerName() const { return QStringLiteral("Button"); }
    // How the marker describes itself in the console line of its removal.
    QString description() const;
    // Centres the frame on (x, y) of the slider.
    void placeAt(double x, double y);
    // The marker's context menu: its name (disabled) and " Remove".
    QMenu* makeMenu();
    // Asks the slider to remove what the marker stands for.
    void remove();

    const double time;
    TimeSlider* const timeSlider;

protected:
    // The symbol, drawn in `color` at `side` pixels from the named SVG resource.
    void setSymbol(const QString& name, const QColor& color, int side);
    virtual void removeFromSlider() = 0;

    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    QImage normalImage;

private:
    QRectF frame() const;
    double sliderX(const QMouseEvent* event) const;
};
