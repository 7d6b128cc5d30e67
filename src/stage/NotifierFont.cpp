#include "stage/NotifierFont.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <limits>

QFont NotifierFont::base() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPointSizeF(measureSize);
    return font;
}

double NotifierFont::fittedSize(QSizeF measured, QSizeF box) {
    constexpr double unbounded = std::numeric_limits<double>::infinity();
    const double byWidth = measured.width() > 0 ? (box.width() - 5) / measured.width() : unbounded;
    const double byHeight =
        measured.height() > 0 ? (box.height() - 5) / (measured.height() * 0.77) : unbounded;
    const double scale = std::min(byWidth, byHeight);
    return std::isfinite(scale) ? std::max(1.0, measureSize * scale) : 1.0;
}

QFont NotifierFont::fitted(const QString& text, QSizeF box) {
    QFont font = base();
    const QFontMetricsF metrics(font);
    font.setPointSizeF(fittedSize({metrics.horizontalAdvance(text), metrics.height()}, box));
    return font;
}
