// One change of the computer's volume through a sound server: ALSA's default device on a private
// PulseAudio, as on a desktop. Times what the volume thread does for each press, the time the
// pressing thread spends handing it over, and the first change (which opens the mixer), beside
// pactl setting the same sink in the same run.
#include "playback/SystemVolume.h"
#include "support/PrivateSoundServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int rounds = 60;

double milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (const std::optional<QString> reason = PrivateSoundServer::unavailable()) {
        std::printf("system volume: skipped, %s\n", qPrintable(*reason));
        return 0;
    }
    PrivateSoundServer server({QStringLiteral("hall")});
    if (!server.isRunning()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.error()));
        return 1;
    }
    SystemVolume volume;
    const auto change = [&volume](float level) {
        volume.followVolume(level);
        volume.waitForQueuedSettings();
    };
    const double first = milliseconds([&] { change(0.5f); });
    std::vector<double> changes;
    std::vector<double> handovers;
    changes.reserve(rounds);
    handovers.reserve(rounds);
    for (int i = 0; i < rounds; ++i) {
        const float level = 0.3f + 0.01f * float(i % 40);
        changes.push_back(milliseconds([&] { change(level); }));
        handovers.push_back(milliseconds([&] { volume.followVolume(level + 0.005f); }));
        volume.waitForQueuedSettings();
    }
    std::vector<double> peer;
    peer.reserve(rounds / 4);
    for (int i = 0; i < rounds / 4; ++i)
        peer.push_back(milliseconds([&] {
            server.pactl({QStringLiteral("set-sink-volume"), QStringLiteral("hall"),
                          QStringLiteral("%1%").arg(30 + i)});
        }));
    const double ours = median(changes);
    std::printf("one volume change through the server: %.2f ms (median of %d); the first, opening "
                "the mixer: %.2f ms; the pressing thread's share: %.3f ms\n",
                ours, rounds, first, median(handovers));
    std::printf("pactl set-sink-volume (a process and a connection per change): %.2f ms; "
                "ratio %.2f\n",
                median(peer), ours / median(peer));
    return 0;
}
