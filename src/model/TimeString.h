#pragma once
// The one minutes-and-seconds formatter of the program: displays, table and notes file.

#include <QString>

// Minutes right-aligned in `width` characters, a colon, two-digit seconds and, with
// decimals > 0, that many fraction digits; truncated toward zero, never rounded. Minutes are
// not reduced to hours. A time that is not finite or too large gives "--:--".
QString timeString(int decimals, int width, double seconds);
