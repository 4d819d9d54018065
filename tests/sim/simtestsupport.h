#pragma once

#include "simoptions.h"

#include <QAbstractSocket>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QSignalSpy>
#include <QTest>
#include <QWebSocket>

// Shared by the simulator's end-to-end tests.
namespace SimTest {

constexpr int Wait = 10000;

// A simulator on a free port with 20 ms cycles whose server reports its states at once.
inline SimOptions quickOptions(quint32 seed)
{
    SimOptions o;
    o.server.port = 0;
    o.server.stateStepMs = 0;
    o.radar.cycleMs = 20;
    o.radar.traffic.seed = seed;
    return o;
}

// A command's reported states from a radarCommandStateChanged spy, as (state, error) pairs.
inline QList<QPair<int, int>> statesOf(const QSignalSpy &spy, int command)
{
    QList<QPair<int, int>> out;
    for (const QList<QVariant> &args : spy) {
        if (args.at(0).toInt() == command)
            out.append({ args.at(1).toInt(), args.at(2).toInt() });
    }
    return out;
}

// The command has finished, done (3) or failed (4).
inline bool finished(const QSignalSpy &spy, int command)
{
    const auto states = statesOf(spy, command);
    return !states.isEmpty() && (states.last().first == 3 || states.last().first == 4);
}

// A plain WebSocket client that keeps everything the simulator sends it.
struct Peer
{
    QWebSocket socket;
    QList<QByteArray> binary;
    QList<QJsonObject> json;
    QList<QString> rawText;
    bool closed = false;

    explicit Peer(const QUrl &url)
    {
        QObject::connect(&socket, &QWebSocket::binaryMessageReceived,
            [this](const QByteArray &m) { binary.append(m); });
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString &t) {
            rawText.append(t);
            json.append(QJsonDocument::fromJson(t.toUtf8()).object());
        });
        QObject::connect(&socket, &QWebSocket::disconnected, [this] { closed = true; });
        socket.open(url);
    }
    bool waitConnected()
    {
        return QTest::qWaitFor(
            [this] { return socket.state() == QAbstractSocket::ConnectedState; }, Wait);
    }
    // More than three further binary messages arrive.
    bool trafficGoesOn()
    {
        const int before = binary.size();
        return QTest::qWaitFor([&] { return binary.size() > before + 3; }, Wait);
    }
};

} // namespace SimTest
