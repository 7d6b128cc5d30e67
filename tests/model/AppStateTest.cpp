#include "model/AppState.h"

#include "model/PlistCodec.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {
void writeState(const CodecValue& root) {
    QFile file(AppState::stateFileURL().toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(PlistCodec::encode(root));
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
    ASSERT_TRUE(read);
    EXPECT_EQ(read->playlistURL, state.playlistURL);
    EXPECT_EQ(read->currentTime, 93.5);
    EXPECT_EQ(read->currentEntryIndex, 4);
    ASSERT_TRUE(read->currentTimeRangeSet);
    EXPECT_EQ(*read->currentTimeRangeSet, *state.currentTimeRangeSet);
    EXPECT_EQ(read->zeros, state.zeros);

    AppState bare;
    bare.currentTime = 1;
    ASSERT_TRUE(bare.write());
    read = AppState::read();
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->playlistURL || read->currentEntryIndex || read->currentTimeRangeSet ||
                 read->zeros);

    AppState::remove();
    QString reason;
    EXPECT_FALSE(AppState::read(&reason));
    EXPECT_TRUE(reason.startsWith("can't read "));
}

TEST(AppState, WithoutCurrentTimeTheStateIsNotUsed) {
    writeState(CodecValue::dict({{"playlistURL", CodecValue::url(QUrl::fromLocalFile("/s.varlin"))},
                                 {"currentEntryIndex", CodecValue::integer(2)}}));
    QString reason;
    EXPECT_FALSE(AppState::read(&reason));
    EXPECT_TRUE(reason.endsWith("missing key \"currentTime\"")) << reason.toStdString();

    // Optional keys of another type are left out; the rest is used.
    writeState(CodecValue::dict({{"playlistURL", CodecValue::integer(3)},
                                 {"currentTime", CodecValue::real(7)},
                                 {"currentEntryIndex", CodecValue::string("2")},
                                 {"currentTimeRangeSet", CodecValue::dict({})},
                                 {"zeros", CodecValue::string("1, 2")}}));
    std::optional<AppState> state = AppState::read();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->currentTime, 7);
    EXPECT_FALSE(state->playlistURL || state->currentEntryIndex || state->currentTimeRangeSet ||
                 state->zeros);
}

TEST(AppState, FailedWriteReportsAReason) {
    AppState first;
    first.currentTime = 10;
    ASSERT_TRUE(first.write());
    const QString path = AppState::stateFileURL().toLocalFile();
    // A folder where the temporary file would go makes the replacement fail.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path));
    AppState second;
    second.currentTime = 20;
    QString reason;
    EXPECT_FALSE(second.write(&reason));
    EXPECT_TRUE(reason.startsWith("can't write ")) << reason.toStdString();
}
