// The session flow: New, Close and Save As around unsaved sessions, a file that cannot be opened
// or written, and the session kept on disk through a crash (the
// untitled one coming back after a kill is driven end to end in tests/e2e/evening.py). Quitting
// with a dirty session is in AppDelegateTest.

#include "MainViewFixture.h"

#include <QSettings>

using SessionControllerTest = MainViewFixture;

TEST_F(SessionControllerTest, cancellingTheSaveOfAListNeverSavedStopsNewCloseAndQuit) {
    const std::vector<std::pair<const char*, std::function<void()>>> commands{
        {"New", [this] { sessions().newSession(); }},
        {"Close", [this] { sessions().closeSession(); }},
        {"Quit", [this] {
             bool terminated = false;
             sessions().applicationShouldTerminate([&] { terminated = true; });
             EXPECT_FALSE(terminated);
         }}};
    playlist().allEntries.push_back(newEntry("c.wav", 1.0));
    int shown = 0;
    for (const auto& [name, command] : commands) {
        playlist().dirty = true;
        command();
        EXPECT_EQ(panels.saveShown, ++shown) << name;
        EXPECT_EQ(playlist().allEntries.size(), 1u) << name;
        EXPECT_TRUE(playlist().dirty) << name << ": the next quit must ask again";
    }
}

TEST_F(SessionControllerTest, saveAsWritesTheSessionAndRemembersIt) {
    playlist().allEntries.push_back(newEntry("b.wav", 1.0));
    playlist().dirty = true;
    const QUrl target = QUrl::fromLocalFile(dir.filePath("Evening.varlin"));
    panels.saveAnswer = target;
    sessions().saveAsSession();
    EXPECT_EQ(sessions().sessionURL(), target);
    EXPECT_FALSE(playlist().dirty);
    EXPECT_TRUE(Playlist::open(target, nullptr));
    EXPECT_EQ(QSettings().value(SessionController::lastSessionURLKey).toUrl(), target);
    EXPECT_TRUE(AppState::read().has_value()) << "a saved session leaves a run state";
}

TEST_F(SessionControllerTest, aSessionThatCannotBeOpenedLeavesAnEmptySessionAndSaysWhy) {
    const QUrl good = openSession({"a.wav"}, 1.0, 0);
    const QString broken = dir.filePath("Broken.varlin");
    ASSERT_TRUE(putBadFile(broken, "not a property list"));
    DiagnosticCapture capture;
    sessions().openSessionReplacing(QUrl::fromLocalFile(broken));
    ASSERT_EQ(capture.lines().size(), 1) << capture.lines().join('\n').toStdString();
    EXPECT_TRUE(capture.lines().first().contains(broken));
    EXPECT_TRUE(playlist().allEntries.empty());
    EXPECT_FALSE(sessions().sessionURL()) << "later saves must not land on another file";
    EXPECT_TRUE(Playlist::open(good, nullptr)) << "the previous session is whole";
}

TEST_F(SessionControllerTest, aFailedSaveKeepsTheSessionAndSaysSo) {
    const QUrl url = openSession({"a.wav", "b.wav"}, 1.0);
    playlist().dirty = true;
    ASSERT_TRUE(QFile::remove(url.toLocalFile()));
    ASSERT_TRUE(putBadFile(url.toLocalFile(), {})) << "a folder where the file was";
    DiagnosticCapture capture;
    bool continued = false;
    sessions().saveIfNeeded([&] { continued = true; });
    EXPECT_FALSE(continued);
    EXPECT_TRUE(playlist().dirty);
    ASSERT_EQ(capture.lines().size(), 1);
    EXPECT_TRUE(capture.lines().first().startsWith(QLatin1String("Session not saved")));

    sessions().newSession();
    EXPECT_EQ(playlist().allEntries.size(), 2u) << "New must not drop what could not be saved";
    EXPECT_FALSE(sessions().saveSessionQuietly());
}

