#include "stage/NamedColors.h"

namespace {

struct Variants {
    QStringView name;
    QRgb light;
    QRgb dark;
};

// The notifier pair is near-black on near-white (and the reverse) so that a flash reads across a
// hall; the red is the usual system hue, a little brighter on dark backgrounds.
constexpr Variants variants[] = {
    {u"notifierBackground", 0xfff7f5f0, 0xff16181c},
    {u"notifierForeground", 0xff15171a, 0xfff4f2ec},
    {u"systemRed", 0xffff3b30, 0xffff453a},
};

} // namespace

std::optional<QColor> NamedColors::color(QStringView name, const QPalette& palette) {
    for (const Variants& v : variants) {
        if (v.name == name)
            return QColor::fromRgb(isDark(palette) ? v.dark : v.light);
    }
    return std::nullopt;
}

bool NamedColors::isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}
