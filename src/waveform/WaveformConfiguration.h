#pragma once
// Everything that decides how a waveform image looks, and the one configuration the main window
// draws with.

#include "waveform/WaveformPosition.h"
#include "waveform/WaveformStyle.h"

#include <QColor>
#include <QSizeF>
#include <optional>

struct WaveformConfiguration {
    WaveformConfiguration(QSizeF size, QColor color, QColor backgroundColor, WaveformStyle style,
                          WaveformPosition position, double scale, double borderWidth,
                          QColor borderColor, std::optional<double> paddingFactor);

    QSizeF size;
    QColor color;
    QColor backgroundColor;
    WaveformStyle style;
    WaveformPosition position;
    double scale;       // points per value along x are 1 / scale
    double borderWidth; // 0: no border
    QColor borderColor;
    std::optional<double> paddingFactor; // divisor of the height for a full-scale half bar

    bool drawCentraLine = false;
    double centralLineWidth = 2.0;
    QColor centralLineColor = QColor(255, 0, 0);
};

// The main window's waveform: filled bars standing on the bottom edge over a nearly clear
// background. `waveformColor` is the application's named colour; pure red when there is none.
WaveformConfiguration mainWindowWaveformConfiguration(QSizeF size,
                                                      std::optional<QColor> waveformColor = {});
