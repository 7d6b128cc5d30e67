#pragma once
// The application's named colours, each with a light and a dark variant chosen by the lightness
// of the palette's window colour.

#include <QColor>
#include <QPalette>
#include <QStringView>
#include <optional>

class NamedColors {
public:
    // None for a name the application does not define.
    static std::optional<QColor> color(QStringView name, const QPalette& palette);

    static bool isDark(const QPalette& palette);
};
