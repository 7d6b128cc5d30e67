#include "shell/PropertiesController.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(PropertiesController, PrefixEditsMarkTheSessionAndRefreshTheFolders) {
    auto playlist = std::make_shared<Playlist>();
    std::optional<QString> answer;
    int refreshed = 0;
    PropertiesController controller(
        playlist, [&](const QString&, auto done) { done(answer); }, [&] { ++refreshed; });
    EXPECT_EQ(controller.sessionUrlText(), "Not saved yet");
    EXPECT_EQ(controller.prefixText(), "");

    controller.choosePrefixPressed();
    EXPECT_FALSE(playlist->dirty);
    EXPECT_EQ(refreshed, 0);

    answer = "/media/music";
    controller.choosePrefixPressed();
    EXPECT_EQ(playlist->directoryPrefix(), "/media/music");
    EXPECT_TRUE(playlist->dirty);
    EXPECT_EQ(refreshed, 1);

    // The same text again is no change.
    playlist->dirty = false;
    controller.prefixEdited("/media/music ");
    EXPECT_FALSE(playlist->dirty);
    EXPECT_EQ(refreshed, 1);

    // Emptied: the session falls back to the preference.
    controller.prefixEdited("");
    EXPECT_FALSE(playlist->_directoryPrefix);
    EXPECT_TRUE(playlist->dirty);
    EXPECT_EQ(refreshed, 2);

    playlist->url = QUrl::fromLocalFile("/home/caller/Friday.varlin");
    EXPECT_EQ(controller.sessionUrlText(), "/home/caller/Friday.varlin");
}
