#pragma once

#include <QObject>
#include <QString>

#include <csignal>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal on the event loop. Qt Core only, so that the
// simulator without widgets uses it as well as the windows (through SignalCloser).
//
// The handler only writes the signal number into a non-blocking pipe, which is all a
// handler may safely do; a socket notifier on the other end emits terminationRequested.
// One watcher holds the two signals at a time; the handlers that were there before it
// return when it is destroyed.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    // Installs the handlers. False, with the reason in errorString(), when another watcher
    // holds the signals or the pipe cannot be made; the signals then keep their handlers.
    bool install();
    bool isInstalled() const { return s_installed == this; }
    QString errorString() const { return m_errorString; }

signals:
    // Signals that arrive together are reported once, with the last of them.
    void terminationRequested(int signalNumber);

private:
    static void handleSignal(int signalNumber);
    void onPipeReadable();

    QSocketNotifier *m_notifier = nullptr;
    QString m_errorString;
    struct sigaction m_previousInt
    {
    };
    struct sigaction m_previousTerm
    {
    };

    static SignalWatcher *s_installed;
    static int s_pipe[2];
};
