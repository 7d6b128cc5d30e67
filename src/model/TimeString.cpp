#include "model/TimeString.h"

#include <algorithm>
#include <cmath>

QString timeString(int decimals, int width, double seconds) {
    decimals = std::clamp(decimals, 0, 18);
    qint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const double scaled = seconds * double(scale);
    // 2^63 is the first value that no longer fits a 64-bit integer.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9223372036854775808.0)
        return QStringLiteral("--:--");
    const qint64 total = qint64(scaled);
    // Whole seconds first, so that scale x 60 never has to fit in 64 bits.
    const qint64 whole = total / scale;
    QString text = QString::asprintf("%*lld:%02lld", width, whole / 60, whole % 60);
    if (decimals > 0)
        text += QString::asprintf(".%0*lld", decimals, total - whole * scale);
    return text;
}
