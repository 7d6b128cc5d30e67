#include "documents/Mp4ViewController.h"

#include "documents/ScreenFit.h"
#include "documents/VideoDecoderReports.h"
#include "documents/VideoFrameView.h"
#include "platform/Diagnostics.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMediaPlayer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr double rateStep = 0.1;
constexpr float volumeStep = 0.05f;
constexpr double remoteSeekSeconds = 3.0;

// The viewer's window: keys go to the controller, and closing it stops the video, which would
// otherwise go on sounding from a hidden window.
class Mp4Window : public QWidget {
public:
    Mp4Window(std::function<void(int, const QString&)> keyDown, std::function<void()> closed)
        : keyDown(std::move(keyDown)), closed(std::move(closed)) {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { keyDown(event->key(), event->text()); }
    void closeEvent(QCloseEvent* event) override {
        closed();
        QWidget::closeEvent(event);
    }

private:
    std::function<void(int, const QString&)> keyDown;
    std::function<void()> closed;
};

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

} // namespace

Mp4KeyAction mp4KeyAction(int key, const QString& text) {
    switch (key) {
    case Qt::Key_Escape:
        return Mp4KeyAction::close;
    case Qt::Key_Space:
        return Mp4KeyAction::togglePlay;
    case Qt::Key_H:
        return Mp4KeyAction::rateHalf;
    case Qt::Key_N:
        return Mp4KeyAction::rateNormal;
    case Qt::Key_S:
        return Mp4KeyAction::rateOneAndHalf;
    case Qt::Key_D:
        return Mp4KeyAction::rateDouble;
    case Qt::Key_Z:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return Mp4KeyAction::taken;
    case Qt::Key_Up:
        return Mp4KeyAction::upArrow;
    case Qt::Key_Down:
        return Mp4KeyAction::downArrow;
    default:
        break;
    }
    if (isModifierKey(key) || (text.isEmpty() && key == 0))
        return Mp4KeyAction::ignore;
    return Mp4KeyAction::print;
}

Mp4ViewController::Mp4ViewController(const QUrl& url)
    : _player(std::make_unique<QMediaPlayer>()), audioOutput(std::make_unique<QAudioOutput>()) {
    auto* window = new Mp4Window([this](int key, const QString& text) { keyDown(key, text); },
                                 [this] { _player->pause(); });
    _window = window;
    window->setWindowTitle(QFileInfo(url.toLocalFile()).fileName());
    resizeToFit(*window, QSize(960, 560));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    _mp4aview = new VideoFrameView(window);
    _mp4aview->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(_mp4aview);

    audioOutput->setVolume(_volume);
    _player->setAudioOutput(audioOutput.get());
    _player->setVideoOutput(_mp4aview->videoSink());
    QObject::connect(_player.get(), &QMediaPlayer::errorOccurred,
                     [url](QMediaPlayer::Error, const QString& reason) {
                         printLine("Can't play " + url.toDisplayString(QUrl::PreferLocalFile) +
                                   ": " + reason);
                     });
    // A loaded video shows its first picture at once, paused, rather than a black window.
    QObject::connect(_player.get(), &QMediaPlayer::mediaStatusChanged,
                     [player = _player.get()](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::LoadedMedia &&
                             player->playbackState() == QMediaPlayer::StoppedState)
                             player->pause();
                     });
    silenceVideoDecoderReports();
    _player->setSource(url);
}

Mp4ViewController::~Mp4ViewController() {
    _player->stop();
    _player->setVideoOutput(nullptr);
    delete _window;
}

void Mp4ViewController::setVolume(float volume) {
    _volume = std::clamp(volume, 0.0f, 1.0f);
    audioOutput->setVolume(_volume);
}

void Mp4ViewController::togglePlay() {
    if (_player->playbackState() == QMediaPlayer::PlayingState)
        _player->pause();
    else
        _player->play();
}

void Mp4ViewController::setRate(double rate) {
    _player->setPlaybackRate(std::clamp(rate, minimumRate, maximumRate));
}

void Mp4ViewController::seekBy(double seconds) {
    const qint64 target = _player->position() + std::llround(seconds * 1000.0);
    const qint64 end = std::max<qint64>(_player->duration(), 0);
    _player->setPosition(std::clamp<qint64>(target, 0, end));
}

void Mp4ViewController::keyDown(int key, const QString& text) {
    switch (mp4KeyAction(key, text)) {
    case Mp4KeyAction::togglePlay:
        togglePlay();
        break;
    case Mp4KeyAction::rateHalf:
        setRate(0.5);
        break;
    case Mp4KeyAction::rateNormal:
        setRate(1.0);
        break;
    case Mp4KeyAction::rateOneAndHalf:
        setRate(1.5);
        break;
    case Mp4KeyAction::rateDouble:
        setRate(2.0);
        break;
    case Mp4KeyAction::upArrow:
        printLine("uparrow");
        break;
    case Mp4KeyAction::downArrow:
        printLine("downarrow");
        break;
    case Mp4KeyAction::close:
        _window->close();
        break;
    case Mp4KeyAction::taken:
    case Mp4KeyAction::ignore:
        break;
    case Mp4KeyAction::print:
        printLine("Mp4ViewController: " + (text.isEmpty() ? QKeySequence(key).toString() : text));
        break;
    }
}

void Mp4ViewController::remoteButtonPressed(RemoteControlButton button) {
    switch (button) {
    case RemoteControlButton::A:
        togglePlay();
        break;
    case RemoteControlButton::B:
        seekBy(-remoteSeekSeconds);
        break;
    case RemoteControlButton::X:
        seekBy(remoteSeekSeconds);
        break;
    case RemoteControlButton::Y:
        _player->setPosition(0);
        break;
    case RemoteControlButton::L:
        setRate(1.0);
        break;
    case RemoteControlButton::R:
        _player->pause();
        break;
    case RemoteControlButton::dpadLeft:
        setRate(_player->playbackRate() + rateStep);
        break;
    case RemoteControlButton::dpadRight:
        setRate(_player->playbackRate() - rateStep);
        break;
    case RemoteControlButton::dpadUp:
        setVolume(_volume + volumeStep);
        break;
    case RemoteControlButton::dpadDown:
        setVolume(_volume - volumeStep);
        break;
    default:
        break;
    }
}

void Mp4ViewController::remoteButtonReleased(RemoteControlButton) {}

void Mp4ViewController::remoteControllersChanged(int) {}
