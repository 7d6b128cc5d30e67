#include "waveform/WaveformConfiguration.h"

WaveformConfiguration::WaveformConfiguration(QSizeF size, QColor color, QColor backgroundColor,
                                             WaveformStyle style, WaveformPosition position,
                                             double scale, double borderWidth, QColor borderColor,
                                             std::optional<double> paddingFactor)
    : size(size), color(color), backgroundColor(backgroundColor), style(style), position(position),
      scale(scale), borderWidth(borderWidth), borderColor(borderColor),
      paddingFactor(paddingFactor) {}

WaveformConfiguration mainWindowWaveformConfiguration(QSizeF size,
                                                      std::optional<QColor> waveformColor) {
    const QColor red(255, 0, 0);
    return WaveformConfiguration(
        size, waveformColor.value_or(red), QColor::fromRgbF(0.02f, 0.02f, 0.02f, 0.02f),
        WaveformStyle::filled(), WaveformPosition::top, 1.0, 0.0, red, std::nullopt);
}
