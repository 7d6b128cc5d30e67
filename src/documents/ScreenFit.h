#pragma once
// Window sizes that fit the screen: a window asks for the size its content reads best at, and
// gets at most what the screen it shows on has free (panels and docks left out, room kept for
// the title bar), so that no part of it lies out of reach on a small laptop screen.

#include <QSize>

class QWidget;

// Resizes the top-level `window` to `wanted`, bounded by the available area of its screen.
void resizeToFit(QWidget& window, QSize wanted);
