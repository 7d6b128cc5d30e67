#include "documents/Mp4ViewController.h"

#include "documents/VideoFrameView.h"
#include "platform/Diagnostics.h"

#include <QMediaPlayer>
#include <QProcess>
#include <QTemporaryDir>
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

namespace {
QStringList debugLines;
void collectDebugLines(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg)
        debugLines << message;
}
} // namespace

TEST(Mp4ViewController, TheFirstFrameReachesTheWindowWithoutOpenGLAndQuietly) {
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    const QtMessageHandler previous = qInstallMessageHandler(collectDebugLines);
    QTemporaryDir dir;
    const QString path = dir.filePath("testsrc.mp4");
    // FFmpeg's colour bars: no pixel of the picture is black.
    if (QProcess::execute("ffmpeg", {"-loglevel", "error", "-f", "lavfi", "-i",
                                     "testsrc=duration=2:size=320x240:rate=25", "-pix_fmt",
                                     "yuv420p", path}) != 0)
        GTEST_SKIP() << "ffmpeg could not make the video";
    Mp4ViewController viewer(QUrl::fromLocalFile(path));
    viewer.window()->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer.mp4aview()->frameImage().isNull(); }, 10000))
        << "shown on opening, before play";

    // Letterboxed on black, the picture covers most of the window.
    const QImage shown = viewer.window()->grab().toImage();
    int lit = 0;
    int total = 0;
    for (int y = 0; y < shown.height(); y += 8)
        for (int x = 0; x < shown.width(); x += 8, ++total)
            lit += qGray(shown.pixel(x, y)) > 16 ? 1 : 0;
    EXPECT_GT(lit, total / 2);
    // The search for hardware decoders this computer lacks is not reported.
    EXPECT_TRUE(debugLines.filter("HW", Qt::CaseInsensitive).isEmpty())
        << debugLines.join('\n').toStdString();
    qInstallMessageHandler(previous);
}
