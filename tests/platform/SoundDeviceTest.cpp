// The sound device on a real sound server: a private PulseAudio with null sinks, played through
// SDL's pulseaudio driver while parec records the sinks' monitors. Each scenario takes the
// device away under the music the way a desktop does, and prints the silence it measured.
//
// A monitor's recording starts late (its first block of up to two seconds is not delivered) but
// then runs in real time, so once it flows its sample count is a clock: the silence on the sink
// that takes over is measured on that clock. When the server itself goes, no recording spans the
// gap; it is measured from the server's end to the stream's return, polled with pactl.

#include "platform/Diagnostics.h"
#include "platform/audio/AudioFilePlayer.h"
#include "support/PrivateSoundServer.h"
#include "testaudio/TestAudio.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

// Enough to tell the tone from silence.
constexpr int recordRate = 8000;
// The null sinks play exact zeros; the tone peaks at half of full scale.
constexpr int soundLevel = 1000;
// A generous bound on waits for the server, so that a busy machine does not fail a test.
constexpr int patienceMs = 15000;

// A sink's monitor recorded with parec from its creation.
class MonitorRecording {
public:
    explicit MonitorRecording(const QString& sink) {
        parec.start("parec", {"-d", sink + ".monitor", "--raw", "--format=s16le", "--channels=1",
                              "--rate=" + QString::number(recordRate), "--latency-msec=10"});
        parec.waitForStarted();
    }

    // Seconds recorded by now, waiting until the recording reaches `atLeast` or ends.
    double length(double atLeast = 0) {
        const QDeadlineTimer deadline(patienceMs);
        while (take() && double(samples.size()) / recordRate < atLeast && !deadline.hasExpired())
            ;
        return double(samples.size()) / recordRate;
    }
    // When sound is first heard at or after `from` seconds of the recording, waiting for it.
    std::optional<double> soundAfter(double from) {
        const QDeadlineTimer deadline(patienceMs);
        for (auto i = size_t(from * recordRate);; ++i) {
            while (i >= samples.size() && !deadline.hasExpired() && take())
                ;
            if (i >= samples.size())
                return std::nullopt;
            if (std::abs(samples[i]) > soundLevel)
                return double(i) / recordRate;
        }
    }
    // Whether any sound is heard in [from, to), waiting until the recording reaches `to`.
    bool soundBetween(double from, double to) {
        const std::optional<double> sound = soundAfter(from);
        length(to);
        return sound && *sound < to;
    }

private:
    // Takes what parec has delivered, waiting a little for more; false once it has ended.
    bool take() {
        parec.waitForReadyRead(20);
        pending += parec.readAllStandardOutput();
        const qsizetype whole = pending.size() / 2 * 2;
        for (qsizetype i = 0; i < whole; i += 2)
            samples.push_back(int16_t(uint8_t(pending[i]) | uint8_t(pending[i + 1]) << 8));
        pending.remove(0, whole);
        return parec.state() != QProcess::NotRunning;
    }

    QProcess parec;
    QByteArray pending;
    std::vector<int16_t> samples;
};

class SoundDeviceTest : public testing::Test {
protected:
    void SetUp() override {
        if (!(server = PrivateSoundServer::startOrSkip({"speakers", "spare"})))
            return;
        // Read when the engine opens the device, at the first play.
        qputenv("SDL_AUDIODRIVER", "pulseaudio");
        testaudio::Spec tone;
        tone.seconds = 60;
        const QString path = dir.filePath("tone.wav");
        ASSERT_TRUE(testaudio::write(tone, testaudio::Container::Wav, path));
        player = AudioFilePlayer::create(QUrl::fromLocalFile(path));
        ASSERT_TRUE(player);
    }

    // Plays until a second of the tone has been heard on `sink`.
    void playOn(MonitorRecording& sink) {
        ASSERT_TRUE(player->play());
        const std::optional<double> first = sink.soundAfter(0);
        ASSERT_TRUE(first) << "no sound on the default sink";
        ASSERT_TRUE(sink.soundBetween(*first + 0.5, *first + 1.0));
    }

    // After sound came back at `resumed` in `recording`, lets a second more play and checks that
    // the position went on from `before` by about what was heard (within `slack`), not from the
    // start.
    void expectPositionCarriedOn(MonitorRecording& recording, double resumed, double before,
                                 double slack) {
        ASSERT_TRUE(recording.soundBetween(resumed + 0.5, resumed + 1.0));
        EXPECT_GT(player->currentTime(), before + 0.5);
        EXPECT_LT(player->currentTime(), before + 1.0 + slack);
    }

