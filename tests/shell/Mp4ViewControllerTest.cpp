#include "shell/Mp4ViewController.h"

#include "platform/Diagnostics.h"

#include <QMediaPlayer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
std::unique_ptr<Mp4ViewController> makeViewer() {
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    auto viewer = std::make_unique<Mp4ViewController>(QUrl::fromLocalFile("/nonexistent/demo.mp4"));
    viewer->window()->show();
    return viewer;
}
} // namespace

TEST(Mp4ViewController, KeyTable) {
    EXPECT_EQ(mp4KeyAction(Qt::Key_Space, " "), Mp4KeyAction::togglePlay);
    EXPECT_EQ(mp4KeyAction(Qt::Key_H, "h"), Mp4KeyAction::rateHalf);
    EXPECT_EQ(mp4KeyAction(Qt::Key_H, "H"), Mp4KeyAction::rateHalf);
    EXPECT_EQ(mp4KeyAction(Qt::Key_N, "N"), Mp4KeyAction::rateNormal);
    EXPECT_EQ(mp4KeyAction(Qt::Key_S, "s"), Mp4KeyAction::rateOneAndHalf);
    EXPECT_EQ(mp4KeyAction(Qt::Key_D, "D"), Mp4KeyAction::rateDouble);
    EXPECT_EQ(mp4KeyAction(Qt::Key_Z, "Z"), Mp4KeyAction::taken);
    EXPECT_EQ(mp4KeyAction(Qt::Key_Left, ""), Mp4KeyAction::taken);
    EXPECT_EQ(mp4KeyAction(Qt::Key_Right, ""), Mp4KeyAction::taken);
    EXPECT_EQ(mp4KeyAction(Qt::Key_Up, ""), Mp4KeyAction::upArrow);
    EXPECT_EQ(mp4KeyAction(Qt::Key_Down, ""), Mp4KeyAction::downArrow);
    EXPECT_EQ(mp4KeyAction(Qt::Key_Escape, "\x1b"), Mp4KeyAction::close);
    EXPECT_EQ(mp4KeyAction(Qt::Key_Q, "q"), Mp4KeyAction::print);
    EXPECT_EQ(mp4KeyAction(Qt::Key_F5, ""), Mp4KeyAction::print);
    EXPECT_EQ(mp4KeyAction(Qt::Key_Shift, ""), Mp4KeyAction::ignore);
}

TEST(Mp4ViewController, KeysChangeRatePrintAndClose) {
    auto viewer = makeViewer();
    QWidget* window = viewer->window();
    DiagnosticCapture output;

    QTest::keyClick(window, Qt::Key_H);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 0.5);
    QTest::keyClick(window, Qt::Key_D, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 2.0);
    QTest::keyClick(window, Qt::Key_S);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 1.5);
    QTest::keyClick(window, Qt::Key_N);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 1.0);

    QTest::keyClick(window, Qt::Key_Z);
    QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Q);
    EXPECT_EQ(output.lines(), (QStringList{"uparrow", "downarrow", "Mp4ViewController: q"}));

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST(Mp4ViewController, RemoteStepsRateAndItsOwnVolumeWithinBounds) {
    auto viewer = makeViewer();
    DiagnosticCapture output;
    EXPECT_FLOAT_EQ(viewer->volume(), Mp4ViewController::initialVolume);

    viewer->remoteButtonPressed(RemoteControlButton::dpadUp);
    EXPECT_FLOAT_EQ(viewer->volume(), 1.0f);
    for (int i = 0; i < 3; ++i)
        viewer->remoteButtonPressed(RemoteControlButton::dpadDown);
    EXPECT_NEAR(viewer->volume(), 0.85f, 1e-6);
    for (int i = 0; i < 30; ++i)
        viewer->remoteButtonPressed(RemoteControlButton::dpadDown);
    EXPECT_FLOAT_EQ(viewer->volume(), 0.0f);

    // Left is faster, as on the main transport; the rate stays within 0.5 … 2.0.
    viewer->remoteButtonPressed(RemoteControlButton::dpadLeft);
    EXPECT_NEAR(viewer->player()->playbackRate(), 1.1, 1e-6);
    for (int i = 0; i < 20; ++i)
        viewer->remoteButtonPressed(RemoteControlButton::dpadLeft);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), Mp4ViewController::maximumRate);
    for (int i = 0; i < 30; ++i)
        viewer->remoteButtonPressed(RemoteControlButton::dpadRight);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), Mp4ViewController::minimumRate);
    viewer->remoteButtonPressed(RemoteControlButton::L);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 1.0);
}
