#include "documents/Mp4ViewController.h"

#include "platform/Diagnostics.h"

#include <QMediaPlayer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Mp4ViewController, KeysAndRemoteChangeRateAndVolumeWithinBoundsPrintAndClose) {
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    auto viewer = std::make_unique<Mp4ViewController>(QUrl::fromLocalFile("/nonexistent/demo.mp4"));
    QWidget* window = viewer->window();
    window->show();
    DiagnosticCapture output;

    QTest::keyClick(window, Qt::Key_H);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 0.5);
    QTest::keyClick(window, Qt::Key_D, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 2.0);
    QTest::keyClick(window, Qt::Key_S);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 1.5);
    QTest::keyClick(window, Qt::Key_N);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 1.0);

    // Keys the main window uses are taken without a word; the arrows and Q are reported.
    QTest::keyClick(window, Qt::Key_Z);
    QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Q);
    EXPECT_EQ(output.lines(), (QStringList{"uparrow", "downarrow", "Mp4ViewController: q"}));

    // The remote steps the rate and the viewer's own volume, within bounds.
    EXPECT_FLOAT_EQ(viewer->volume(), Mp4ViewController::initialVolume);

    viewer->remoteButtonPressed(RemoteControlButton::dpadUp);
    EXPECT_FLOAT_EQ(viewer->volume(), 1.0f);
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

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}
