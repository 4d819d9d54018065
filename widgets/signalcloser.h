#pragma once

#include "signalwatcher.h"

#include <QObject>
#include <QPointer>

class QWidget;

// Closes a top-level window on SIGINT or SIGTERM as its close button does, so that the
// window's closeEvent runs (and, say, writes the configuration) before the program ends.
// One closer serves the whole process: a second call re-targets it.
class SignalCloser : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers for SIGINT and SIGTERM (SignalWatcher). The closer is a child of
    // the window; the previous handlers return when it is destroyed. Returns nullptr when
    // the handlers cannot be installed, in which case the signals keep their previous
    // handlers.
    static SignalCloser *closeOnTerminationSignals(QWidget *window);

    ~SignalCloser() override;

signals:
    // Emitted on the event loop, just before the window is asked to close.
    void terminationSignalReceived(int signalNumber);

private:
    explicit SignalCloser(QWidget *window);
    void onTerminationRequested(int signalNumber);

    QPointer<QWidget> m_window;
    SignalWatcher m_watcher;

    static SignalCloser *s_instance;
};
