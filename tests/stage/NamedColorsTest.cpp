#include "stage/NamedColors.h"

#include <gtest/gtest.h>

TEST(NamedColors, NotifierPairContrastsInLightAndDark) {
    const QPalette light(Qt::black, QColor(240, 240, 240));
    const QPalette dark(Qt::white, QColor(30, 30, 30));
    ASSERT_FALSE(NamedColors::isDark(light));
    ASSERT_TRUE(NamedColors::isDark(dark));
    for (const QPalette& palette : {light, dark}) {
        const auto background = NamedColors::color(u"notifierBackground", palette);
        const auto foreground = NamedColors::color(u"notifierForeground", palette);
        ASSERT_TRUE(background && foreground);
        EXPECT_GT(std::abs(background->lightness() - foreground->lightness()), 200);
        // The background follows the appearance, so the flash does not glare in a dark room.
        EXPECT_EQ(background->lightness() < 128, NamedColors::isDark(palette));
    }
    EXPECT_FALSE(NamedColors::color(u"noSuchColour", light));
}
