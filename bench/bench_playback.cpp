// Playback cost and responsiveness, beside peer tools on the same file:
// - CPU seconds per minute of audio played at rate 1.0 and 1.2 (engine on its offline output,
//   so only the engine's own work is counted), next to `mpg123` decoding the file and
//   `sox ... tempo 1.2` stretching it;
// - the time from play() (and from a seek while playing) to the first sample leaving the engine,
//   on the real device path (SDL; the dummy driver when there is no sound card);
// - how far position reads while playing stray from a steady clock (the device's own), at rates
//   from 0.5 to 2.0, and whether they ever stall or step back while the rate jumps.

#include "platform/audio/AudioEngine.h"
#include "platform/audio/AudioFilePlayer.h"
#include "platform/audio/OfflineAudioOutput.h"
#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// CPU seconds a peer command spends; negative when it cannot be run.
double peerCpuSeconds(const QString& program, const QStringList& arguments) {
    const double before = childCpuSeconds();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return -1;
    return childCpuSeconds() - before;
}

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Time until the engine has mixed the player's first frame (its position starts to move).
double firstSoundMilliseconds(AudioFilePlayer& player, double from) {
    const auto start = Clock::now();
    player.setCurrentTime(from);
    player.play();
    while (player.currentTime() <= from && Clock::now() - start < std::chrono::seconds(2))
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    return milliseconds(Clock::now() - start);
}

void latency(const QUrl& url, float rate) {
    const auto player = AudioFilePlayer::create(url);
    player->setEnableRate(true);
    player->setRate(rate);
    std::vector<double> plays;
    std::vector<double> seeks;
    for (int i = 0; i < 15; ++i) {
        plays.push_back(firstSoundMilliseconds(*player, 5.0 + i));
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        // A seek while playing is a stop and a play from elsewhere.
        player->stop();
        seeks.push_back(firstSoundMilliseconds(*player, 40.0 - i));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        player->stop();
    }
    std::sort(plays.begin(), plays.end());
    std::sort(seeks.begin(), seeks.end());
    std::printf("play to first sample, rate %.1f: median %.1f ms, worst %.1f ms "
                "(seek while playing: median %.1f ms, worst %.1f ms; target < 50 ms)\n",
                rate, plays[plays.size() / 2], plays.back(), seeks[seeks.size() / 2], seeks.back());
}

void positionError(const QUrl& url, float rate) {
    const auto player = AudioFilePlayer::create(url);
    player->setEnableRate(true);
    player->setRate(rate);
    player->setCurrentTime(10);
    player->play();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::vector<std::pair<double, double>> reads; // wall seconds, position
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::seconds(3)) {
        reads.push_back({milliseconds(Clock::now() - start) / 1000, player->currentTime()});
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    player->stop();
    // Least-squares line through the reads: its slope is the device clock's speed (the dummy
    // driver's is not exact), the residuals are how far a read strays from a steady position.
    double meanWall = 0;
    double meanPosition = 0;
    for (const auto& [wall, position] : reads) {
        meanWall += wall / double(reads.size());
        meanPosition += position / double(reads.size());
    }
    double covariance = 0;
    double variance = 0;
    for (const auto& [wall, position] : reads) {
        covariance += (wall - meanWall) * (position - meanPosition);
        variance += (wall - meanWall) * (wall - meanWall);
    }
    const double slope = covariance / variance;
    double worst = 0;
    for (const auto& [wall, position] : reads)
        worst = std::max(worst, std::abs(position - meanPosition - slope * (wall - meanWall)));
    std::printf("position read while playing, rate %.1f: within %.1f ms of a steady clock "
                "(%zu reads over 3 s, the device ran at %.4f x real time; target 5 ms)\n",
                rate, worst / rate * 1000, reads.size(), slope / rate);
}

// Reads the position every millisecond while the rate jumps 1.0 -> 2.0 -> 0.5 -> 1.2, a second
// apart: a read below the one before is a step back; the longest time without any advance is a
// stall.
void positionThroughRateJumps(const QUrl& url) {
    const auto player = AudioFilePlayer::create(url);
    player->setEnableRate(true);
    player->setRate(1.0f);
    player->setCurrentTime(10);
    player->play();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const float rates[] = {2.0f, 0.5f, 1.2f};
    int stepsBack = 0;
    double worstBack = 0;
    double longestStall = 0;
    double previous = player->currentTime();
    auto lastAdvance = Clock::now();
    const auto start = Clock::now();
    for (int second = 0; second < 4; ++second) {
        if (second > 0)
            player->setRate(rates[second - 1]);
        while (Clock::now() - start < std::chrono::seconds(second + 1)) {
            const double position = player->currentTime();
            const auto now = Clock::now();
            if (position < previous) {
                ++stepsBack;
                worstBack = std::max(worstBack, previous - position);
            }
            if (position > previous)
                lastAdvance = now;
            longestStall = std::max(longestStall, milliseconds(now - lastAdvance));
            previous = position;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    player->stop();
    std::printf("position through rate jumps 1.0 -> 2.0 -> 0.5 -> 1.2: %d reads stepped back "
                "(worst %.1f ms), longest still %.1f ms (target: none back, no stall)\n",
                stepsBack, worstBack * 1000, longestStall);
}

double engineCpuPerMinute(const QUrl& url, float rate, double audioSeconds) {
    OfflineAudioOutput& output = AudioEngine::instance().useOfflineOutput({44100, 2});
    const auto player = AudioFilePlayer::create(url);
    player->setEnableRate(true);
    player->setRate(rate);
    const double before = processCpuSeconds();
    player->play();
    const auto frames = int64_t(audioSeconds / rate * 44100);
    for (int64_t done = 0; done < frames; done += 4096)
        output.render(int(std::min<int64_t>(4096, frames - done)));
    return (processCpuSeconds() - before) * 60 / audioSeconds;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("minute.mp3");
    testaudio::Spec spec;
    spec.seconds = 60;
    spec.signal = testaudio::Signal::Square;
    spec.frequency = 220;
    QString error;
    if (!testaudio::write(spec, testaudio::Container::Mp3Cbr, path, &error)) {
        std::printf("cannot make the test file: %s\n", qPrintable(error));
        return 1;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    std::printf("input: 60 s stereo 44.1 kHz MP3, 128 kbit/s\n");

    // The device path first: the engine opens the sound device on first use.
    latency(url, 1.0f);
    latency(url, 1.2f);
    for (const float rate : {0.5f, 1.0f, 1.2f, 2.0f})
        positionError(url, rate);
    positionThroughRateJumps(url);

    const double plain = engineCpuPerMinute(url, 1.0f, 60);
    const double stretched = engineCpuPerMinute(url, 1.2f, 60);
    const double mpg123 = peerCpuSeconds("mpg123", {"-q", "-s", path});
    const double sox = peerCpuSeconds("sox", {path, "-n", "tempo", "1.2"});
    std::printf("CPU per minute of audio, rate 1.0: %.3f s (%.2f %% of a core; target < 2 %%); "
                "mpg123 decoding: %.3f s; ratio %.2f\n",
                plain, plain / 60 * 100, mpg123, mpg123 > 0 ? plain / mpg123 : 0.0);
    std::printf("CPU per minute of audio, rate 1.2: %.3f s (%.2f %% of a core; target < 15 %%); "
                "sox tempo 1.2: %.3f s; ratio %.2f\n",
                stretched, stretched / 60 * 100, sox, sox > 0 ? stretched / sox : 0.0);
    return 0;
}
