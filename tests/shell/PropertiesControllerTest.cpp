#include "shell/PropertiesController.h"

#include <gtest/gtest.h>

TEST(PropertiesController, AChosenPrefixMarksTheSessionAndRefreshesTheFolders) {
    auto playlist = std::make_shared<Playlist>();
    int refreshed = 0;
    PropertiesController controller(
        playlist, [](const QString&, auto done) { done(QStringLiteral("/media/music")); },
        [&] { ++refreshed; });
    controller.choosePrefixPressed();
    EXPECT_EQ(playlist->directoryPrefix(), "/media/music");
    EXPECT_TRUE(playlist->dirty && refreshed == 1);
}
