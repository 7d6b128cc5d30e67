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
    for (const Qt::Key key : {Qt::Key_Z, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Q})
        QTest::keyClick(window, key);
    EXPECT_EQ(output.lines(), (QStringList{"uparrow", "downarrow", "Mp4ViewController: q"}));

    // The remote steps the viewer's own volume and the rate within bounds; left is faster, as on
    // the main transport.
    const auto press = [&](RemoteControlButton button, int times) {
        for (int i = 0; i < times; ++i)
            viewer->remoteButtonPressed(button);
    };
    press(RemoteControlButton::dpadUp, 1);
    EXPECT_FLOAT_EQ(viewer->volume(), 1.0f);
    press(RemoteControlButton::dpadDown, 30);
    EXPECT_FLOAT_EQ(viewer->volume(), 0.0f);
    press(RemoteControlButton::dpadLeft, 1);
    EXPECT_NEAR(viewer->player()->playbackRate(), 1.1, 1e-6);
    press(RemoteControlButton::dpadLeft, 20);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), Mp4ViewController::maximumRate);
    press(RemoteControlButton::dpadRight, 30);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), Mp4ViewController::minimumRate);
    press(RemoteControlButton::L, 1);
    EXPECT_DOUBLE_EQ(viewer->player()->playbackRate(), 1.0);

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}
