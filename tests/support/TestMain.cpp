// Entry point of every test executable.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    setenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit().constData(), 1);
    // A runtime folder of its own (sockets such as the single-instance channel live there), so
    // test processes running side by side never meet.
    const QString runtime = home.path() + "/runtime";
    if (!QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return 2;
    setenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit().constData(), 1);

    QApplication app(argc, argv);
    QApplication::setOrganizationName("brenmoor");
    QApplication::setApplicationName("varlin");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
