#include "playback/SystemTimeSource.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

// A deadline already passed is delivered through the event loop, not from inside callAt, and a
// new call replaces the pending one.
TEST(SystemTimeSource, CallsTheNewestHandlerOnceFromTheEventLoop) {
    SystemTimeSource source;
    int first = 0;
    int second = 0;
    const QDateTime past = source.now().addSecs(-1);
    source.callAt(past, [&] { ++first; });
    source.callAt(past, [&] { ++second; });
    EXPECT_EQ(second, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second == 1; }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}
