#include "control/TransportViewController.h"

#include "control/GameControllerSet.h"
#include "control/TransportHost.h"
#include "control/TransportPanel.h"
#include "model/PlaylistEntry.h"
#include "playback/Player.h"
#include "playback/RestTimer.h"
#include "services/DoNotDisturb.h"

#include <QGuiApplication>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace {
// A second press of previous zero shortly after the first goes to the zero before; next zero
// leaves the zero just reached.
constexpr double zeroMargin = 0.3;
constexpr float volumeStep = 0.05f;
} // namespace

TransportViewController::TransportViewController(Player& player, RestTimer& restTimer,
                                                 TransportHost& host, TransportPanel& panel,
                                                 Options options, QObject* parent)
    : QObject(parent), player(player), restTimer(restTimer), host(host), panel(panel),
      options(std::move(options)) {
    if (!this->options.turnOnDoNotDisturb)
        this->options.turnOnDoNotDisturb = ::turnOnDoNotDisturb;
    if (!this->options.heldModifiers)
        this->options.heldModifiers = &QGuiApplication::queryKeyboardModifiers;

    const auto wire = [this](QToolButton* button, void (TransportViewController::*command)()) {
        connect(button, &QToolButton::clicked, this, command);
    };
    wire(panel.back1Button, &TransportViewController::back1);
    wire(panel.back3Button, &TransportViewController::back3);
    wire(panel.fwd1Button, &TransportViewController::forward1);
    wire(panel.pauseButton, &TransportViewController::pauseCommand);
    wire(panel.playButton, &TransportViewController::playCommand);
    wire(panel.prevZeroButton, &TransportViewController::prevZero);
    wire(panel.nextZeroButton, &TransportViewController::nextZero);
    wire(panel.markZeroButton, &TransportViewController::markZero);
    wire(panel.fasterButton, &TransportViewController::faster);
    wire(panel.slowerButton, &TransportViewController::slower);
    wire(panel.volumeUpButton, &TransportViewController::volumeUp);
    wire(panel.volumeDownButton, &TransportViewController::volumeDown);
    connect(panel.volumeSlider, &QSlider::valueChanged, this,
            &TransportViewController::volumeFromSlider);
    connect(panel.rateSlider, &QSlider::valueChanged, this, &TransportViewController::applyRate);
    connect(panel.doubleSpeed, &QToolButton::toggled, this, &TransportViewController::applyRate);
}

TransportViewController::~TransportViewController() = default;

void TransportViewController::setUp(std::unique_ptr<GameControllerSource> controllers) {
    panel.volumeSlider->setTracking(true);
    panel.setVolumeValue(host.volume());
    panel.redrawLeftShoulderButton(23);
    if (_gameControllerSet)
        return;
    _gameControllerSet = controllers
                             ? std::make_unique<GameControllerSet>(this, std::move(controllers))
                             : std::make_unique<GameControllerSet>(this);
}

void TransportViewController::returnToFinishedTrack() {
    const std::shared_ptr<PlaylistEntry> finished = host.prevEntry();
    if (!finished)
        return;
    host.assignEntry(finished);
    player.setCurrentTime(player.duration());
    host.clearPrevEntry();
}

void TransportViewController::seekBy(double seconds) {
    player.setCurrentTime(player.currentTime() + seconds);
}

void TransportViewController::back1() {
    returnToFinishedTrack();
    seekBy(-1.0);
}

void TransportViewController::back3() {
    returnToFinishedTrack();
    seekBy(-3.0);
}

void TransportViewController::forward1() {
    seekBy(1.0);
}

void TransportViewController::playCommand() {
    // An entry the player could not load gets one more try (the drive may be back); a file
    // that still cannot be played is refused with its reason instead of a silent flash.
    if (const std::shared_ptr<PlaylistEntry> entry = host.assignedEntry();
        entry && !player.entry()) {
        host.assignEntry(entry);
        if (!player.entry()) {
            host.playRefused(entry);
            return;
        }
    }
    emit symbolFlashed(QStringLiteral("play.fill"));
    restTimer.disarm();
    player.skipToEndIfWithin(10.0);
    options.turnOnDoNotDisturb();
    player.play();
}

void TransportViewController::pauseCommand() {
    emit symbolFlashed(QStringLiteral("pause.fill"));
    if (player.isPlaying()) {
        restTimer.arm();
        player.pause();
    }
    const std::shared_ptr<PlaylistEntry>& entry = player.entry();
    if (!entry)
        return;
    const double t = player.currentTime();
    if (t - entry->previousZero(t) > 1.0)
        player.setCurrentTime(t - 1.0);
}

void TransportViewController::prevZero() {
    emit symbolFlashed(QStringLiteral("backward.end.fill"));
    returnToFinishedTrack();
    const std::shared_ptr<PlaylistEntry> entry = host.assignedEntry();
    if (!entry)
        return;
    const double t = player.currentTime();
    // previousZero gives 0 when no zero lies at or before the time.
    player.setCurrentTime(entry->previousZero(t - zeroMargin));
}

