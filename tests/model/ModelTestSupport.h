#pragma once
// Helpers shared by the model tests: a fixed clock, files written and read whole, and running
// Python's plistlib as the peer implementation of the property-list format.

#include "model/WallClock.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// Stands the model's clock at a given moment for the life of the object.
class FixedClock {
public:
    explicit FixedClock(QDateTime now) : _now(std::move(now)) {
        WallClock::setSource([this] { return _now; });
    }
    ~FixedClock() { WallClock::setSource({}); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    void set(QDateTime now) { _now = std::move(now); }
    void advance(qint64 seconds) { _now = _now.addSecs(seconds); }

private:
    QDateTime _now;
};

inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << path.toStdString();
    return path;
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a Python script with the given arguments; returns its standard output. The test fails
// when Python is missing or the script exits with an error.
inline QByteArray runPython(const QString& script, const QStringList& arguments = {}) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    EXPECT_FALSE(python.isEmpty()) << "python3 is needed (scripts/install-deps installs it)";
    QProcess process;
    process.start(python, QStringList{QStringLiteral("-c"), script} + arguments);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}
