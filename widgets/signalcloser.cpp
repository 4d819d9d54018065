#include "signalcloser.h"

#include <QWidget>

#include <memory>

SignalCloser *SignalCloser::s_instance = nullptr;

SignalCloser *SignalCloser::closeOnTerminationSignals(QWidget *window)
{
    if (s_instance) {
        s_instance->setParent(window);
        s_instance->m_window = window;
        return s_instance;
    }
    std::unique_ptr<SignalCloser> closer(new SignalCloser(window));
    if (!closer->m_watcher.install())
        return nullptr;
    s_instance = closer.release();
    return s_instance;
}

SignalCloser::SignalCloser(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    connect(&m_watcher, &SignalWatcher::terminationRequested, this,
        &SignalCloser::onTerminationRequested);
}

SignalCloser::~SignalCloser()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void SignalCloser::onTerminationRequested(int signalNumber)
{
    emit terminationSignalReceived(signalNumber);
    if (m_window)
        m_window->close();
}
