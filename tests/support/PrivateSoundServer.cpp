#include "support/PrivateSoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <alsa/asoundlib.h>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace {

constexpr int startMilliseconds = 10000;

bool writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

std::optional<QString> PrivateSoundServer::unavailable() {
    for (const char* program : {"pulseaudio", "pactl"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            return QStringLiteral("%1 is not installed").arg(QLatin1String(program));
    return std::nullopt;
}

std::unique_ptr<PrivateSoundServer> PrivateSoundServer::startOrSkip(QStringList sinkNames) {
    if (const std::optional<QString> reason = unavailable()) {
        // GTEST_SKIP returns from a function returning nothing.
        [&reason] { GTEST_SKIP() << reason->toStdString(); }();
        return nullptr;
    }
    auto server = std::make_unique<PrivateSoundServer>(std::move(sinkNames));
    if (server->isRunning())
        return server;
    ADD_FAILURE() << server->error().toStdString();
    return nullptr;
}

PrivateSoundServer::PrivateSoundServer(QStringList sinkNames) : sinks(std::move(sinkNames)) {
    const QString home = root.filePath(QStringLiteral("home"));
    const QString runtime = root.filePath(QStringLiteral("runtime"));
    const QString clientConfig = root.filePath(QStringLiteral("client.conf"));
    if (!QDir().mkpath(home) || !QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
        !writeFile(home + QStringLiteral("/.asoundrc"),
                   "pcm.!default pulse\nctl.!default pulse\n") ||
        !writeFile(clientConfig, "autospawn = no\n")) {
        failure = QStringLiteral("cannot prepare %1").arg(root.path());
        return;
    }
    const std::pair<const char*, QString> pointed[] = {{"HOME", home},
                                                       {"XDG_RUNTIME_DIR", runtime},
                                                       {"PULSE_CLIENTCONFIG", clientConfig},
                                                       {"PULSE_SERVER", QString()}};
    for (const auto& [name, value] : pointed) {
        saved.emplace_back(name, qEnvironmentVariableIsSet(name)
                                     ? std::optional<QByteArray>(qgetenv(name))
                                     : std::nullopt);
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    // ALSA reads its configuration once per process: make it read the new home's.
    snd_config_update_free_global();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Without a session bus it would try to launch one, which would outlive it.
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    daemon.setProcessEnvironment(environment);
    daemon.setStandardOutputFile(root.filePath(QStringLiteral("daemon.log")));
    daemon.setProcessChannelMode(QProcess::MergedChannels);
    daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    start();
}

PrivateSoundServer::~PrivateSoundServer() {
    stop();
    for (const auto& [name, value] : saved) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    snd_config_update_free_global();
}

bool PrivateSoundServer::start() {
    QStringList arguments = {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                             QStringLiteral("--exit-idle-time=-1"),
                             QStringLiteral("--load=module-native-protocol-unix")};
    for (const QString& sink : sinks)
        arguments << QStringLiteral("--load=module-null-sink sink_name=") + sink;
    daemon.start(QStringLiteral("pulseaudio"), arguments);
    // Ready once it answers; the wait between tries ends early if the daemon gives up.
    bool answers = false;
    if (daemon.waitForStarted()) {
        const QDeadlineTimer deadline(startMilliseconds);
        while (!(answers = pactl({QStringLiteral("info")}).has_value()) && isRunning() &&
               !deadline.hasExpired())
            daemon.waitForFinished(20);
    }
    if (answers && pactl({QStringLiteral("set-default-sink"), sinks.value(0)}))
        return true;
    stop();
    QFile log(root.filePath(QStringLiteral("daemon.log")));
    failure = QStringLiteral("pulseaudio did not start: ") +
              (log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()).trimmed()
                                             : daemon.errorString());
    return false;
}

void PrivateSoundServer::stop() {
    if (!isRunning())
        return;
    daemon.terminate();
    if (!daemon.waitForFinished(startMilliseconds)) {
        daemon.kill();
        daemon.waitForFinished();
    }
}

std::optional<QString> PrivateSoundServer::pactl(const QStringList& arguments) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

std::optional<double> PrivateSoundServer::sinkVolume(const QString& sink) const {
    // "Volume: front-left: 36045 /  55% / -15.58 dB,   front-right: ...", of 65536 at 100 %.
    static const QRegularExpression level(QStringLiteral(":\\s*(\\d+)\\s*/"));
    const QRegularExpressionMatch match =
        level.match(pactl({QStringLiteral("get-sink-volume"), sink}).value_or(QString()));
    return match.hasMatch() ? std::optional(match.captured(1).toDouble() / 65536.0) : std::nullopt;
}

std::optional<bool> PrivateSoundServer::sinkMuted(const QString& sink) const {
    const std::optional<QString> text = pactl({QStringLiteral("get-sink-mute"), sink});
    return text ? std::optional(text->trimmed() == QStringLiteral("Mute: yes")) : std::nullopt;
}
