#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

// The name is a socket in the abstract namespace: it goes away with the
// process that holds it, so a crashed run leaves nothing behind to clear.
namespace {
constexpr int kAnswerTimeoutMs = 2000;
constexpr int kRequestTimeoutMs = 500;
const QByteArray kActivate = "activate\n";
const QByteArray kDone = "ok\n";

// The abstract namespace has no file permissions: only a program of the same
// user is listened to or believed.
bool sameUser(const QLocalSocket &socket)
{
    ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
        && peer.uid == ::getuid();
}
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
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kAnswerTimeoutMs) || !sameUser(socket))
        return false;
    socket.write(kActivate);
    // The answer tells that a live program, not a stray listener, took the request.
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerTimeoutMs)) { }
    return socket.readLine(64) == kDone;
}

bool SingleInstance::listen()
{
    if (m_server)
        return true;
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server->listen(m_name)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    return true;
}

void SingleInstance::answer()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto drop = [socket] {
            socket->abort();
            socket->deleteLater();
        };
        if (!sameUser(*socket)) {
            drop();
            continue;
        }
        // A later start writes its request at once; one that does not is not waited for long.
        QTimer::singleShot(kRequestTimeoutMs, socket, drop);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, drop] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > 64)
                    drop();
                return;
            }
            const bool activate = socket->readLine(64) == kActivate;
            if (activate) {
                socket->write(kDone);
                socket->flush();
            }
            socket->disconnectFromServer();
            if (activate)
                emit activationRequested();
        });
    }
}