    // Runs `command` while the music plays, and expects it to sound on `target` within a second,
    // going on from where it was.
    void expectMovedTo(MonitorRecording& target, const char* what, const QStringList& command) {
        ASSERT_GE(target.length(0.2), 0.2) << "the recording did not start";
        const double before = player->currentTime();
        const double moved = target.length();
        ASSERT_TRUE(server->pactl(command));
        const std::optional<double> resumed = target.soundAfter(moved);
        ASSERT_TRUE(resumed) << "no sound on the sink that took over";
        report(what, *resumed - moved);
        EXPECT_LT(*resumed - moved, 1.0);
        expectPositionCarriedOn(target, *resumed, before, 0.5);
    }

    // After the server came back at `back`, expects the program's stream on it and the music
    // going on from `before` (or from where it is once the stream is back). The new server's
    // monitor starts late: the sound may have begun before it was recorded.
    void expectBackOnTheServer(Clock::time_point back, const char* what,
                               std::optional<double> before = std::nullopt) {
        MonitorRecording speakers("speakers");
        const QDeadlineTimer deadline(patienceMs);
        while (streamSinks().isEmpty() && !deadline.hasExpired())
            ;
        ASSERT_FALSE(streamSinks().isEmpty()) << "the program did not come back to the server";
        report(what, std::chrono::duration<double>(Clock::now() - back).count());
        const double from = before.value_or(player->currentTime());
        const std::optional<double> resumed = speakers.soundAfter(0);
        ASSERT_TRUE(resumed) << "a stream, but no sound";
        expectPositionCarriedOn(speakers, *resumed, from, 2.5);
    }

    // The sink-inputs' sinks (their indexes): the streams playing and where.
    QStringList streamSinks() const {
        QStringList sinks;
        for (const QString& line : server->pactl({"list", "short", "sink-inputs"})
                                       .value_or(QString())
                                       .split('\n', Qt::SkipEmptyParts))
            sinks << line.section('\t', 1, 1);
        return sinks;
    }
    // The index of a sink, or of the null-sink module that made it.
    QString indexOf(const QString& listing, const QString& name) const {
        const QRegularExpression line("^(\\d+)\\t(.*\\t)?(sink_name=)?" + name + "\\b",
                                      QRegularExpression::MultilineOption);
        return line.match(server->pactl({"list", "short", listing}).value_or("")).captured(1);
    }

    static void report(const char* what, double gap) {
        std::printf("silence %s: %.3f s\n", what, gap);
        RecordProperty(what, std::to_string(gap));
    }

    QTemporaryDir dir;
    std::unique_ptr<PrivateSoundServer> server;
    std::shared_ptr<AudioFilePlayer> player;
};

} // namespace

TEST_F(SoundDeviceTest, thePlayingSinkRemovedTheMusicGoesOnOnTheOtherOne) {
    MonitorRecording speakers("speakers");
    MonitorRecording spare("spare");
    playOn(speakers);
    const QString module = indexOf("modules", "speakers");
    ASSERT_FALSE(module.isEmpty());
    expectMovedTo(spare, "from the sink's removal to sound on the other one",
                  {"unload-module", module});
}

TEST_F(SoundDeviceTest, headphonesPluggedInBecomeTheDefaultAndTheMusicFollows) {
    MonitorRecording speakers("speakers");
    playOn(speakers);
    ASSERT_TRUE(server->pactl({"load-module", "module-null-sink", "sink_name=headphones"}));
    MonitorRecording headphones("headphones");
    expectMovedTo(headphones, "from the new default to sound on it",
                  {"set-default-sink", "headphones"});
    EXPECT_EQ(streamSinks(), QStringList{indexOf("sinks", "headphones")})
        << "one stream, moved to the headphones";
}

TEST_F(SoundDeviceTest, theServerGoneAndBackThePlayingResumesWithoutARestart) {
    {
        MonitorRecording speakers("speakers");
        playOn(speakers);
    }
    const double before = player->currentTime();
    const Clock::time_point gone = Clock::now();
    server->stop();
    ASSERT_TRUE(server->start()) << server->error().toStdString();
    report("while the server was away", std::chrono::duration<double>(Clock::now() - gone).count());
    expectBackOnTheServer(Clock::now(), "from the server's return to the stream's", before);
}

// The engine is the process's own and opens the device once: this needs a process of its own, as
// ctest gives each test, so that the first play is the one that finds no server.
TEST_F(SoundDeviceTest, aServerAwayWhenTheMusicStartedGetsItOnceBack) {
    server->stop();
    {
        DiagnosticCapture capture;
        ASSERT_TRUE(player->play());
        ASSERT_EQ(capture.lines().size(), 1);
        EXPECT_TRUE(capture.lines()[0].contains("playing silently"));
    }
    ASSERT_TRUE(server->start()) << server->error().toStdString();
    expectBackOnTheServer(Clock::now(), "from the server's arrival to the stream's");
}