void TransportViewController::nextZero() {
    emit symbolFlashed(QStringLiteral("forward.end.fill"));
    returnToFinishedTrack();
    const std::shared_ptr<PlaylistEntry> entry = host.assignedEntry();
    if (!entry)
        return;
    player.setCurrentTime(entry->nextZero(player.currentTime() + zeroMargin));
}

void TransportViewController::markZero() {
    emit symbolFlashed(QStringLiteral("z.square"));
    returnToFinishedTrack();
    const std::shared_ptr<PlaylistEntry> entry = host.assignedEntry();
    if (!entry)
        return;
    entry->addZero(player.currentTime());
    host.entryMarksChanged(entry);
    host.updateDisplays();
    host.saveRunState();
}

void TransportViewController::faster() {
    stepRate(+1);
}

void TransportViewController::slower() {
    stepRate(-1);
}

void TransportViewController::stepRate(int step) {
    const bool toNormal = options.heldModifiers() & (Qt::AltModifier | Qt::ControlModifier) ||
                          panel.doubleSpeed->isChecked();
    setRateValue(toNormal ? TransportPanel::normalRate : panel.rateSlider->value() + step);
}

void TransportViewController::setRate(double rate) {
    setRateValue(int(std::lround(rate * TransportPanel::normalRate)));
}

void TransportViewController::setRateValue(int value) {
    QSlider& slider = *panel.rateSlider;
    // Moving the slider applies the rate; it is applied once, below.
    {
        const QSignalBlocker quiet(slider);
        const QSignalBlocker quietSwitch(panel.doubleSpeed);
        panel.doubleSpeed->setChecked(false);
        slider.setValue(std::clamp(value, slider.minimum(), slider.maximum()));
    }
    emit textFlashed(QString::number(slider.value()));
    applyRate();
}

void TransportViewController::applyRate() {
    if (panel.doubleSpeed->isChecked()) {
        panel.rateText->setText(QStringLiteral("2X"));
        player.setRate(2.0f);
    } else {
        const int rate = panel.rateSlider->value();
        panel.rateText->setText(QString::number(rate));
        player.setRate(float(rate) / float(TransportPanel::normalRate));
    }
    emit rateApplied();
}

double TransportViewController::rate() const {
    return panel.doubleSpeed->isChecked()
               ? 2.0
               : double(panel.rateSlider->value()) / TransportPanel::normalRate;
}

void TransportViewController::resetRate() {
    const QSignalBlocker quietSwitch(panel.doubleSpeed);
    panel.doubleSpeed->setChecked(false);
    panel.rateSlider->setValue(TransportPanel::normalRate);
    applyRate();
}

void TransportViewController::volumeUp() {
    changeVolume(volumeStep);
}

void TransportViewController::volumeDown() {
    changeVolume(-volumeStep);
}

void TransportViewController::changeVolume(float step) {
    host.setVolume(host.volume() + step);
    emit textFlashed(volumeText(host.volume()));
}

void TransportViewController::volumeFromSlider() {
    host.setVolume(panel.volumeValue());
}

QString TransportViewController::volumeText(float volume) {
    const int halfSteps = int(volume * 20.0f);
    if (halfSteps == 1)
        return QStringLiteral("½");
    return QString::number(halfSteps / 2) + (halfSteps % 2 ? QStringLiteral("½") : QString());
}

void TransportViewController::remotePress() {
    host.saveRunState();
    player.setPreviewing(false);
    host.restartIdle();
}

void TransportViewController::remoteButtonPressed(RemoteControlButton button) {
    remotePress();
    if (RemoteControlDelegate* viewer = host.activeRemoteTarget()) {
        viewer->remoteButtonPressed(button);
        return;
    }
    switch (button) {
    case RemoteControlButton::dpadUp:
        volumeUp();
        break;
    case RemoteControlButton::dpadDown:
        volumeDown();
        break;
    case RemoteControlButton::dpadLeft:
        faster();
        break;
    case RemoteControlButton::dpadRight:
        slower();
        break;
    case RemoteControlButton::A:
        playCommand();
        break;
    case RemoteControlButton::B:
        back3();
        break;
    case RemoteControlButton::X:
        nextZero();
        break;
    case RemoteControlButton::Y:
        prevZero();
        break;
    case RemoteControlButton::L:
        markZero();
        break;
    case RemoteControlButton::R:
        pauseCommand();
        break;
    case RemoteControlButton::L2:
    case RemoteControlButton::R2:
    case RemoteControlButton::plus:
    case RemoteControlButton::minus:
    case RemoteControlButton::home:
    case RemoteControlButton::star:
        break;
    }
}

void TransportViewController::remoteButtonReleased(RemoteControlButton) {}

void TransportViewController::remoteControllersChanged(int count) {
    emit symbolFlashed(QStringLiteral("8bitdoNotifier"));
    panel.setRemoteImage(count < 1 ? QStringLiteral("8bitdoImage")
                                   : QStringLiteral("8bitdo2-yellow"));
}
