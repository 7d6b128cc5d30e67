#include "shell/WaveformView.h"

#include "stage/NamedColors.h"
#include "waveform/WaveFormDrawer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPropertyAnimation>

WaveformView::WaveformView(QWidget* parent)
    : QWidget(parent), fade(new QPropertyAnimation(this, "opacity", this)) {
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->setDuration(int(fadeDuration.count()));
    // The view paints its own background, so the cursor's strip repainted on every tick does not
    // repaint the widgets beneath it too.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WaveformView::showTrack(const std::optional<QUrl>& newTrack) {
    track = newTrack;
    redraw();
}

void WaveformView::redraw() {
    fade->stop();
    _image = QImage();
    pixmap = QPixmap();
    update();
    if (!track || width() <= 0 || height() <= 0)
        return;
    extractor.extractSamples(
        *track, std::nullopt, width(),
        [this](const std::vector<float>& samples, float sampleMax, const std::optional<QString>&) {
            extracted(samples, sampleMax);
        },
        [](const SamplesExtractorError&, const std::optional<QString>&) {});
}

void WaveformView::extracted(const std::vector<float>& samples, float sampleMax) {
    const auto configuration = mainWindowWaveformConfiguration(
        QSizeF(size()), NamedColors::color(u"waveformColor", palette()));
    std::optional<QImage> drawn = WaveFormDrawer().waveformImage(samples, configuration, sampleMax);
    if (!drawn)
        return;
    _image = *drawn;
    pixmap = QPixmap::fromImage(_image);
    setOpacity(0.0);
    fade->start();
    emit imageShown();
}

void WaveformView::setOpacity(qreal opacity) {
    _opacity = opacity;
    update();
}

void WaveformView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, palette().window());
    if (pixmap.isNull())
        return;
    painter.setOpacity(_opacity);
    painter.drawPixmap(dirty, pixmap, dirty);
}
