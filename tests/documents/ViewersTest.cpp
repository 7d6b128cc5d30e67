// The PDF viewer: its keys, and a PDF that cannot be shown.

#include "documents/PdfViewController.h"
#include "platform/Diagnostics.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
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
