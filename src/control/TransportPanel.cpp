#include "control/TransportPanel.h"

#include "platform/SymbolImage.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <cmath>

namespace {

constexpr int buttonSide = 34;
constexpr QSize remoteSize(72, 45);

QToolButton* symbolButton(const char* symbol, const QString& tip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setProperty("symbol", QString::fromLatin1(symbol));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setIconSize(QSize(buttonSide - 8, buttonSide - 8));
    button->setFixedSize(buttonSide, buttonSide);
    // The table keeps the keyboard: the space bar must stay play and pause.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QSlider* slider(int minimum, int maximum, int width, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(minimum, maximum);
    slider->setFixedWidth(width);
    slider->setFocusPolicy(Qt::NoFocus);
    return slider;
}

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

TransportPanel::TransportPanel(QWidget* parent)
    : QWidget(parent), back3Button(symbolButton("gobackward.3", tr("Back 3 seconds"), this)),
      back1Button(symbolButton("gobackward.1", tr("Back 1 second"), this)),
      pauseButton(symbolButton("pause.fill", tr("Pause (space)"), this)),
      playButton(symbolButton("play.fill", tr("Play (space)"), this)),
      fwd1Button(symbolButton("goforward.1", tr("Forward 1 second"), this)),
      prevZeroButton(symbolButton("backward.end.fill", tr("Previous zero (left arrow)"), this)),
      nextZeroButton(symbolButton("forward.end.fill", tr("Next zero (right arrow)"), this)),
      markZeroButton(symbolButton("z.square", tr("Mark a zero here (Z)"), this)),
      slowerButton(symbolButton("tortoise", tr("Slower (Alt-click: normal speed)"), this)),
      rateSlider(slider(minimumRate, maximumRate, 140, this)),
      fasterButton(symbolButton("hare", tr("Faster (Alt-click: normal speed)"), this)),
      rateText(new QLabel(this)), doubleSpeed(new QToolButton(this)),
      volumeDownButton(symbolButton("speaker.minus", tr("Softer"), this)),
      volumeSlider(slider(0, volumeSteps, 120, this)),
      volumeUpButton(symbolButton("speaker.plus", tr("Louder"), this)),
      leftShoulderButton(symbolButton("l.button", tr("The remote's L button marks a zero"), this)),
      remoteImage(new QLabel(this)) {
    rateSlider->setValue(normalRate);
    rateSlider->setToolTip(tr("Speed: 45 is normal"));
    rateText->setText(QString::number(normalRate));
    QFont numberFont = rateText->font();
    numberFont.setBold(true);
    numberFont.setPointSizeF(numberFont.pointSizeF() * 1.3);
    rateText->setFont(numberFont);
    rateText->setMinimumWidth(QFontMetrics(numberFont).horizontalAdvance(QStringLiteral("888")));
    rateText->setAlignment(Qt::AlignCenter);
    doubleSpeed->setText(QStringLiteral("2X"));
    doubleSpeed->setCheckable(true);
    doubleSpeed->setToolTip(tr("Double speed"));
    doubleSpeed->setFocusPolicy(Qt::NoFocus);
    volumeSlider->setToolTip(tr("Volume"));
    remoteImage->setFixedSize(remoteSize);
    remoteImage->setToolTip(tr("The game-controller remote"));
    setRemoteImage(QStringLiteral("8bitdoImage"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (QWidget* widget : std::initializer_list<QWidget*>{
             back3Button, back1Button, pauseButton, playButton, fwd1Button, separator(this),
             prevZeroButton, nextZeroButton, markZeroButton, separator(this), slowerButton,
             rateSlider, fasterButton, rateText, doubleSpeed, separator(this), volumeDownButton,
             volumeSlider, volumeUpButton})
        row->addWidget(widget);
    row->addStretch(1);
    row->addWidget(leftShoulderButton);
    row->addWidget(remoteImage);
    tintSymbols();
}

float TransportPanel::volumeValue() const {
    return float(volumeSlider->value()) / float(volumeSteps);
}

void TransportPanel::setVolumeValue(float volume) {
    const QSignalBlocker quiet(volumeSlider);
    volumeSlider->setValue(int(std::lround(volume * volumeSteps)));
}

void TransportPanel::setRemoteImage(const QString& name) {
    _remoteImageName = name;
    remoteImage->setPixmap(QPixmap::fromImage(symbolImage(name, remoteImage->size())));
}

void TransportPanel::redrawLeftShoulderButton(int pointSize) {
    const int side = int(std::lround(pointSize * logicalDpiY() / 72.0));
    leftShoulderButton->setIconSize(QSize(side, side));
    leftShoulderButton->setFixedSize(std::max(buttonSide, side + 4),
                                     std::max(buttonSide, side + 4));
    leftShoulderButton->setIcon(
        symbolIcon(leftShoulderButton->property("symbol").toString(), palette().text().color()));
}

void TransportPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        tintSymbols();
}

void TransportPanel::tintSymbols() {
    const QColor color = palette().text().color();
    for (QToolButton* button : findChildren<QToolButton*>()) {
        const QString symbol = button->property("symbol").toString();
        if (!symbol.isEmpty())
            button->setIcon(symbolIcon(symbol, color));
    }
}
