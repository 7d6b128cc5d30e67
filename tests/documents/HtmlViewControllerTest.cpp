// The help and about pages: the page's own links reach their controller, other links go to the
// desktop.

#include "documents/AboutViewController.h"
#include "platform/Diagnostics.h"

#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {
// A link opener that keeps what it is asked to open.
std::function<bool(const QUrl&)> recordingInto(std::vector<QUrl>& opened) {
    return [&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    };
}
} // namespace

TEST(HtmlViewController, AboutPageLinkReachesItsControllerAndOthersGoToTheDesktop) {
    int helpShown = 0;
    AboutViewController about([&] { ++helpShown; });
    std::vector<QUrl> opened;
    about.setLinkOpener(recordingInto(opened));
    QTextBrowser* browser = about.browser();
    // Through the page itself: the keyboard moves to the link and follows it.
    about.show();
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(helpShown, 1);
    EXPECT_TRUE(opened.empty());

    DiagnosticCapture output;
    about.linkActivated(QUrl("varlin:launchSomething"));
    EXPECT_EQ(output.lines(), QStringList{"Unknown page command: launchSomething"});
    about.linkActivated(QUrl("https://example.org/dances"));
    EXPECT_EQ(opened, std::vector{QUrl("https://example.org/dances")});
}
