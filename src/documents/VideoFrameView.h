#pragma once
// Shows the frames of a video player without OpenGL: each frame that reaches the view's video
// sink is converted to an image and painted, letterboxed on black, by the plain widget painter.
// Works on any display, also on virtual ones that offer no GL context.

#include <QImage>
#include <QVideoSink>
#include <QWidget>

class VideoFrameView : public QWidget {
public:
    explicit VideoFrameView(QWidget* parent = nullptr);

    // The media player's video output.
    QVideoSink* videoSink() { return &sink; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showFrame(const QVideoFrame& videoFrame);

    QVideoSink sink;
    QImage frame;
};
