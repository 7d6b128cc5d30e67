#pragma once
// A PulseAudio daemon of the test's own with null sinks and no sound card. While one exists this
// process's ALSA default device, libpulse and pactl reach it and nothing else: it gets a fresh
// runtime folder and home whose .asoundrc sends ALSA's default device through the server's
// plugin. The daemon is a child that dies with the test process, so none is left behind even
// when a test crashes, and clients never start one of their own.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class PrivateSoundServer {
public:
    // The sound servers whose ALSA plugin a desktop's default device can go through.
    enum class Kind { PulseAudio, PipeWire };
    static constexpr std::array<Kind, 2> kinds = {Kind::PulseAudio, Kind::PipeWire};
    static QString name(Kind kind);
    // Names a parameterised test after its kind.
    struct TestName {
        template <typename ParamInfo> std::string operator()(const ParamInfo& info) const {
            return name(info.param).toStdString();
        }
    };
    // How GoogleTest shows the parameter in test lists.
    friend void PrintTo(Kind kind, std::ostream* out) { *out << name(kind).toStdString(); }
    // Why no private server of this kind can run on this machine; none when it can.
    static std::optional<QString> unavailable(Kind kind);

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
