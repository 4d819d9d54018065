#include "signalwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

int SignalWatcher::s_fds[2] = { -1, -1 };

SignalWatcher::SignalWatcher(QObject *parent)
    : QObject(parent)
{ }

SignalWatcher::~SignalWatcher()
{
    if (s_fds[0] < 0)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    delete m_notifier;
    ::close(s_fds[0]);
    ::close(s_fds[1]);
    s_fds[0] = s_fds[1] = -1;
}

bool SignalWatcher::install()
{
    if (s_fds[0] >= 0)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_fds) != 0) {
        qWarning("Cannot watch for Ctrl-C: socketpair: %s", std::strerror(errno));
        return false;
    }
    m_notifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::onReadable);

    struct sigaction action = {};
    action.sa_handler = &SignalWatcher::handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGINT, &action, nullptr) != 0 || sigaction(SIGTERM, &action, nullptr) != 0) {
        qWarning("Cannot watch for Ctrl-C: sigaction: %s", std::strerror(errno));
        return false;
    }
    return true;
}

void SignalWatcher::handleSignal(int signalNumber)
{
    // Only async-signal-safe calls here.
    const char byte = char(signalNumber);
    const int saved = errno;
    if (::write(s_fds[0], &byte, 1) < 0) {
        // Nothing can be reported from a signal handler.
    }
    errno = saved;
}

void SignalWatcher::onReadable()
{
    char byte = 0;
    if (::read(s_fds[1], &byte, 1) == 1)
        emit terminationRequested(int(byte));
}
