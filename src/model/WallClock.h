#pragma once
// The model's one source of "now". Ageing and play dates read it, so tests can stand at any
// moment (00:01 after a late play, 3 h 59 min after a play) without waiting for the wall clock.

#include <QDateTime>
#include <functional>

class WallClock {
public:
    static QDateTime now();

    // Replaces the wall clock; an empty function restores it.
    static void setSource(std::function<QDateTime()> source);
};
