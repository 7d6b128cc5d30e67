// The document viewers: the PDF and MP4 viewers' keys, a PDF that cannot be shown, and one viewer
// of each kind kept for the current entry.

#include "documents/Mp4ViewController.h"
#include "documents/PdfViewController.h"
#include "documents/ViewerWindows.h"
#include "platform/Diagnostics.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QMediaPlayer>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(PdfViewController, KeysTurnThePagesAndAFileThatIsNoPdfSaysWhy) {
    QTemporaryDir folder;
    const QString sheet = folder.filePath("cues.pdf");
    {
        QPdfWriter writer(sheet);
        QPainter painter(&writer);
        painter.drawText(QPointF(200, 400), "Figure 1");
        writer.newPage();
        painter.drawText(QPointF(200, 400), "Figure 2");
    }
    PdfViewController viewer(QUrl::fromLocalFile(sheet));
    QWidget* window = viewer.window();
    window->show();
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(viewer.currentPage(), 1);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());

    // A broken file gives a viewer that says why in its window, and whose keys still work.
    const QString broken = folder.filePath("broken.pdf");
    ASSERT_TRUE(putBadFile(broken, "%PDF-1.4 but nothing more"));
    DiagnosticCapture output;
    PdfViewController empty(QUrl::fromLocalFile(broken));
    EXPECT_EQ(empty.pdfView(), nullptr);
    ASSERT_EQ(output.lines().size(), 1);
    EXPECT_TRUE(output.lines()[0].startsWith("Can't show " + broken));
    EXPECT_EQ(empty.window()->findChild<QLabel*>()->text(), output.lines()[0]);
    QTest::keyClick(empty.window(), Qt::Key_PageDown);
    EXPECT_EQ(empty.currentPage(), 0);
}

TEST(Mp4ViewController, KeysChangeTheRateAndEscapeCloses) {
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    Mp4ViewController viewer(QUrl::fromLocalFile("/nonexistent/demo.mp4"));
    QWidget* window = viewer.window();
    window->show();
    QTest::keyClick(window, Qt::Key_H);
    EXPECT_DOUBLE_EQ(viewer.player()->playbackRate(), 0.5);
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
    // Closed by the user, a viewer comes back from the Window menu until the entry changes.
    pdf->close();
    EXPECT_TRUE(viewers.raisePdfViewer());
    EXPECT_TRUE(pdf->isVisible());
    viewers.closeViewers();
    EXPECT_TRUE(pdf.isNull() && mp4.isNull());
    EXPECT_FALSE(viewers.raisePdfViewer() || viewers.raiseMp4Viewer());
}
