// varlin-stageshots OUTDIR: writes clock-break-ring.png, the clock at a fixed moment of a break,
// so that it comes out the same on every run; run it under xvfb-run. The screensaver and the
// notifier flash are taken over the real window by varlin-screenshot.

#include "playback/RestTimer.h"
#include "stage/Clock.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {

// A clock that stands still at the moment it is set to; the break timer's own deadline never comes.
struct StagedTime : TimeSource {
    QDateTime moment;

    QDateTime now() const override { return moment; }
    void callAt(const QDateTime&, std::function<void()>) override {}
    void cancel() override {}
};

QDateTime today(int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 12, 6), QTime(hour, minute, second));
}

// A break timer armed at `armed` with a break of `minutes`, seen at `now`.
std::unique_ptr<RestTimer> breakTimer(const QDateTime& armed, const QDateTime& now,
                                      double minutes) {
    auto staged = std::make_unique<StagedTime>();
    StagedTime* clock = staged.get();
    clock->moment = armed;
    auto timer = std::make_unique<RestTimer>([minutes] { return minutes; }, std::move(staged));
    timer->arm();
    clock->moment = now;
    return timer;
}

bool save(QWidget& widget, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: varlin-stageshots OUTDIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;

    // 3:30, two minutes into a five-minute break: the ring has 60 % left.
    {
        QWidget frame;
        frame.resize(360, 360);
        Clock clock(&frame);
        clock.setGeometry(frame.rect());
        const QDateTime now = today(15, 30);
        clock.setTimeSource([now] { return now; });
        const auto rest = breakTimer(today(15, 28), now, 5);
        clock.setRestTimer(rest.get());
        clock.setClockVisible(true);
        ok &= save(frame, dir, "clock-break-ring.png");
    }

    return ok ? 0 : 1;
}
