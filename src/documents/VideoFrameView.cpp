#include "documents/VideoFrameView.h"

#include <QPainter>
#include <QVideoFrame>

VideoFrameView::VideoFrameView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 90);
    connect(&sink, &QVideoSink::videoFrameChanged, this, &VideoFrameView::showFrame);
}

void VideoFrameView::showFrame(const QVideoFrame& videoFrame) {
    // An invalid frame ends the video (the player stopped): the last picture stays.
    if (!videoFrame.isValid())
        return;
    frame = videoFrame.toImage();
    update();
}

void VideoFrameView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (frame.isNull())
        return;
    QRect target(QPoint(), frame.size().scaled(size(), Qt::KeepAspectRatio));
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
}
