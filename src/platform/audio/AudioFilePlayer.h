#pragma once
// Plays one audio file through the process's AudioEngine: the file audio player that the track
// player, the scrub snippets and the bell share. Every call is made on the Qt main thread and
// the two notifications arrive there. Rate control (0.5 to 2.0, pitch kept) applies once
// enabled; at exactly 1.0 the samples pass unchanged.

#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

class AudioVoice;

class AudioFilePlayer : public QObject {
    Q_OBJECT

public:
    // A player for the file, or null with a one-line reason in `error` when it cannot be
    // played. Creating it does not start any sound.
    static std::shared_ptr<AudioFilePlayer> create(const QUrl& url, QString* error = nullptr);
    // The line that says why a file cannot be played: "The file “NAME” couldn’t be opened: …".
    static QString openFailure(const QUrl& url, const QString& reason);
    ~AudioFilePlayer() override;

    const QUrl& url() const { return _url; }

    // Nothing to prepare ahead: starting fills the first buffers synchronously.
    bool prepareToPlay() { return true; }
    // Starts the sound from currentTime(); false when the engine has no room for it.
    bool play();
    void stop();
    void pause();
    bool isPlaying() const { return playing; }

    // Seconds in the file: while playing, the position of the sample being heard.
    double currentTime() const;
    void setCurrentTime(double seconds);
    // Exact length in seconds, without encoder delay or padding.
    double duration() const;

    bool enableRate() const { return rateEnabled; }
    void setEnableRate(bool enabled);
    float rate() const { return _rate; }
    // Clamped to 0.5 ... 2.0; takes effect at once while playing.
    void setRate(float rate);
    float volume() const { return _volume; }
    void setVolume(float volume);

signals:
    // The last sample has been heard (or the file stopped decoding: `successfully` false).
    void finishedPlaying(bool successfully);
    void decodeErrorOccurred(const QString& message);

private:
    AudioFilePlayer(const QUrl& url, std::shared_ptr<AudioVoice> voice);
    double effectiveRate() const;
    void handleEvents();

    QUrl _url;
    std::shared_ptr<AudioVoice> voice;
    bool playing = false;
    bool decodeFailed = false;
    double stoppedTime = 0;
    bool rateEnabled = false;
    float _rate = 1.0f;
    float _volume = 1.0f;
};
