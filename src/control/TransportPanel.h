#pragma once
// The row of transport controls under the track display: the jumps, pause and play, the zero
// commands, the rate slider with its number and the double-speed switch, the volume slider, and
// the picture of the remote. The panel only shows; TransportViewController connects it and holds
// every rule.

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

class TransportPanel : public QWidget {
    Q_OBJECT
public:
    // Rate slider values: the rate is value ÷ 45, so the range covers 0.49x to 2.0x in steps of
    // about 2 %.
    static constexpr int normalRate = 45;
    static constexpr int minimumRate = 22;
    static constexpr int maximumRate = 90;
    // The volume slider's steps over 0 … 1.
    static constexpr int volumeSteps = 1000;

    explicit TransportPanel(QWidget* parent = nullptr);

    QToolButton* back3Button;
    QToolButton* back1Button;
    QToolButton* pauseButton;
    QToolButton* playButton;
    QToolButton* fwd1Button;
    QToolButton* prevZeroButton;
    QToolButton* nextZeroButton;
    QToolButton* markZeroButton;
    QToolButton* slowerButton;
    QSlider* rateSlider;
    QToolButton* fasterButton;
    QLabel* rateText;
    QToolButton* doubleSpeed;
    QToolButton* volumeDownButton;
    QSlider* volumeSlider;
    QToolButton* volumeUpButton;
    QToolButton* leftShoulderButton;
    QLabel* remoteImage;

    // The volume slider in 0 … 1; setting it does not report a change.
    float volumeValue() const;
    void setVolumeValue(float volume);

    // "8bitdoImage" (no remote) or "8bitdo2-yellow" (connected).
    void setRemoteImage(const QString& name);
    const QString& remoteImageName() const { return _remoteImageName; }

    // The left shoulder button's symbol, redrawn at `pointSize` in the palette's text colour.
    void redrawLeftShoulderButton(int pointSize);

protected:
    void changeEvent(QEvent* event) override;

private:
    // The template symbols take the palette's text colour, also after the palette changes.
    void tintSymbols();

    QString _remoteImageName;
};
