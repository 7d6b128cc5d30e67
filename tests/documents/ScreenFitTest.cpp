#include "documents/ScreenFit.h"

#include "documents/AboutViewController.h"
#include "documents/HelpViewController.h"
#include "documents/PdfViewController.h"
#include "platform/Diagnostics.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <gtest/gtest.h>

TEST(ScreenFit, WindowsTallerThanTheScreenAreFittedToItAndSmallerOnesKeepTheirSize) {
    // The offscreen test screen (800 x 600) is smaller than the pages ask for.
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size();
    DiagnosticCapture output;
    AboutViewController about([] {});
    HelpViewController guide;
    PdfViewController pdf(QUrl::fromLocalFile("/nonexistent/cues.pdf"));
    for (const QWidget* window : {static_cast<QWidget*>(about.browser()),
                                  static_cast<QWidget*>(guide.browser()), pdf.window()}) {
        EXPECT_LE(window->width(), room.width()) << window->windowTitle().toStdString();
        EXPECT_LE(window->height(), room.height()) << window->windowTitle().toStdString();
    }
    QWidget small;
    resizeToFit(small, QSize(300, 200));
    EXPECT_EQ(small.size(), QSize(300, 200));
}
