#pragma once

#include "mainviews.h"

#include <QObject>
#include <QPointer>
#include <QVector>

class IVantorClient;

// Connects one radar client at a time to the main window's displays and panels: the
// client's signals to the displays, the panels' requests to the client's command slots.
// The client's frames go through the frame collector, whose frames reach the tables, the
// history and the road scene.
// The window hears the client through this object's signals and talks to it through
// the request signals, so its own connections stay when the client is replaced.
class RadarWiring : public QObject
{
    Q_OBJECT

public:
    explicit RadarWiring(const MainViews &views, QObject *parent = nullptr);
    ~RadarWiring() override;

    IVantorClient *client() const { return m_client; }

    // Detaches the client attached before, if any.
    void attach(IVantorClient *client);
    // Removes every connection made by attach(), both ways; returns the client.
    IVantorClient *detach();

    // Replaces the client with a new one of the protocol variant with that number; an
    // unknown number leaves no client.
    void attachNew(int protocolNumber);
    // Takes the client offline (the displays see it go), detaches it and deletes it.
    void release();

signals:
    // From the client. The three results arrive queued, so that a modal box opens after
    // the client has finished handling its message.
    void clientConnected();
    // A client is attached; the wiring's own connections are made.
    void clientAttached(IVantorClient *client);
    void radarStateChanged(int state);
    void hardwareInfoResult(const QString &info);
    void firmwareInfoResult(const QString &info);
    void selfDiagnosticsResult(quint16 data);
    void imitatorModeChanged(quint8 mode);
    void fakeTargetsModeChanged(bool enabled);

    // To the client.
    void forceServerToChangeProtocol(int protocol);
    void resetClientStatistics();

private:
    void doConnectServerStates(IVantorClient *client);
    void doConnectRadarStates(IVantorClient *client);
    void doConnectFrames(IVantorClient *client);
    void doConnectResults(IVantorClient *client);
    void doConnectRequests(IVantorClient *client);

    template<typename Sender, typename Signal, typename Receiver, typename Slot>
    void link(const Sender *sender, Signal signal, const Receiver *receiver, Slot slot,
        Qt::ConnectionType type = Qt::AutoConnection)
    {
        m_connections += connect(sender, signal, receiver, slot, type);
    }

    MainViews m_views;
    QPointer<IVantorClient> m_client;
    QVector<QMetaObject::Connection> m_connections;
};
