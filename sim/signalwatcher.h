#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal: the handler only writes a byte to a socket
// pair, and a notifier on the other end emits on the event loop.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    // Installs the handlers; false (with the reason logged) when the socket pair or the
    // handlers cannot be set up.
    bool install();

signals:
    void terminationRequested(int signalNumber);

private:
    static void handleSignal(int signalNumber);
    void onReadable();

    static int s_fds[2];
    QSocketNotifier *m_notifier = nullptr;
};
