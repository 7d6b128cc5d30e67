#include "model/AppState.h"

#include "ModelTestSupport.h"
#include "model/PlistCodec.h"
#include "platform/Diagnostics.h"
#include "support/BadFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    DiagnosticCapture capture;
    EXPECT_FALSE(AppState::read(&reason));
    EXPECT_TRUE(reason.endsWith("missing key \"currentTime\"")) << reason.toStdString();
    EXPECT_EQ(capture.lines().size(), 1);

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

TEST(AppState, AStateThatCannotBeReadIsSetAsideBesideTheOlderOnes) {
    const QString path = AppState::stateFileURL().toLocalFile();
    const QByteArray good = [] {
        AppState state;
        state.playlistURL = QUrl::fromLocalFile("/s.varlin");
        return PlistCodec::encode(state.encode());
    }();
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"truncated", good.left(good.size() - 9)},
        {"garbage", "\x07\xff not a property list"},
        {"an array", PlistCodec::encode(CodecValue::array({CodecValue::real(1)}))},
        {"a session", PlistCodec::encode(CodecValue::dict({{"playlist", CodecValue::array({})}}))},
        {"a folder", {}},
    };
    QStringList asideNames;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(putBadFile(path, c.bytes));
        DiagnosticCapture capture;
        EXPECT_FALSE(AppState::read());
        EXPECT_FALSE(QFileInfo::exists(path));
        ASSERT_EQ(capture.lines().size(), 1);
        const QString aside = capture.lines()[0].section(" set aside as ", 1);
        EXPECT_TRUE(aside.endsWith(".bad")) << capture.lines()[0].toStdString();
        asideNames << QFileInfo(aside).fileName();
        if (!c.bytes.isEmpty()) {
            QFile kept(aside);
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
            EXPECT_EQ(kept.readAll(), c.bytes);
        }
    }
    EXPECT_EQ(asideNames, (QStringList{"state.plist.bad", "state.plist.2.bad", "state.plist.3.bad",
                                       "state.plist.4.bad", "state.plist.5.bad"}));
    // A missing state is no fault: nothing is said.
    DiagnosticCapture capture;
    EXPECT_FALSE(AppState::read());
    EXPECT_TRUE(capture.lines().isEmpty());
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
