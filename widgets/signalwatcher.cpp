#include "signalwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

SignalWatcher *SignalWatcher::s_installed = nullptr;
int SignalWatcher::s_pipe[2] = { -1, -1 };

SignalWatcher::SignalWatcher(QObject *parent)
    : QObject(parent)
{ }

SignalWatcher::~SignalWatcher()
{
    if (!isInstalled())
        return;
    sigaction(SIGINT, &m_previousInt, nullptr);
    sigaction(SIGTERM, &m_previousTerm, nullptr);
    delete m_notifier;
    ::close(s_pipe[0]);
    ::close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
    s_installed = nullptr;
}

bool SignalWatcher::install()
{
    if (isInstalled())
        return true;
    if (s_installed) {
        m_errorString = QStringLiteral("another watcher already holds SIGINT and SIGTERM");
        return false;
    }
    // Non-blocking, so that a handler never waits on a full pipe.
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_errorString = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    s_installed = this;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::onPipeReadable);

    struct sigaction action
    {
    };
    action.sa_handler = &SignalWatcher::handleSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume instead of failing with EINTR.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &m_previousInt);
    sigaction(SIGTERM, &action, &m_previousTerm);
    return true;
}

void SignalWatcher::handleSignal(int signalNumber)
{
    // Only async-signal-safe calls here; errno belongs to the interrupted code.
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
    errno = savedErrno;
}

void SignalWatcher::onPipeReadable()
{
    unsigned char bytes[64];
    int last = 0;
    ssize_t count;
    while ((count = ::read(s_pipe[0], bytes, sizeof bytes)) > 0)
        last = bytes[count - 1];
    if (last != 0)
        emit terminationRequested(last);
}
