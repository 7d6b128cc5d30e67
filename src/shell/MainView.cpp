#include "shell/MainView.h"

#include "control/TransportPanel.h"
#include "shell/InterceptingTextField.h"
#include "shell/WaveformView.h"
#include "stage/ImageNotifierView.h"
#include "stage/Screensaver.h"
#include "stage/TextNotifierView.h"
#include "table/PlaylistTableView.h"
#include "table/TagMenu.h"
#include "waveform/TimeSlider.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// The times take a fifth of the window's height, within what a laptop and a projector need.
constexpr int minimumTimeHeight = 70;
constexpr int maximumTimeHeight = 260;
constexpr std::chrono::milliseconds resizeSettleTime{200};

QLabel* timeLabel(Qt::Alignment alignment, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("--:--"), parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    // The font follows the field's size, never the other way round.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    label->setEnabled(false);
    // Opaque: its new digits each second then repaint the label alone, not the window under it.
    label->setAutoFillBackground(true);
    return label;
}

QFont largeFont(const QWidget* widget, double factor, bool bold) {
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}
} // namespace

MainView::MainView(QWidget* parent)
    : QWidget(parent), timeSinceZeroText(timeLabel(Qt::AlignLeft, this)),
      timeRemainingText(timeLabel(Qt::AlignRight, this)), entryName(new QLabel(this)),
      noteTextField(new InterceptingTextField(this)), waveformView(new WaveformView(this)),
      timeSlider(new TimeSlider(this)), transportPanel(new TransportPanel(this)),
      sideStack(new QStackedWidget(this)), tableView(new PlaylistTableView(this)),
      tagMenu(new TagMenu(this)), timeRow(new QWidget(this)), resizeSettle(new QTimer(this)) {
    auto* times = new QHBoxLayout(timeRow);
    times->setContentsMargins(0, 0, 0, 0);
    times->addWidget(timeSinceZeroText, 1);
    times->addWidget(timeRemainingText, 1);

    entryName->setFont(largeFont(this, 2.2, true));
    entryName->setAlignment(Qt::AlignCenter);
    entryName->setTextFormat(Qt::PlainText);
    entryName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    noteTextField->setFont(largeFont(this, 2.0, false));
    noteTextField->setAlignment(Qt::AlignCenter);
    noteTextField->setFrame(false);
    noteTextField->setPlaceholderText(tr("Note"));

    // The slider lies over the waveform, both the full width.
    auto* track = new QWidget(this);
    auto* trackLayout = new QGridLayout(track);
    trackLayout->setContentsMargins(0, 0, 0, 0);
    trackLayout->addWidget(waveformView, 0, 0);
    trackLayout->addWidget(timeSlider, 0, 0);
    track->setFixedHeight(90);

    sideStack->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    // The side documents stand at the right of the displays, within reach while calling.
    auto* displays = new QVBoxLayout;
    displays->setSpacing(4);
    displays->addWidget(timeRow);
    displays->addWidget(entryName);
    displays->addWidget(noteTextField);
    auto* top = new QHBoxLayout;
    top->addLayout(displays, 1);
    top->addWidget(sideStack);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(track);
    layout->addWidget(transportPanel);
    layout->addWidget(tableView, 1);

    // Overlays: templates for the flashed symbols and texts, and the idle clock, all covering
    // the view when they show.
    imageNotifierView = new ImageNotifierView(this);
    textNotifierView = new TextNotifierView(this);
    screensaver = new Screensaver(this);
    imageNotifierView->hide();
    textNotifierView->hide();
    screensaver->hide();

    resizeSettle->setSingleShot(true);
    resizeSettle->setInterval(resizeSettleTime);
    connect(resizeSettle, &QTimer::timeout, this, &MainView::resizeEnded);
}

void MainView::mousePressEvent(QMouseEvent* event) {
    emit clickedElsewhere();
    QWidget::mousePressEvent(event);
}

void MainView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    timeRow->setFixedHeight(std::clamp(height() / 5, minimumTimeHeight, maximumTimeHeight));
    emit resized();
    resizeSettle->start();
}
