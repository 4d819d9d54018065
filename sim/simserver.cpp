#include "simserver.h"

#include "pingdroprelay.h"
#include "radarframeencoder.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QWebSocket>

namespace {
constexpr int GarbageIntervalMs = 50;
constexpr int GarbageSize = 64;
} // namespace

SimServer::SimServer(const Settings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_server(QStringLiteral("vantor-radar-sim"), QWebSocketServer::NonSecureMode)
    , m_protocol(settings.protocol)
{
    m_settings.maxClients = qBound(1, m_settings.maxClients, 256);
    m_settings.stateStepMs = qBound(0, m_settings.stateStepMs, 60000);
    m_stateTimer.setSingleShot(true);
    connect(&m_stateTimer, &QTimer::timeout, this, &SimServer::doAdvanceState);
    connect(&m_server, &QWebSocketServer::newConnection, this, &SimServer::onNewConnection);
    m_settings.hugeMessageMiB = qBound(0, m_settings.hugeMessageMiB, 256);
    m_garbageTimer.setInterval(GarbageIntervalMs);
    connect(&m_garbageTimer, &QTimer::timeout, this, &SimServer::doSendGarbage);
}

SimServer::~SimServer()
{
    for (QWebSocket *socket : qAsConst(m_clients)) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
    m_clients.clear();
}

bool SimServer::listen(QString *error)
{
    if (m_settings.refusePings) {
        // The WebSocket server sits behind the relay on a loopback port of its own.
        if (!m_server.listen(QHostAddress::LocalHost, 0)) {
            *error = m_server.errorString();
            return false;
        }
        m_relay = new PingDropRelay(this);
        if (!m_relay->listen(m_settings.address, m_settings.port, m_server.serverPort(), error))
            return false;
    } else if (!m_server.listen(m_settings.address, m_settings.port)) {
        *error = m_server.errorString();
        return false;
    }
    qInfo("Listening on %s", qPrintable(url().toString()));
    if (m_settings.garbageText || m_settings.garbageBinary)
        m_garbageTimer.start();
    if (m_settings.mode == Mode::Emulated) {
        m_state = m_settings.stateStepMs == 0 ? WorkingOnPort : ConnectingToNeps;
        qInfo("Server state %d: %s", m_state, qPrintable(stateText(m_state)));
        if (m_state != WorkingOnPort)
            m_stateTimer.start(m_settings.stateStepMs);
    }
    return true;
}

quint16 SimServer::port() const
{
    return m_relay ? m_relay->port() : m_server.serverPort();
}

QUrl SimServer::url() const
{
    QUrl url;
    url.setScheme(QStringLiteral("ws"));
    url.setHost(m_settings.address.toString());
    url.setPort(port());
    url.setPath(QStringLiteral("/"));
    return url;
}

QString SimServer::stateText(int state)
{
    switch (state) {
    case ConnectingToNeps:
        return QStringLiteral("connecting to the radar line");
    case OpeningPort:
        return QStringLiteral("opening the serial port");
    case TestingPort:
        return QStringLiteral("testing the serial port");
    case WorkingOnPort:
        return QStringLiteral("working on the serial port");
    default:
        return QStringLiteral("unknown");
    }
}

void SimServer::doAdvanceState()
{
    if (m_state >= WorkingOnPort)
        return;
    ++m_state;
    qInfo("Server state %d: %s", m_state, qPrintable(stateText(m_state)));
    for (QWebSocket *socket : qAsConst(m_clients))
        doSendStateReport(socket);
    emit serverStateChanged(m_state);
    if (m_state < WorkingOnPort)
        m_stateTimer.start(m_settings.stateStepMs);
}

void SimServer::onNewConnection()
{
    while (QWebSocket *socket = m_server.nextPendingConnection()) {
        if (m_clients.size() >= m_settings.maxClients) {
            qWarning("Refused a client from %s: already %d clients",
                qPrintable(socket->peerAddress().toString()), int(m_clients.size()));
            socket->close(
                QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Too many clients"));
            socket->deleteLater();
            continue;
        }
        const quint64 id = m_nextClient++;
        socket->setParent(this);
        socket->setMaxAllowedIncomingMessageSize(MaxIncomingMessageSize);
        socket->setMaxAllowedIncomingFrameSize(MaxIncomingMessageSize);
        m_clients.insert(id, socket);
        connect(socket, &QWebSocket::textMessageReceived, this,
            [this, id](const QString &text) { onTextMessage(id, text); });
        connect(socket, &QWebSocket::binaryMessageReceived, this,
            [this, id](const QByteArray &message) { onBinaryMessage(id, message); });
        connect(socket, &QWebSocket::disconnected, this, [this, id] { onClientGone(id); });
        qInfo("Client %llu connected from %s:%d (%d connected)", id,
            qPrintable(socket->peerAddress().toString()), socket->peerPort(),
            int(m_clients.size()));
        if (m_settings.dropAfterMs > 0) {
            QTimer::singleShot(m_settings.dropAfterMs, socket, [this, id] {
                closeClient(id, QStringLiteral("Connection dropped by fault injection"));
            });
        }
        if (m_settings.mode == Mode::Emulated)
            doSendStateReport(socket);
        if (m_settings.hugeMessageMiB > 0 && !m_hugeMessageSent)
            doSendHugeMessage(socket);
        emit clientConnected(id);
    }
}

void SimServer::onClientGone(quint64 client)
{
    QWebSocket *socket = m_clients.take(client);
    if (!socket)
        return;
    m_lagging.remove(client);
    const QWebSocketProtocol::CloseCode code = socket->closeCode();
    if (code == QWebSocketProtocol::CloseCodeTooMuchData) {
        qWarning("Client %llu disconnected: its message was over the %lld-byte limit (close code "
                 "%d) (%d connected)",
            client, MaxIncomingMessageSize, int(code), int(m_clients.size()));
    } else if (code != QWebSocketProtocol::CloseCodeNormal || !socket->closeReason().isEmpty()) {
        qInfo("Client %llu disconnected: close code %d, %s (%d connected)", client, int(code),
            qPrintable(socket->closeReason()), int(m_clients.size()));
    } else {
        qInfo("Client %llu disconnected (%d connected)", client, int(m_clients.size()));
    }
    socket->disconnect(this);
    socket->deleteLater();
    emit clientDisconnected(client);
}

void SimServer::closeClient(quint64 client, const QString &reason)
{
    QWebSocket *socket = m_clients.value(client);
    if (!socket)
        return;
    qInfo("Closing client %llu: %s", client, qPrintable(reason));
    socket->close(QWebSocketProtocol::CloseCodeGoingAway, reason);
}

void SimServer::doSendJson(QWebSocket *socket, const QJsonObject &object)
{
    socket->sendTextMessage(
        QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

void SimServer::doSendStateReport(QWebSocket *socket)
{
    doSendJson(socket,
        { { QStringLiteral("command"), 1 }, { QStringLiteral("result"), 0 },
            { QStringLiteral("server_state"), m_state },
            { QStringLiteral("nep_server_url"), url().toString() },
            { QStringLiteral("port_name"), m_settings.portName },
            { QStringLiteral("comment"), stateText(m_state) } });
}

void SimServer::onTextMessage(quint64 client, const QString &text)
{
    if (m_settings.mode == Mode::Forwarding) {
        emit clientTextReceived(client, text);
        return;
    }
    QWebSocket *socket = m_clients.value(client);
    if (!socket)
        return;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (!doc.isObject()) {
        qWarning("Client %llu sent text that is not a JSON object: %s", client,
            qPrintable(text.left(80)));
        doSendJson(socket,
            { { QStringLiteral("command"), -1 }, { QStringLiteral("result"), 1 },
                { QStringLiteral("comment"),
                    QStringLiteral("Malformed message: %1")
                        .arg(parseError.error == QJsonParseError::NoError
                                ? QStringLiteral("not a JSON object")
                                : parseError.errorString()) } });
        return;
    }
    const QJsonObject request = doc.object();
    const QJsonValue command = request.value(QStringLiteral("command"));
    if (!command.isDouble()) {
        doSendJson(socket,
            { { QStringLiteral("command"), -1 }, { QStringLiteral("result"), 1 },
                { QStringLiteral("comment"), QStringLiteral("Missing command number") } });
        return;
    }
    const int number = command.toInt(-1);
    switch (number) {
    case 1:
        doSendStateReport(socket);
        break;
    case 2: {
        const QJsonValue requested = request.value(QStringLiteral("radar_protocol"));
        const int protocol = requested.isDouble() ? requested.toInt(-1) : -1;
        if (protocol != 0 && protocol != 1) {
            qWarning("Client %llu asked for unknown radar protocol %s", client,
                qPrintable(
                    QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact))));
            doSendJson(socket,
                { { QStringLiteral("command"), 2 }, { QStringLiteral("result"), 2 },
                    { QStringLiteral("radar_protocol"), m_protocol },
                    { QStringLiteral("comment"), QStringLiteral("Unknown radar protocol") } });
            break;
        }
        if (protocol != m_protocol)
            qInfo("Client %llu selects radar protocol %d (%s)", client, protocol,
                protocol == 0 ? "SerQ" : "SerP");
        m_protocol = protocol;
        doSendJson(socket,
            { { QStringLiteral("command"), 2 }, { QStringLiteral("result"), 0 },
                { QStringLiteral("radar_protocol"), m_protocol },
                { QStringLiteral("comment"), QString() } });
        break;
    }
    default:
        doSendJson(socket,
            { { QStringLiteral("command"), number }, { QStringLiteral("result"), 3 },
                { QStringLiteral("comment"), QStringLiteral("Unknown command") } });
        break;
    }
}

void SimServer::onBinaryMessage(quint64 client, const QByteArray &message)
{
    if (m_settings.mode == Mode::Forwarding) {
        emit clientBinaryReceived(client, message);
        return;
    }
    if (m_state != WorkingOnPort) {
        qInfo("Client %llu sent a frame before the port is open; dropped", client);
        return;
    }
    emit commandFrameReceived(message);
}

void SimServer::sendRadarMessage(const QByteArray &frameArea)
{
    if (m_state != WorkingOnPort || m_clients.isEmpty())
        return;
    if (!m_settings.timeStamps) {
        sendRawMessage(frameArea);
        return;
    }
    sendRawMessage(RadarFrameEncoder::timeStampHeader(QDateTime::currentDateTimeUtc()) + frameArea);
}

void SimServer::sendRecordedMessage(const QByteArray &message)
{
    if (m_state == WorkingOnPort)
        sendRawMessage(message);
}

void SimServer::sendRawMessage(const QByteArray &message)
{
    for (auto it = m_clients.cbegin(); it != m_clients.cend(); ++it)
        doSendBinary(it.key(), it.value(), message);
}

void SimServer::doSendBinary(quint64 client, QWebSocket *socket, const QByteArray &message)
{
    // A client that does not read its messages loses them instead of growing our memory.
    if (socket->bytesToWrite() > MaxBacklog) {
        if (!m_lagging.contains(client)) {
            m_lagging.insert(client);
            qWarning(
                "Client %llu does not keep up; its messages are dropped until it does", client);
        }
        return;
    }
    if (m_lagging.remove(client))
        qInfo("Client %llu keeps up again", client);
    socket->sendBinaryMessage(message);
}

void SimServer::sendBinaryToClient(quint64 client, const QByteArray &message)
{
    if (QWebSocket *socket = m_clients.value(client))
        doSendBinary(client, socket, message);
}

void SimServer::sendTextToClient(quint64 client, const QString &text)
{
    if (QWebSocket *socket = m_clients.value(client))
        socket->sendTextMessage(text);
}

void SimServer::doSendGarbage()
{
    QRandomGenerator *random = QRandomGenerator::global();
    for (auto it = m_clients.cbegin(); it != m_clients.cend(); ++it) {
        if (m_settings.garbageText) {
            QString text(GarbageSize, Qt::Uninitialized);
            for (QChar &c : text)
                c = QChar(char(random->bounded(32, 127)));
            // A brace first would make some of it look like the start of a JSON object.
            text[0] = QLatin1Char('~');
            it.value()->sendTextMessage(text);
        }
        if (m_settings.garbageBinary) {
            QByteArray bytes(GarbageSize, Qt::Uninitialized);
            random->fillRange(reinterpret_cast<quint32 *>(bytes.data()), GarbageSize / 4);
            doSendBinary(it.key(), it.value(), bytes);
        }
    }
}

void SimServer::doSendHugeMessage(QWebSocket *socket)
{
    m_hugeMessageSent = true;
    const int size = m_settings.hugeMessageMiB * 1024 * 1024;
    qInfo("Sending one %s message of %d MiB", m_settings.hugeMessageIsText ? "text" : "binary",
        m_settings.hugeMessageMiB);
    if (m_settings.hugeMessageIsText)
        socket->sendTextMessage(QString(size, QLatin1Char('x')));
    else
        socket->sendBinaryMessage(QByteArray(size, '\xA5'));
}
