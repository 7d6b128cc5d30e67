#include "documents/PdfViewController.h"

#include "platform/Diagnostics.h"

#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
QString writeCueSheet(const QTemporaryDir& folder, int pages) {
    const QString path = folder.filePath("cues.pdf");
    QPdfWriter writer(path);
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.drawText(QPointF(200, 400), QString("Figure %1").arg(page + 1));
    }
    return path;
}
} // namespace

TEST(PdfViewController, PagesZoomAndKeysOfALoadedSheet) {
    QTemporaryDir folder;
    PdfViewController viewer(QUrl::fromLocalFile(writeCueSheet(folder, 3)));
    ASSERT_NE(viewer.theDocument(), nullptr);
    QWidget* window = viewer.window();
    window->show();
    DiagnosticCapture output;

    QTest::keyClick(window, Qt::Key_PageDown);
    EXPECT_EQ(viewer.currentPage(), 1);
    QTest::keyClick(window, Qt::Key_End);
    QTest::keyClick(window, Qt::Key_PageDown);
    EXPECT_EQ(viewer.currentPage(), 2) << "no page past the last";
    QTest::keyClick(window, Qt::Key_Home);
    QTest::keyClick(window, Qt::Key_PageUp);
    EXPECT_EQ(viewer.currentPage(), 0);

    QTest::keyClick(window, Qt::Key_Plus);
    EXPECT_EQ(viewer.pdfView()->zoomMode(), QPdfView::ZoomMode::Custom);
    const double zoomed = viewer.pdfView()->zoomFactor();
    QTest::keyClick(window, Qt::Key_Minus);
    EXPECT_LT(viewer.pdfView()->zoomFactor(), zoomed);
    QTest::keyClick(window, Qt::Key_0);
    EXPECT_EQ(viewer.pdfView()->zoomMode(), QPdfView::ZoomMode::FitToWidth);

    QTest::keyClick(window, Qt::Key_Q);
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_EQ(output.lines(), (QStringList{"PdfViewController: q", "PdfViewController: F5"}));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST(PdfViewController, AFileThatIsNoPdfGivesAViewerWithoutDocument) {
    QTemporaryDir folder;
    const QString path = folder.filePath("broken.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4 but nothing more");
    file.close();

    DiagnosticCapture output;
    PdfViewController viewer(QUrl::fromLocalFile(path));
    EXPECT_EQ(viewer.pdfView(), nullptr);
    ASSERT_EQ(output.lines().size(), 1);
    EXPECT_TRUE(output.lines()[0].startsWith("Can't show " + path));
    const QLabel* message = viewer.window()->findChild<QLabel*>();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), output.lines()[0]);
    // The keys still work without a document.
    QTest::keyClick(viewer.window(), Qt::Key_PageDown);
    EXPECT_EQ(viewer.currentPage(), 0);
}
