#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
constexpr int kAnswerTimeoutMs = 2000;
const QByteArray kActivate = "activate\n";
const QByteArray kDone = "ok\n";
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
    , m_name(key)
{ }

SingleInstance::~SingleInstance() = default;

QString SingleInstance::keyFor(const QString &dataFolder)
{
    // One folder reached through a symbolic link or a relative path is still
    // one folder; a folder not made yet has no canonical path.
    const QString canonical = QDir(dataFolder).canonicalPath();
    const QString folder = canonical.isEmpty() ? QDir(dataFolder).absolutePath() : canonical;
    const QByteArray identity = QByteArray::number(static_cast<qulonglong>(::getuid())) + '|' + folder.toUtf8();
    return QStringLiteral("palcomir-")
        + QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstance::askRunningToActivate()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kAnswerTimeoutMs))
        return false;
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return false;
    // The answer tells that a live program, not a stale name, took the request.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kAnswerTimeoutMs))
            return false;
    }
    return socket.readLine() == kDone;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Nobody answered on this name, so it is left over from a run that crashed.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kActivate) {
                    socket->write(kDone);
                    socket->flush();
                    emit activationRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}
