#include "signalcloser.h"

#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

SignalCloser *SignalCloser::s_instance = nullptr;
int SignalCloser::s_pipe[2] = { -1, -1 };

SignalCloser *SignalCloser::closeOnTerminationSignals(QWidget *window)
{
    if (s_instance) {
        s_instance->setParent(window);
        s_instance->m_window = window;
        return s_instance;
    }
    // Non-blocking, so that a handler never waits on a full pipe.
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return nullptr;
    s_instance = new SignalCloser(window, s_pipe[0]);
    return s_instance;
}

SignalCloser::SignalCloser(QWidget *window, int readFd)
    : QObject(window)
    , m_window(window)
    , m_notifier(new QSocketNotifier(readFd, QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalCloser::onPipeReadable);

    struct sigaction action
    {
    };
    action.sa_handler = &SignalCloser::handleSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume instead of failing with EINTR.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &m_previousInt);
    sigaction(SIGTERM, &action, &m_previousTerm);
}

SignalCloser::~SignalCloser()
{
    sigaction(SIGINT, &m_previousInt, nullptr);
    sigaction(SIGTERM, &m_previousTerm, nullptr);
    delete m_notifier;
    ::close(s_pipe[0]);
    ::close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
    s_instance = nullptr;
}

void SignalCloser::handleSignal(int signalNumber)
{
    // Only async-signal-safe calls here; errno belongs to the interrupted code.
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
    errno = savedErrno;
}

void SignalCloser::onPipeReadable()
{
    unsigned char bytes[64];
    const ssize_t count = ::read(s_pipe[0], bytes, sizeof bytes);
    if (count <= 0)
        return;
    // Several signals at once close the window once.
    emit terminationSignalReceived(bytes[count - 1]);
    if (m_window)
        m_window->close();
}
