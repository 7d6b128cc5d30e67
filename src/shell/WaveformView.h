#pragma once
// The waveform of the current track behind the time slider: extracted off the main thread for
// the view's width, drawn with the main window's configuration and faded in over four seconds.

#include "waveform/SamplesExtractor.h"

#include <QImage>
#include <QPixmap>
#include <QUrl>
#include <QWidget>
#include <chrono>
#include <optional>

class QPropertyAnimation;

class WaveformView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qreal opacity READ opacity WRITE setOpacity)
public:
    static constexpr std::chrono::milliseconds fadeDuration{4000};

    explicit WaveformView(QWidget* parent = nullptr);

    // Removes the picture and extracts the track's loudness anew; none leaves the view empty.
    void showTrack(const std::optional<QUrl>& track);
    // The same track again, for the view's present size.
    void redraw();

    const QImage& image() const { return _image; }
    qreal opacity() const { return _opacity; }
    void setOpacity(qreal opacity);
    QPropertyAnimation* fadeAnimation() const { return fade; }

signals:
    // A new picture is in place and fading in.
    void imageShown();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void extracted(const std::vector<float>& samples, float sampleMax);

    SamplesExtractor extractor;
    std::optional<QUrl> track;
    QImage _image;
    // The picture as the screen draws it fastest (the slider above repaints it every tick).
    QPixmap pixmap;
    qreal _opacity = 1.0;
    QPropertyAnimation* fade;
};
