#include "model/AppState.h"

#include "model/PlistCodec.h"
#include "platform/Diagnostics.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

// The place, entry, position and zeros come back through the main view's restart test and the
// end-to-end evening, which reads and writes the file with plistlib; optional keys of another type
// are read by the same reader as the session file's, tested there.
TEST(AppState, WriteReadRemoveAndAFailedWrite) {
    AppState state;
    state.currentTime = 93.5;
    state.currentTimeRangeSet =
        std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0, 12}, {40, 93.5}});
    ASSERT_TRUE(state.write());
    const std::optional<AppState> read = AppState::read();
    ASSERT_TRUE(read && read->currentTimeRangeSet);
    EXPECT_EQ(*read->currentTimeRangeSet, *state.currentTimeRangeSet);
    EXPECT_FALSE(read->playlistURL || read->zeros) << "what was not set is not written";

    AppState::remove();
    QString reason;
    EXPECT_FALSE(AppState::read(&reason));
    EXPECT_TRUE(reason.startsWith("can't read "));
    // A folder where the state file goes makes the replacement fail.
    ASSERT_TRUE(QDir().mkpath(AppState::stateFileURL().toLocalFile()));
    EXPECT_FALSE(state.write(&reason));
    EXPECT_TRUE(reason.startsWith("can't write ")) << reason.toStdString();
}

TEST(AppState, AStateThatCannotBeReadIsSetAsideBesideTheOlderOnes) {
    const QString path = AppState::stateFileURL().toLocalFile();
    AppState good;
    good.playlistURL = QUrl::fromLocalFile("/s.varlin");
    const QByteArray goodBytes = PlistCodec::encode(good.encode());
    const QByteArray cases[] = {
        goodBytes.left(goodBytes.size() - 9),
        "\x07\xff not a property list",
        PlistCodec::encode(CodecValue::array({CodecValue::real(1)})),
        // A session: no "currentTime", without which the state is of no use.
        PlistCodec::encode(CodecValue::dict({{"playlist", CodecValue::array({})}})),
        {}, // a folder
    };
    QStringList asideNames;
    for (const QByteArray& bytes : cases) {
        SCOPED_TRACE(bytes.toStdString());
        ASSERT_TRUE(putBadFile(path, bytes));
        DiagnosticCapture capture;
        EXPECT_FALSE(AppState::read());
        EXPECT_FALSE(QFileInfo::exists(path));
        ASSERT_EQ(capture.lines().size(), 1);
        const QString aside = capture.lines()[0].section(" set aside as ", 1);
        asideNames << QFileInfo(aside).fileName();
        EXPECT_EQ(readFile(aside), bytes) << "kept whole (a folder reads as nothing)";
    }
    EXPECT_EQ(asideNames, (QStringList{"state.plist.bad", "state.plist.2.bad", "state.plist.3.bad",
                                       "state.plist.4.bad", "state.plist.5.bad"}));
    // A missing state is no fault: nothing is said.
    DiagnosticCapture capture;
    EXPECT_FALSE(AppState::read());
    EXPECT_TRUE(capture.lines().isEmpty());
}
