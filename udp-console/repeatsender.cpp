#include "repeatsender.h"

#include <QUdpSocket>

RepeatSender::RepeatSender(QUdpSocket *socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
{
    // Short intervals are meant as stated, not rounded to the coarse timer's 5 %.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RepeatSender::onTimeout);
    connect(m_socket, &QAbstractSocket::stateChanged, this, &RepeatSender::onSocketStateChanged);
}

void RepeatSender::start(
    const QByteArray &datagram, const QHostAddress &address, quint16 port, int intervalMsecs)
{
    m_datagram = datagram;
    m_address = address;
    m_port = port;
    m_sentCount = 0;
    emit sentCountChanged(m_sentCount);
    m_timer.start(qMax(1, intervalMsecs));
    onTimeout();
}

void RepeatSender::stop()
{
    doStop(QString());
}

void RepeatSender::onTimeout()
{
    if (m_socket->writeDatagram(m_datagram, m_address, m_port) < 0) {
        doStop(tr("cannot send to %1:%2: %3")
                   .arg(m_address.toString())
                   .arg(m_port)
                   .arg(m_socket->errorString()));
        return;
    }
    emit sentCountChanged(++m_sentCount);
}

void RepeatSender::onSocketStateChanged(QAbstractSocket::SocketState state)
{
    // Binding happens on the first send from an unbound socket; only leaving the port counts.
    if (isActive()
        && (state == QAbstractSocket::UnconnectedState || state == QAbstractSocket::ClosingState))
        doStop(tr("the socket was unbound, so the messages would leave from another port"));
}

void RepeatSender::doStop(const QString &reason)
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    emit stopped(reason);
}
