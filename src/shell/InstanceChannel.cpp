#include "shell/InstanceChannel.h"

#include <QLocalSocket>
#include <QStandardPaths>
#include <memory>

namespace {
constexpr int connectTimeoutMs = 500;
constexpr int writeTimeoutMs = 2000;
} // namespace

QString InstanceChannel::defaultName() {
    // A full path, so that the socket lives in the login session's own runtime folder: a start
    // on another display or with other data folders has another one and runs by itself.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/net.brenmoor.varlin.socket");
}

InstanceChannel::InstanceChannel(QString name, QObject* parent)
    : QObject(parent), name(std::move(name)) {
    server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server, &QLocalServer::newConnection, this, &InstanceChannel::accept);
}

bool InstanceChannel::handOver(const QString& name, const QStringList& paths) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    for (const QString& path : paths)
        socket.write(path.toUtf8() + '\n');
    socket.write("\n");
    socket.flush();
    const bool written = socket.bytesToWrite() == 0 || socket.waitForBytesWritten(writeTimeoutMs);
    socket.disconnectFromServer();
    return written;
}

bool InstanceChannel::listen() {
    if (server.listen(name))
        return true;
    QLocalServer::removeServer(name);
    return server.listen(name);
}

void InstanceChannel::accept() {
    while (QLocalSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // One path a line, ended by an empty line.
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
            received->append(socket->readAll());
            if (*received != "\n" && !received->endsWith("\n\n"))
                return;
            QStringList paths;
            for (const QByteArray& line : received->split('\n'))
                if (!line.isEmpty())
                    paths.append(QString::fromUtf8(line));
            received->clear();
            emit filesReceived(paths);
        });
    }
}