class KeptSessionTest : public MainViewFixture {
protected:
    QString recovery() const { return SessionController::recoveryURL().toLocalFile(); }

    // An untitled session of two tracks, the second current at 1.5 s, kept on disk.
    void keepUntitled() {
        for (const char* name : {"a.wav", "b.wav"})
            playlist().allEntries.push_back(newEntry(name, 3.0));
        playlist().dirty = true;
        EXPECT_TRUE(sessions().keepPending());
        EXPECT_FALSE(QFile::exists(recovery())) << "kept after a delay, not at once";
        controller->selectRows({1});
        controller->setCurrentEntry(1);
        player().setCurrentTime(1.5);
        sessions().keepSession();
        EXPECT_FALSE(sessions().keepPending());
        ASSERT_TRUE(QFile::exists(recovery()));
    }
};

TEST_F(KeptSessionTest, theRecoveryFileGoesWithTheUntitledSession) {
    const std::vector<std::pair<const char*, std::function<void()>>> endings{
        {"saved under a name",
         [this] {
             panels.saveAnswer = QUrl::fromLocalFile(dir.filePath("Named.varlin"));
             sessions().saveAsSession();
         }},
        {"closed (after saving)",
         [this] {
             panels.saveAnswer = QUrl::fromLocalFile(dir.filePath("Closed.varlin"));
             sessions().closeSession();
         }},
        {"emptied",
         [this] {
             playlist().allEntries.clear();
             sessions().keepSession();
         }},
    };
    for (const auto& [name, ending] : endings) {
        sessions().clearSession();
        keepUntitled();
        ending();
        EXPECT_FALSE(QFile::exists(recovery())) << name;
    }
}

TEST_F(KeptSessionTest, aNamedSessionWithChangesIsKeptInItsOwnFileAndStaysDirty) {
    const QUrl url = openSession({"a.wav", "b.wav"}, 1.0);
    entry(1)->isCheckmarked = true;
    playlist().dirty = true;
    ASSERT_TRUE(sessions().keepPending());
    sessions().keepSession();
    const auto kept = Playlist::open(url, nullptr);
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->allEntries[1]->isCheckmarked);
    EXPECT_TRUE(playlist().dirty) << "quitting must still log the entry and save";
    EXPECT_FALSE(QFile::exists(recovery()));
}

TEST_F(KeptSessionTest, whenARunStateAndARecoveryFileAreBothThereTheNewerWins) {
    const QUrl dance = session("Dance.varlin", {"x.wav"}, 1.0);
    for (const bool recoveryNewer : {true, false}) {
        SCOPED_TRACE(recoveryNewer ? "recovery newer" : "run state newer");
        restart();
        QFile::remove(recovery());
        keepUntitled();
        AppState state;
        state.playlistURL = dance;
        ASSERT_TRUE(state.write());
        QFile kept(recovery());
        ASSERT_TRUE(kept.open(QIODevice::ReadWrite));
        ASSERT_TRUE(kept.setFileTime(QDateTime::currentDateTime().addSecs(recoveryNewer ? 60 : -60),
                                     QFileDevice::FileModificationTime));
        kept.close();

        restart();
        DiagnosticCapture capture;
        controller->firstActivation();
        if (recoveryNewer) {
            EXPECT_FALSE(sessions().sessionURL());
            EXPECT_EQ(playlist().allEntries.size(), 2u);
            EXPECT_TRUE(capture.lines().isEmpty());
        } else {
            // The recovery file is set aside, not lost.
            EXPECT_EQ(sessions().sessionURL(), dance);
            EXPECT_FALSE(QFile::exists(recovery()));
            ASSERT_EQ(capture.lines().size(), 1);
            const QString aside = capture.lines()[0].section(" kept as ", 1);
            EXPECT_EQ(Playlist::open(QUrl::fromLocalFile(aside), nullptr)->allEntries.size(), 2u);
        }
    }
}
