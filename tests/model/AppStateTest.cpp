#include "model/AppState.h"

#include "ModelTestSupport.h"
#include "model/PlistCodec.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {
void writeState(const CodecValue& root) {
    writeFile(AppState::stateFileURL().toLocalFile(), PlistCodec::encode(root));
}

// Whether none of the optional fields came back.
bool bare(const AppState& state) {
    return !state.playlistURL && !state.currentEntryIndex && !state.currentTimeRangeSet &&
           !state.zeros;
}
} // namespace

TEST(AppState, WriteReadAndRemoveInTheUserDataFolder) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           "/net.brenmoor.varlin";
    EXPECT_EQ(AppState::stateFileURL(), QUrl::fromLocalFile(folder + "/state.plist"));
    AppState state;
    state.playlistURL = QUrl::fromLocalFile("/home/caller/Session.varlin");
    state.currentTime = 93.5;
    state.currentEntryIndex = 4;
    state.currentTimeRangeSet =
        std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0, 12}, {40, 93.5}});
    state.zeros = std::vector<double>{3.0, 60.25};
    ASSERT_TRUE(state.write());
    std::optional<AppState> read = AppState::read();
    ASSERT_TRUE(read && read->currentTimeRangeSet);
    EXPECT_EQ(
        std::tuple(read->playlistURL, read->currentTime, read->currentEntryIndex, read->zeros),
        std::tuple(state.playlistURL, 93.5, 4, state.zeros));
    EXPECT_EQ(*read->currentTimeRangeSet, *state.currentTimeRangeSet);

    AppState nothingElse;
    nothingElse.currentTime = 1;
    ASSERT_TRUE(nothingElse.write());
    read = AppState::read();
    ASSERT_TRUE(read);
    EXPECT_TRUE(bare(*read));

    AppState::remove();
    QString reason;
    EXPECT_FALSE(AppState::read(&reason));
    EXPECT_TRUE(reason.startsWith("can't read "));
}

TEST(AppState, WithoutCurrentTimeTheStateIsNotUsedAndOtherKeysOfAnotherTypeAreLeftOut) {
    writeState(CodecValue::dict({{"playlistURL", CodecValue::url(QUrl::fromLocalFile("/s.varlin"))},
                                 {"currentEntryIndex", CodecValue::integer(2)}}));
    QString reason;
    EXPECT_FALSE(AppState::read(&reason));
    EXPECT_TRUE(reason.endsWith("missing key \"currentTime\"")) << reason.toStdString();

    writeState(CodecValue::dict({{"playlistURL", CodecValue::integer(3)},
                                 {"currentTime", CodecValue::real(7)},
                                 {"currentEntryIndex", CodecValue::string("2")},
                                 {"currentTimeRangeSet", CodecValue::dict({})},
                                 {"zeros", CodecValue::string("1, 2")}}));
    std::optional<AppState> state = AppState::read();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->currentTime, 7);
    EXPECT_TRUE(bare(*state));
}

TEST(AppState, FailedWriteReportsAReason) {
    // A folder where the state file goes makes the replacement fail.
    QFile::remove(AppState::stateFileURL().toLocalFile());
    ASSERT_TRUE(QDir().mkpath(AppState::stateFileURL().toLocalFile()));
    AppState state;
    state.currentTime = 20;
    QString reason;
    EXPECT_FALSE(state.write(&reason));
    EXPECT_TRUE(reason.startsWith("can't write ")) << reason.toStdString();
}
