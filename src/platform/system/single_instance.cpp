#include "platform/system/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ziro {

namespace {

constexpr QByteArrayView kRaiseRequest = "raise";
constexpr int kClientWaitMs = 1000;

// Keys become file names and socket paths, which have a short length limit.
QString sanitisedKey(const QString& key)
{
    QString out;
    for (const QChar c : key) {
        const bool safe = (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == QLatin1Char('-')
                          || c == QLatin1Char('_') || c == QLatin1Char('.');
        out += safe ? c : QLatin1Char('_');
    }
    if (out.isEmpty() || out.startsWith(QLatin1Char('.')))
        out.prepend(QLatin1String("ziro"));
    if (out.size() > 64) {
        const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
        out = QLatin1String("ziro-") + QString::fromLatin1(hash.left(24));
    }
    return out;
}

QString runtimeFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        dir = QDir::tempPath();
    return dir;
}

}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent)
{
    const QString name = sanitisedKey(key);
    const QString dir = runtimeFolder();
    m_lockPath = dir + QLatin1Char('/') + name + QLatin1String(".lock");
    m_serverName = dir + QLatin1Char('/') + name + QLatin1String(".sock");
}

SingleInstance::~SingleInstance()
{
    // Close the socket before the lock goes, so that a copy started right now
    // cannot take the lock and then find our socket still listening.
    delete m_server;
    m_server = nullptr;
}

QString SingleInstance::defaultKey()
{
#ifdef Q_OS_UNIX
    const QString user = QString::number(::getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME");
#endif
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qEnvironmentVariable("DISPLAY");
        // ":0.0" and ":0" are the same X server.
        const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
        const qsizetype dot = display.lastIndexOf(QLatin1Char('.'));
        if (colon >= 0 && dot > colon)
            display.truncate(dot);
    }
    if (display.isEmpty())
        display = QStringLiteral("console");
    return sanitisedKey(QLatin1String("ziro-") + user + QLatin1Char('-') + display);
}

bool SingleInstance::acquire()
{
    if (m_server)
        return true;

    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // A running copy may hold the lock for days; only a lock whose process is
    // gone counts as stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            m_lock.reset();
            sendRaiseRequest();
            return false;
        }
        // No lock file can be made here (no permission, no space): refusing
        // to start would be worse than a second copy.
        qWarning("Cannot create the single-copy lock %s", qPrintable(m_lockPath));
        m_lock.reset();
        return true;
    }

    // We hold the lock, so a socket left at this name belongs to a copy that died.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (!m_server->listen(m_serverName))
        qWarning("Cannot listen on %s: %s", qPrintable(m_serverName), qPrintable(m_server->errorString()));
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine().trimmed() == kRaiseRequest)
                    Q_EMIT raiseRequested();
            }
        });
    }
}

void SingleInstance::sendRaiseRequest()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kClientWaitMs))
        return;
    socket.write(kRaiseRequest.toByteArray() + '\n');
    socket.waitForBytesWritten(kClientWaitMs);
    socket.disconnectFromServer();
}

}  // namespace ziro
