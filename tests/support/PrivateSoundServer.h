#pragma once
// A PulseAudio daemon of the test's own with null sinks and no sound card. While one exists this
// process's ALSA default device, libpulse and pactl reach it and nothing else: it gets a fresh
// runtime folder and home whose .asoundrc sends ALSA's default device through the server's
// plugin. The daemon is a child that dies with the test process, so none is left behind even
// when a test crashes, and clients never start one of their own.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class PrivateSoundServer {
public:
    // Why no private server can run on this machine; none when it can.
    static std::optional<QString> unavailable();
    // For a test's SetUp: a running server with these sinks, or none when the test was skipped
    // (no server can run here) or failed (it did not come up), and SetUp should return.
    static std::unique_ptr<PrivateSoundServer> startOrSkip(QStringList sinkNames);

    // Starts the server with null sinks of these names, the first the default.
    explicit PrivateSoundServer(QStringList sinkNames);
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Starts it again after stop(), with the same sinks at their initial volume; false (with
    // the daemon's own words in error()) when it did not come up.
    bool start();
    // Returns once the daemon has exited.
    void stop();
    bool isRunning() const { return daemon.state() != QProcess::NotRunning; }
    QString error() const { return failure; }

    // pactl's standard output, or none when it fails.
    std::optional<QString> pactl(const QStringList& arguments) const;
    // A sink's volume as a fraction of the server's normal level (first channel), or none.
    std::optional<double> sinkVolume(const QString& sink) const;
    std::optional<bool> sinkMuted(const QString& sink) const;

private:
    QStringList sinks;
    QTemporaryDir root;
    QProcess daemon;
    QString failure;
    // The variables this process had before they were pointed here.
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved;
};
