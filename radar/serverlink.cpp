#include "serverlink.h"

#include <QPointer>
#include <QWebSocket>

ServerLink::ServerLink(QObject *parent)
    : QObject(parent)
{
    // Coarse timers may fire 5 % early; the keep-alive is meant as stated.
    m_pingTimer.setTimerType(Qt::PreciseTimer);
    m_pingTimer.setInterval(2000);
    connect(&m_pingTimer, &QTimer::timeout, this, &ServerLink::doPingServer);
    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(DefaultConnectTimeoutMs);
    connect(&m_stallTimer, &QTimer::timeout, this, &ServerLink::doAbortStalledSocket);
}

ServerLink::~ServerLink()
{
    const QSignalBlocker blocker(this);
    close();
}

void ServerLink::open(const QUrl &url, int reconnectTimeoutMs)
{
    m_url = url;
    m_reconnectTimeoutMs = reconnectTimeoutMs;
    m_pingSent = 0;
    m_pongReceived = 0;
    m_sessionEstablished = false;
    m_closeRequested = false;
    m_refusedMessage = false;
    m_pingUnanswered = false;

    m_socket = new QWebSocket(QString(), QWebSocketProtocol::Version13, this);
    m_socket->setMaxAllowedIncomingMessageSize(MaxIncomingMessageSize);
    m_socket->setMaxAllowedIncomingFrameSize(MaxIncomingMessageSize);
    connect(m_socket, &QWebSocket::stateChanged, this, &ServerLink::onSocketStateChanged);
    connect(m_socket, &QWebSocket::pong, this, &ServerLink::onPongReceived);
    // Qt closes the socket itself on a message above the limit; the close code says why.
    connect(m_socket, &QWebSocket::aboutToClose, this, [this] {
        m_refusedMessage = m_socket->closeCode() == QWebSocketProtocol::CloseCodeTooMuchData;
    });
    connect(m_socket, &QWebSocket::textMessageReceived, this, &ServerLink::textMessageReceived);
    connect(m_socket, &QWebSocket::binaryMessageReceived, this, &ServerLink::binaryMessageReceived);
    doOpenSocket();
}

void ServerLink::close()
{
    m_reconnectTimeoutMs = 0;
    const bool established = m_sessionEstablished;
    m_connected = false;
    m_sessionEstablished = false;
    if (m_socket) {
        disconnect(m_socket, nullptr, this, nullptr);
        if (m_socket->state() == QAbstractSocket::ConnectedState)
            m_socket->close(QWebSocketProtocol::CloseCodeNormal, QString());
        else
            m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    m_pingTimer.stop();
    m_stallTimer.stop();
    if (established)
        emit disconnected();
}

void ServerLink::setPingInterval(int ms)
{
    m_pingTimer.setInterval(ms);
}

void ServerLink::setConnectTimeout(int ms)
{
    m_stallTimer.setInterval(ms);
}

void ServerLink::sendBinary(const QByteArray &data)
{
    if (m_socket && m_connected)
        m_socket->sendBinaryMessage(data);
}

void ServerLink::sendText(const QString &text)
{
    if (m_socket && m_connected)
        m_socket->sendTextMessage(text);
}

void ServerLink::onSocketStateChanged(QAbstractSocket::SocketState state)
{
    m_connected = state == QAbstractSocket::ConnectedState;
    switch (state) {
    case QAbstractSocket::ConnectingState:
        m_stallTimer.start();
        emit connecting();
        break;
    case QAbstractSocket::ClosingState:
        m_stallTimer.start();
        break;
    case QAbstractSocket::ConnectedState:
        m_stallTimer.stop();
        m_sessionEstablished = true;
        // A ping left unanswered by an earlier connection must not end this one.
        m_pongReceived = m_pingSent;
        emit connected();
        break;
    case QAbstractSocket::UnconnectedState: {
        m_stallTimer.stop();
        m_closeRequested = false;
        const bool established = m_sessionEstablished;
        const bool refusedMessage = m_refusedMessage;
        const bool pingUnanswered = m_pingUnanswered;
        m_sessionEstablished = false;
        m_refusedMessage = false;
        m_pingUnanswered = false;
        if (established)
            emit disconnected();
        else
            emit notconnected();
        if (refusedMessage)
            emit messageTooLarge();
        if (pingUnanswered && established)
            emit pingTimedOut();
        if (m_reconnectTimeoutMs > 0) {
            const QPointer<QWebSocket> socket = m_socket;
            QTimer::singleShot(m_reconnectTimeoutMs, this, [this, socket] {
                if (socket && socket == m_socket)
                    doOpenSocket();
            });
        }
        break;
    }
    default:
        break;
    }
    if (!m_socket)
        return;
    if (m_connected)
        m_pingTimer.start();
    else
        m_pingTimer.stop();
}

void ServerLink::onPongReceived(quint64 elapsedTime, const QByteArray &payload)
{
    if (!m_connected || payload.size() != 1)
        return;
    m_pongReceived = quint8(payload.at(0));
    if (m_pongReceived == m_pingSent)
        emit pingLatency(elapsedTime);
}

void ServerLink::doPingServer()
{
    if (!m_socket || !m_connected)
        return;
    if (m_pongReceived != m_pingSent) {
        // The previous ping went unanswered: drop the link; the state change reconnects.
        m_pongReceived = m_pingSent;
        m_pingUnanswered = true;
        doCloseSocket();
        return;
    }
    ++m_pingSent;
    m_socket->ping(QByteArray(1, char(m_pingSent)));
}

void ServerLink::doOpenSocket()
{
    if (m_socket && m_socket->state() == QAbstractSocket::UnconnectedState)
        m_socket->open(m_url);
}

void ServerLink::doCloseSocket()
{
    if (!m_socket)
        return;
    // A server that stopped reading would hold the closing handshake up.
    m_closeRequested = true;
    m_stallTimer.start();
    m_socket->close(QWebSocketProtocol::CloseCodeNormal, QString());
}

void ServerLink::doAbortStalledSocket()
{
    if (!m_socket)
        return;
    const QAbstractSocket::SocketState state = m_socket->state();
    if (state == QAbstractSocket::UnconnectedState
        || (state == QAbstractSocket::ConnectedState && !m_closeRequested))
        return;
    // The state change reports the end of the attempt and schedules the next one.
    m_socket->abort();
    if (state == QAbstractSocket::ConnectingState)
        emit connectingTimedOut();
}
