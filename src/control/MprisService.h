#pragma once
// Varlin as an MPRIS 2 media player on the session bus, so the desktop's panel applets and media
// keys, phones and Bluetooth remotes can see and drive it. Calls run as MediaCommands; the state
// is read from the Player and the transport. The owner reports that something may have changed;
// once the event at hand is done, the properties that really changed go out in one
// PropertiesChanged, so a listener sees each change once however many steps a command took.

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <optional>

class MediaCommands;
class MprisHost;
class MprisPlayerAdaptor;
class Player;
class PlaylistEntry;
class TransportHost;
class TransportViewController;

class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* serviceName = "org.mpris.MediaPlayer2.varlin";
    static constexpr const char* objectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* playerInterface = "org.mpris.MediaPlayer2.Player";

    MprisService(Player& player, TransportViewController& transport, TransportHost& transportHost,
                 MediaCommands& commands, MprisHost& host, QObject* parent = nullptr);
    ~MprisService() override;

    // Offers the player on `bus` under serviceName, or with ".instance<pid>" added while another
    // program holds that name. False, after one line, when the bus cannot be used.
    bool registerOn(const QDBusConnection& bus);
    // The bus name taken; empty before registerOn succeeded.
    const QString& registeredName() const { return _registeredName; }

    // The play state, the track, the rate or the volume may have changed.
    void stateMayHaveChanged();
    // The position jumped: a Seeked signal follows.
    void positionJumped();

    // "Playing", "Paused" (a track is loaded) or "Stopped".
    QString playbackStatus() const;
    QVariantMap metadata() const;
    // Microseconds.
    qlonglong position() const;
    qlonglong length() const;
    double rate() const;
    static double minimumRate();
    static double maximumRate();
    double volume() const;
    // A track is loaded: play, pause, seek and the zero jumps can act.
    bool hasTrack() const;
    // The loaded track's id, stable for its file; NoTrack without one.
    QDBusObjectPath currentTrackId() const;
    static QDBusObjectPath trackId(const PlaylistEntry* entry);
    // The audio types the desktop entry declares.
    static QStringList supportedMimeTypes();

    MediaCommands& commands() const { return _commands; }
    MprisHost& host() const { return _host; }

private:
    // The announced properties of the player interface as they are now.
    QVariantMap announcedProperties() const;
    void announce();

    Player& player;
    TransportViewController& transport;
    TransportHost& transportHost;
    MediaCommands& _commands;
    MprisHost& _host;
    MprisPlayerAdaptor* playerAdaptor;
    std::optional<QDBusConnection> bus;
    QString _registeredName;
    QVariantMap announced;
    bool jumped = false;
    QTimer announceTimer;
};
