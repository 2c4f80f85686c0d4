#include "app/singleinstance.h"

#include <cerrno>
#include <cstring>

#include <QCryptographicHash>
#include <QDir>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

// The name is a socket in the abstract namespace: it goes away with the
// process that holds it, so a crashed run leaves nothing behind to clear.
namespace {
constexpr int kAnswerTimeoutMs = 2000;
constexpr int kRequestTimeoutMs = 500;
const QByteArray kActivate = "activate\n";
const QByteArray kDone = "ok\n";

socklen_t abstractAddress(const QString &name, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = name.toUtf8().left(sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
}

void setTimeouts(int fd, int ms)
{
    const timeval limit { ms / 1000, (ms % 1000) * 1000 };
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

// Only a program of the same user is listened to or believed.
bool sameUser(int fd)
{
    ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// One short line, or nothing when the other side goes quiet.
QByteArray readLine(int fd)
{
    QByteArray line;
    char c = 0;
    while (line.size() < 64) {
        const ssize_t n = ::recv(fd, &c, 1, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return {};
        line += c;
        if (c == '\n')
            return line;
    }
    return {};
}

struct Socket {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
    , m_name(key)
{ }

SingleInstance::~SingleInstance()
{
    delete m_notifier;
    if (m_socket >= 0)
        ::close(m_socket);
}

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
    Socket client;
    sockaddr_un address;
    const socklen_t size = abstractAddress(m_name, address);
    if (client.fd < 0 || ::connect(client.fd, reinterpret_cast<sockaddr *>(&address), size) != 0)
        return false;
    setTimeouts(client.fd, kAnswerTimeoutMs);
    // The answer tells that a live program, not a stray listener, took the request.
    return sameUser(client.fd) && writeAll(client.fd, kActivate) && readLine(client.fd) == kDone;
}

bool SingleInstance::listen()
{
    if (m_socket >= 0)
        return true;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    sockaddr_un address;
    const socklen_t size = abstractAddress(m_name, address);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), size) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    m_socket = fd;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &SingleInstance::answer);
    return true;
}

void SingleInstance::answer()
{
    for (;;) {
        const int fd = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            return;
        // A later start writes its request at once; one that does not is not waited for long.
        setTimeouts(fd, kRequestTimeoutMs);
        const bool activate = sameUser(fd) && readLine(fd) == kActivate && writeAll(fd, kDone);
        ::close(fd);
        if (activate)
            emit activationRequested();
    }
}
