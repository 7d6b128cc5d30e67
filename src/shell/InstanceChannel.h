#pragma once
// One running program per login session: a second start hands the files of its command line
// to the running one over a local socket in the session's runtime folder ($XDG_RUNTIME_DIR)
// and ends. The first start listens.

#include <QLocalServer>
#include <QObject>
#include <QStringList>

class InstanceChannel : public QObject {
    Q_OBJECT
public:
    // The socket in the login session's runtime folder.
    static QString defaultName();

    explicit InstanceChannel(QString name, QObject* parent = nullptr);

    // True when a running program took the paths (then this start ends).
    static bool handOver(const QString& name, const QStringList& paths);
    // Listens from now on, replacing a socket that a crashed run left behind.
    bool listen();

signals:
    // Another start handed over its paths (possibly none: it only wants the window shown).
    void filesReceived(const QStringList& paths);

private:
    void accept();

    QString name;
    QLocalServer server;
};
