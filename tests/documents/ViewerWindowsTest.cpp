#include "documents/ViewerWindows.h"

#include "platform/Diagnostics.h"
#include "documents/Mp4ViewController.h"
#include "documents/PdfViewController.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
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
    ASSERT_FALSE(pdf.isNull());
    ASSERT_FALSE(mp4.isNull());
    EXPECT_TRUE(pdf->isVisible());
    EXPECT_TRUE(mp4->isVisible());

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
    EXPECT_EQ(viewers.pdfViewController(), nullptr);
    EXPECT_EQ(viewers.mp4ViewController(), nullptr);
    EXPECT_TRUE(pdf.isNull());
    EXPECT_TRUE(mp4.isNull());
    EXPECT_EQ(viewers.activeRemoteTarget(), nullptr);
    EXPECT_FALSE(viewers.raisePdfViewer());
    EXPECT_FALSE(viewers.raiseMp4Viewer());
}
