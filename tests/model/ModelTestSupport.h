#pragma once
// The model tests' helpers: the shared clock and files, and Python's plistlib as the peer
// implementation of the property-list format.

#include "support/FixedClock.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

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
