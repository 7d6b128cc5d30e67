#include "shell/PropertiesController.h"

#include <gtest/gtest.h>

TEST(PropertiesController, PrefixEditsMarkTheSessionAndRefreshTheFolders) {
    auto playlist = std::make_shared<Playlist>();
    std::optional<QString> answer;
    int refreshed = 0;
    PropertiesController controller(
        playlist, [&](const QString&, auto done) { done(answer); }, [&] { ++refreshed; });
    controller.choosePrefixPressed();
    EXPECT_FALSE(playlist->dirty || refreshed) << "the chooser was cancelled";

    answer = "/media/music";
    controller.choosePrefixPressed();
    EXPECT_EQ(playlist->directoryPrefix(), "/media/music");
    EXPECT_TRUE(playlist->dirty && refreshed == 1);
    // The same text again is no change; emptied, the session falls back to the preference.
    playlist->dirty = false;
    controller.prefixEdited("/media/music ");
    EXPECT_FALSE(playlist->dirty || refreshed != 1);
    controller.prefixEdited("");
    EXPECT_FALSE(playlist->_directoryPrefix);
    EXPECT_TRUE(playlist->dirty && refreshed == 2);
}
