#include "app/exitsignals.h"

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace {

constexpr int kSignals[] = { SIGTERM, SIGINT, SIGHUP };
int g_sockets[2] = { -1, -1 }; // [0] written by the handler, [1] watched by the event loop

extern "C" void onExitSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_sockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

ExitSignals::ExitSignals(QObject *parent)
    : QObject(parent)
{
    if (g_sockets[0] != -1 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_sockets) != 0)
        return;
    m_notifier = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] {
        char bytes[16];
        while (::read(g_sockets[1], bytes, sizeof bytes) > 0) { }
        // exit() rather than quit(): it leaves every event loop, a modal
        // dialog's too, without asking the windows whether they may close.
        QCoreApplication::exit(0);
    });

    struct sigaction action = {};
    action.sa_handler = onExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

ExitSignals::~ExitSignals()
{
    if (!m_notifier)
        return;
    for (int signal : kSignals)
        ::signal(signal, SIG_DFL);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(g_sockets[0]);
    ::close(g_sockets[1]);
    g_sockets[0] = g_sockets[1] = -1;
}
