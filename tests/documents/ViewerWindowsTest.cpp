#include "documents/ViewerWindows.h"

#include "documents/Mp4ViewController.h"
#include "documents/PdfViewController.h"
#include "platform/Diagnostics.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ViewerWindows, KeepOneViewerOfEachKindAndCloseBothOnEntryChange) {
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    DiagnosticCapture output;
    ViewerWindows viewers;
    EXPECT_EQ(viewers.activeRemoteTarget(), nullptr);

    // Unreadable files still give viewers (without content); that is all this needs.
    QPointer<QWidget> firstPdf =
        viewers.openPdf(QUrl::fromLocalFile("/nonexistent/a.pdf")).window();
    QPointer<QWidget> pdf = viewers.openPdf(QUrl::fromLocalFile("/nonexistent/b.pdf")).window();
    QPointer<QWidget> mp4 = viewers.openMp4(QUrl::fromLocalFile("/nonexistent/c.mp4")).window();
    EXPECT_TRUE(firstPdf.isNull());
    ASSERT_TRUE(pdf && mp4);
    EXPECT_TRUE(pdf->isVisible() && mp4->isVisible());

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
