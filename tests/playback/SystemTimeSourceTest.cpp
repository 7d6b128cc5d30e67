#include "playback/SystemTimeSource.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

TEST(SystemTimeSource, CallsOnceFromTheEventLoopAndCancels) {
    SystemTimeSource source;
    int first = 0;
    int second = 0;
    const QDateTime past = source.now().addSecs(-1);
    const auto waitFor = [](const int& count, int wanted) {
        return QTest::qWaitFor([&] { return count == wanted; }, 5000);
    };

    // A deadline already passed is still delivered through the event loop, not from callAt.
    source.callAt(past, [&] { ++first; });
    EXPECT_EQ(first, 0);
    ASSERT_TRUE(waitFor(first, 1));

    // A new call replaces the pending one.
    source.callAt(past, [&] { ++first; });
    source.callAt(past, [&] { ++second; });
    ASSERT_TRUE(waitFor(second, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(first, 1);

    source.callAt(past, [&] { ++second; });
    source.cancel();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(second, 1);

    // The handler may schedule the next call.
    source.callAt(past, [&] {
        ++first;
        source.callAt(past, [&] { ++second; });
    });
    ASSERT_TRUE(waitFor(second, 2));
    EXPECT_EQ(first, 2);
}
