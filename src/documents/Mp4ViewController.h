#pragma once
// The MP4 viewer of a side document (a demonstration video): one window with the video, the
// viewer's keys, its own volume, and the remote's buttons while its window is in front.

#include "control/RemoteControlDelegate.h"

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <memory>

class QAudioOutput;
class QMediaPlayer;
class VideoFrameView;

// What a key does in the MP4 viewer.
enum class Mp4KeyAction {
    togglePlay,
    rateHalf,
    rateNormal,
    rateOneAndHalf,
    rateDouble,
    taken,
    upArrow,
    downArrow,
    close,
    ignore,
    print,
};

// The key table: `key` is a Qt::Key code, `text` the characters it typed.
Mp4KeyAction mp4KeyAction(int key, const QString& text);

class Mp4ViewController : public RemoteControlDelegate {
public:
    static constexpr const char* windowMenuKey = "3";
    static constexpr float initialVolume = 1.0f;
    static constexpr double minimumRate = 0.5;
    static constexpr double maximumRate = 2.0;

    explicit Mp4ViewController(const QUrl& url);
    ~Mp4ViewController() override;
    Mp4ViewController(const Mp4ViewController&) = delete;
    Mp4ViewController& operator=(const Mp4ViewController&) = delete;

    QWidget* window() const { return _window; }
    QMediaPlayer* player() const { return _player.get(); }

    float volume() const { return _volume; }
    // Clamped to 0 … 1; the video's sound only, the computer's volume stays where it is.
    void setVolume(float volume);

    void togglePlay();
    // Rates step within 0.5 … 2.0.
    void setRate(double rate);
    void seekBy(double seconds);

    void keyDown(int key, const QString& text);

    // A = play/pause, B back 3 s, X forward 3 s, Y to the start, L normal speed, R pause,
    // dpad left faster and right slower (as on the main transport), dpad up/down volume.
    void remoteButtonPressed(RemoteControlButton button) override;
    void remoteButtonReleased(RemoteControlButton button) override;
    void remoteControllersChanged(int count) override;

private:
    std::unique_ptr<QMediaPlayer> _player;
    std::unique_ptr<QAudioOutput> audioOutput;
    QPointer<QWidget> _window;
    VideoFrameView* _mp4aview = nullptr;
    float _volume = initialVolume;
};
