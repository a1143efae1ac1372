#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace ziro {

// Keeps one running copy of the program per user and desktop. The first copy
// holds a lock file and listens on a local socket; a later copy finds the lock
// taken, asks the first one through the socket to come to the front, and is
// told to end.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& key = SingleInstance::defaultKey(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only running copy (it then stays so until
    // destroyed). False when another copy holds the lock; that copy has been
    // sent a raise request by then. A lock left by a copy that died is taken
    // over. When no lock file can be made at all the program is let run.
    bool acquire();

    // Per user and per display, so that two desktops of one machine, or two
    // users, each get their own copy.
    static QString defaultKey();

    QString lockFilePath() const { return m_lockPath; }
    // The full path of the local socket.
    QString serverName() const { return m_serverName; }

Q_SIGNALS:
    // Emitted in the first copy when another one asked it to come to the front.
    void raiseRequested();

private:
    void onNewConnection();
    void sendRaiseRequest();

    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

}  // namespace ziro
