#include "model/WallClock.h"

namespace {
std::function<QDateTime()>& source() {
    static std::function<QDateTime()> current;
    return current;
}
} // namespace

QDateTime WallClock::now() {
    return source() ? source()() : QDateTime::currentDateTime();
}

void WallClock::setSource(std::function<QDateTime()> newSource) {
    source() = std::move(newSource);
}
