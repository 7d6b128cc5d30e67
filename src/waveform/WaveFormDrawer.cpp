#include "waveform/WaveFormDrawer.h"

#include "platform/Diagnostics.h"
#include "waveform/SamplesExtractor.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

QColor highlight(const QColor& color) {
    const auto halfwayToWhite = [](float component) { return component + (1.0f - component) / 2; };
    return QColor::fromRgbF(halfwayToWhite(color.redF()), halfwayToWhite(color.greenF()),
                            halfwayToWhite(color.blueF()), color.alphaF());
}

// The bars as filled rectangles rather than stroked segments: overlapping neighbours then merge
// into one antialiased area instead of stacking their partly covered edge pixels.
void drawBars(QPainter& painter, const std::vector<float>& samples,
              const WaveformConfiguration& configuration, float sampleMax) {
    const double height = configuration.size.height();
    const double centre = height / 2 + height / 2 * static_cast<int>(configuration.position);
    const double defaultPadding = configuration.position == WaveformPosition::middle ? 2.5 : 1.5;
    const double amplitudeScale = height / configuration.paddingFactor.value_or(defaultPadding);
    const double lineWidth = 1.0 / configuration.scale;
    const bool striped = configuration.style.kind == WaveformStyle::Kind::striped;

    double maxAmplitude = sampleMax / SamplesExtractor::noiseFloor;
    QPainterPath bars;
    bars.setFillRule(Qt::WindingFill);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double x = double(i) / configuration.scale;
        const double amplitude = std::max(amplitudeScale * (1.0 - samples[i]), 2.0);
        maxAmplitude = std::max(maxAmplitude, amplitude);
        if (striped && static_cast<long long>(x) % configuration.style.period != 0)
            continue;
        bars.addRect(QRectF(x - lineWidth / 2, centre - amplitude, lineWidth, 2 * amplitude));
    }

    if (configuration.style.kind != WaveformStyle::Kind::gradient) {
        painter.fillPath(bars, configuration.color);
        return;
    }
    // A sampleMax of -inf (nothing was reduced) would stretch the gradient to infinity.
    if (!std::isfinite(maxAmplitude))
        maxAmplitude = amplitudeScale;
    QLinearGradient gradient(QPointF(0, centre - maxAmplitude), QPointF(0, centre + maxAmplitude));
    gradient.setColorAt(0, configuration.color);
    gradient.setColorAt(1, highlight(configuration.color));
    painter.setClipPath(bars);
    painter.fillRect(QRectF(QPointF(0, 0), configuration.size), gradient);
}

} // namespace

std::optional<QImage> WaveFormDrawer::waveformImage(const std::vector<float>& samples,
                                                    const WaveformConfiguration& configuration,
                                                    float sampleMax) const {
    const int width = static_cast<int>(configuration.size.width());
    const int height = static_cast<int>(configuration.size.height());
    if (width <= 0 || height <= 0)
        return std::nullopt;
    if (configuration.style.kind == WaveformStyle::Kind::striped &&
        configuration.style.period < 1) {
        printLine(QStringLiteral("waveform: striped period must be at least 1, not %1")
                      .arg(configuration.style.period));
        return std::nullopt;
    }
    QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
    if (image.isNull())
        return std::nullopt;
    image.fill(configuration.backgroundColor);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // y grows upward from the bottom edge.
    painter.translate(0, height);
    painter.scale(1, -1);

    painter.save();
    drawBars(painter, samples, configuration, sampleMax);
    painter.restore();

    if (configuration.borderWidth > 0) {
        painter.setPen(QPen(configuration.borderColor, configuration.borderWidth, Qt::SolidLine,
                            Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(0, 0, width, height));
    }
    if (configuration.drawCentraLine) {
        const double x = width / 2.0 - configuration.centralLineWidth;
        painter.setPen(QPen(configuration.centralLineColor, configuration.centralLineWidth,
                            Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(x, 0), QPointF(x, height));
    }
    return image;
}
