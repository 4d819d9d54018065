#pragma once

#include <QAbstractSocket>
#include <QCoreApplication>
#include <QHostAddress>

#include <functional>

class QObject;

// Turns the text of an address field into an address a socket can send to: an IP address
// at once, anything that could be a host name by a lookup that does not block.
class TxAddressResolver
{
    Q_DECLARE_TR_FUNCTIONS(TxAddressResolver)

public:
    using Resolved = std::function<void(const QHostAddress &)>;
    using Failed = std::function<void(const QString &message)>;

    // Calls one of the two, at once or when the lookup ends (not after context is gone).
    // `bound` is the protocol of the socket that will send (AnyIPProtocol when unbound): an
    // IPv4-only socket cannot send to IPv6 and the other way round. Returns true when a
    // lookup was started.
    static bool resolve(QObject *context, const QString &text,
        QAbstractSocket::NetworkLayerProtocol bound, const Resolved &onResolved,
        const Failed &onFailed);
};
