#pragma once

#include <QObject>
#include <QPointer>

#include <csignal>

class QSocketNotifier;
class QWidget;

// Closes a top-level window on SIGINT or SIGTERM as its close button does, so that the
// window's closeEvent runs (and, say, writes the configuration) before the program ends.
//
// The signal handler only writes the signal number into a pipe, which is all a handler
// may safely do; a socket notifier on the other end closes the window on the event loop.
// One closer serves the whole process: a second call re-targets it.
class SignalCloser : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers for SIGINT and SIGTERM. The closer is a child of the window;
    // the previous handlers return when it is destroyed. Returns nullptr when the pipe
    // cannot be made, in which case the signals keep their previous handlers.
    static SignalCloser *closeOnTerminationSignals(QWidget *window);

    ~SignalCloser() override;

signals:
    // Emitted on the event loop, just before the window is asked to close.
    void terminationSignalReceived(int signalNumber);

private:
    SignalCloser(QWidget *window, int readFd);
    static void handleSignal(int signalNumber);
    void onPipeReadable();

    QPointer<QWidget> m_window;
    QSocketNotifier *m_notifier = nullptr;
    struct sigaction m_previousInt
    {
    };
    struct sigaction m_previousTerm
    {
    };

    static SignalCloser *s_instance;
    static int s_pipe[2];
};
