#include "services/IdleInhibitor.h"

#include "support/PrivateBus.h"

#include <QDBusConnectionInterface>
#include <QDBusUnixFileDescriptor>
#include <QMutex>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The stand-ins answer on a thread of their own, as the desktop's services answer from their own
// processes: the program waits for them when it ends. Each writes down the calls it answered.
struct CallLog {
    QStringList calls() const {
        const QMutexLocker lock(&mutex);
        return _calls;
    }
    mutable QMutex mutex;
    QStringList _calls;
};

class FakeScreenSaver : public QObject, public CallLog {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    uint Inhibit(const QString& application, const QString&) {
        const QMutexLocker lock(&mutex);
        EXPECT_EQ(application, "Varlin");
        _calls.append("Inhibit " + QString::number(++cookie));
        return cookie;
    }
    void UnInhibit(uint released) {
        const QMutexLocker lock(&mutex);
        _calls.append("UnInhibit " + QString::number(released));
    }

private:
    uint cookie = 0;
};

// Hands out the write end of a pipe, as logind hands out a FIFO: the block lasts while the
// descriptor stays open, which the read end sees.
class FakeLogin : public QObject, public CallLog {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    ~FakeLogin() override {
        for (const int fd : readEnds)
            close(fd);
    }
    // Whether the descriptor of the `n`th call (from 0) is still open.
    bool held(int n) const {
        const QMutexLocker lock(&mutex);
        pollfd watch{readEnds.at(size_t(n)), POLLIN, 0};
        return poll(&watch, 1, 0) == 0;
    }

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString&, const QString&,
                                    const QString& mode) {
        const QMutexLocker lock(&mutex);
        _calls.append(what + ' ' + mode);
        int ends[2];
        EXPECT_EQ(pipe(ends), 0);
        readEnds.push_back(ends[0]);
        const QDBusUnixFileDescriptor given(ends[1]);
        close(ends[1]);
        return given;
    }

private:
    std::vector<int> readEnds;
};

class IdleInhibitorTest : public testing::Test {
protected:
    IdleInhibitorTest() {
        screenSaver.moveToThread(&servicesThread);
        login.moveToThread(&servicesThread);
        servicesThread.start();
        QDBusConnection services = bus.connect("services");
        services.registerObject("/org/freedesktop/ScreenSaver", &screenSaver,
                                QDBusConnection::ExportAllSlots);
        services.registerService("org.freedesktop.ScreenSaver");
        services.registerObject("/org/freedesktop/login1", &login, QDBusConnection::ExportAllSlots);
        services.registerService("org.freedesktop.login1");
        inhibitor = std::make_unique<IdleInhibitor>(bus.connect("session"), bus.connect("system"));
    }
    ~IdleInhibitorTest() override {
        inhibitor.reset();
        servicesThread.quit();
        servicesThread.wait();
    }
    // Waits until each service has had this many calls, then for a round trip on each
    // connection, so that the answers to what they sent before are in.
    bool waitForCalls(int screenSaverCalls, int loginCalls) {
        const bool arrived = QTest::qWaitFor(
            [&] {
                return screenSaver.calls().size() >= screenSaverCalls &&
                       login.calls().size() >= loginCalls;
            },
            10000);
        for (const char* name : {"session", "system"})
            QDBusConnection(name).interface()->isServiceRegistered("org.freedesktop.DBus");
        QCoreApplication::processEvents();
        return arrived;
    }

    PrivateBus bus;
    QThread servicesThread;
    FakeScreenSaver screenSaver;
    FakeLogin login;
    std::unique_ptr<IdleInhibitor> inhibitor;
};

} // namespace

TEST_F(IdleInhibitorTest, holdsBothUntilReleasedAlsoWhenTheReleaseOvertakesTheRequest) {
    inhibitor->setHeld(true);
    inhibitor->setHeld(true);
    ASSERT_TRUE(waitForCalls(1, 1));
    EXPECT_EQ(screenSaver.calls(), QStringList{"Inhibit 1"});
    EXPECT_EQ(login.calls(), QStringList{"idle:sleep block"});
    EXPECT_TRUE(login.held(0));

    inhibitor->setHeld(false);
    ASSERT_TRUE(waitForCalls(2, 1));
    EXPECT_EQ(screenSaver.calls()[1], "UnInhibit 1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !login.held(0); }, 10000));

    // Released before the services answered: what they grant goes back at once.
    inhibitor->setHeld(true);
    inhibitor->setHeld(false);
    ASSERT_TRUE(waitForCalls(4, 2));
    EXPECT_EQ(screenSaver.calls().mid(2), (QStringList{"Inhibit 2", "UnInhibit 2"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !login.held(1); }, 10000));

    // The program ends while a request is on its way: it waits, then gives everything back.
    inhibitor->setHeld(true);
    inhibitor.reset();
    EXPECT_EQ(screenSaver.calls().mid(4), (QStringList{"Inhibit 3", "UnInhibit 3"}));
    ASSERT_EQ(login.calls().size(), 3);
    EXPECT_FALSE(login.held(2));
}

#include "IdleInhibitorTest.moc"
