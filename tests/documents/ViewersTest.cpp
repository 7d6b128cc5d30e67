// The document viewers: the PDF and MP4 viewers' keys and the remote's buttons, one viewer of each
// kind kept for the current entry, and windows fitted to a screen smaller than they ask for.

#include "documents/AboutViewController.h"
#include "documents/HelpViewController.h"
#include "documents/Mp4ViewController.h"
#include "documents/PdfViewController.h"
#include "documents/ScreenFit.h"
#include "documents/ViewerWindows.h"
#include "platform/Diagnostics.h"
#include "support/BadFile.h"

#include <QApplication>
#include <QLabel>
#include <QMediaPlayer>
#include <QPainter>
#include <QPdfView>
#include <QPdfWriter>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

TEST(PdfViewController, PagesZoomAndKeysOfASheetAndOfAFileThatIsNoPdf) {
    QTemporaryDir folder;
    const QString sheet = folder.filePath("cues.pdf");
    {
        QPdfWriter writer(sheet);
        QPainter painter(&writer);
        for (const int page : {1, 2, 3}) {
            if (page > 1)
                writer.newPage();
            painter.drawText(QPointF(200, 400), QString("Figure %1").arg(page));
        }
    }
    PdfViewController viewer(QUrl::fromLocalFile(sheet));
    QWidget* window = viewer.window();
    window->show();
    DiagnosticCapture output;
    // Never before the first page or past the last.
    for (const auto& [key, page] : {std::pair{Qt::Key_PageDown, 1},
                                    {Qt::Key_End, 2},
                                    {Qt::Key_PageDown, 2},
                                    {Qt::Key_Home, 0},
                                    {Qt::Key_PageUp, 0}}) {
        QTest::keyClick(window, key);
        EXPECT_EQ(viewer.currentPage(), page) << key;
    }
    QTest::keyClick(window, Qt::Key_Plus);
    const double zoomed = viewer.pdfView()->zoomFactor();
    QTest::keyClick(window, Qt::Key_Minus);
    EXPECT_LT(viewer.pdfView()->zoomFactor(), zoomed);
    QTest::keyClick(window, Qt::Key_0);
    EXPECT_EQ(viewer.pdfView()->zoomMode(), QPdfView::ZoomMode::FitToWidth);
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_EQ(output.lines(), QStringList{"PdfViewController: F5"});
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());

    // A broken file gives a viewer that says why in its window, and whose keys still work.
    const QString broken = folder.filePath("broken.pdf");
    ASSERT_TRUE(putBadFile(broken, "%PDF-1.4 but nothing more"));
    output.clear();
    PdfViewController empty(QUrl::fromLocalFile(broken));
    EXPECT_EQ(empty.pdfView(), nullptr);
    ASSERT_EQ(output.lines().size(), 1);
    EXPECT_TRUE(output.lines()[0].startsWith("Can't show " + broken));
    EXPECT_EQ(empty.window()->findChild<QLabel*>()->text(), output.lines()[0]);
    QTest::keyClick(empty.window(), Qt::Key_PageDown);
    EXPECT_EQ(empty.currentPage(), 0);
}

TEST(Mp4ViewController, KeysAndRemoteChangeRateAndVolumeWithinBounds) {
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    Mp4ViewController viewer(QUrl::fromLocalFile("/nonexistent/demo.mp4"));
    QWidget* window = viewer.window();
    window->show();
    DiagnosticCapture output;
    const auto rate = [&] { return viewer.player()->playbackRate(); };
    for (const auto& [key, modifier, expected] : {std::tuple{Qt::Key_H, Qt::NoModifier, 0.5},
                                                  {Qt::Key_D, Qt::ShiftModifier, 2.0},
                                                  {Qt::Key_S, Qt::NoModifier, 1.5},
                                                  {Qt::Key_N, Qt::NoModifier, 1.0}}) {
        QTest::keyClick(window, key, modifier);
        EXPECT_DOUBLE_EQ(rate(), expected) << key;
    }
    // Keys the main window uses are taken without a word; the arrows and Q are reported.
    for (const Qt::Key key : {Qt::Key_Z, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Q})
        QTest::keyClick(window, key);
    EXPECT_EQ(output.lines(), (QStringList{"uparrow", "downarrow", "Mp4ViewController: q"}));

    // The remote steps the viewer's own volume and the rate within bounds; left is faster, as on
    // the main transport.
    using B = RemoteControlButton;
    const struct {
        B button;
        int times;
        float volume;
        double rate;
    } presses[] = {
        {B::dpadUp, 1, 1.0f, 1.0},
        {B::dpadDown, 30, 0.0f, 1.0},
        {B::dpadLeft, 1, 0.0f, 1.1},
        {B::dpadLeft, 20, 0.0f, Mp4ViewController::maximumRate},
        {B::dpadRight, 30, 0.0f, Mp4ViewController::minimumRate},
        {B::L, 1, 0.0f, 1.0},
    };
    for (const auto& press : presses) {
        for (int i = 0; i < press.times; ++i)
            viewer.remoteButtonPressed(press.button);
        EXPECT_FLOAT_EQ(viewer.volume(), press.volume) << int(press.button);
        EXPECT_NEAR(rate(), press.rate, 1e-6) << int(press.button);
    }
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST(ViewerWindows, KeepOneViewerOfEachKindUntilTheEntryChanges) {
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    DiagnosticCapture output;
    ViewerWindows viewers;
    // Unreadable files still give viewers (without content); that is all this needs.
    QPointer<QWidget> first = viewers.openPdf(QUrl::fromLocalFile("/nonexistent/a.pdf")).window();
    QPointer<QWidget> pdf = viewers.openPdf(QUrl::fromLocalFile("/nonexistent/b.pdf")).window();
    QPointer<QWidget> mp4 = viewers.openMp4(QUrl::fromLocalFile("/nonexistent/c.mp4")).window();
    EXPECT_TRUE(first.isNull());
    ASSERT_TRUE(pdf && mp4);
    // The remote reaches the video only while its window is the active one.
    QApplication::setActiveWindow(mp4);
    EXPECT_EQ(viewers.activeRemoteTarget(), viewers.mp4ViewController());
    QApplication::setActiveWindow(pdf);
    EXPECT_EQ(viewers.activeRemoteTarget(), nullptr);

    // Closed by the user, a viewer comes back from the Window menu until the entry changes.
    pdf->close();
    EXPECT_TRUE(viewers.raisePdfViewer());
    EXPECT_TRUE(pdf->isVisible());
    viewers.closeViewers();
    EXPECT_TRUE(pdf.isNull() && mp4.isNull());
    EXPECT_FALSE(viewers.raisePdfViewer() || viewers.raiseMp4Viewer());
}

TEST(ScreenFit, WindowsTallerThanTheScreenAreFittedToItAndSmallerOnesKeepTheirSize) {
    // The offscreen test screen (800 x 600) is smaller than the pages ask for.
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size();
    DiagnosticCapture output;
    AboutViewController about([] {});
    HelpViewController guide;
    PdfViewController pdf(QUrl::fromLocalFile("/nonexistent/cues.pdf"));
    for (const QWidget* window : {static_cast<QWidget*>(about.browser()),
                                  static_cast<QWidget*>(guide.browser()), pdf.window()})
        EXPECT_TRUE(window->width() <= room.width() && window->height() <= room.height())
            << window->windowTitle().toStdString();
    QWidget small;
    resizeToFit(small, QSize(300, 200));
    EXPECT_EQ(small.size(), QSize(300, 200));
}
