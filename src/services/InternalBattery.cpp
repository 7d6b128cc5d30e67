#include "services/InternalBattery.h"

namespace {

std::optional<double> percent(std::optional<int> part, std::optional<int> whole) {
    if (!part || !whole || *whole <= 0)
        return std::nullopt;
    return double(*part) / double(*whole) * 100.0;
}

} // namespace

std::optional<double> InternalBattery::charge() const {
    return percent(currentCapacity, maxCapacity);
}

std::optional<double> InternalBattery::health() const {
    return percent(maxCapacity, designCapacity);
}

std::optional<int> InternalBattery::timeLeft() const {
    if (!isCharging)
        return std::nullopt;
    return *isCharging ? timeToFull : timeToEmpty;
}

QString InternalBattery::timeLeftText() const {
    const std::optional<int> minutes = timeLeft();
    if (!minutes || *minutes < 1)
        return QStringLiteral("-");
    return QString::asprintf("%.2d:%.2d", *minutes / 60, *minutes % 60);
}
