#include "txaddressresolver.h"

#include <QHostInfo>
#include <QRegularExpression>

bool TxAddressResolver::resolve(QObject *context, const QString &text,
    QAbstractSocket::NetworkLayerProtocol bound, const Resolved &onResolved, const Failed &onFailed)
{
    QHostAddress address;
    if (address.setAddress(text)) {
        onResolved(address);
        return false;
    }
    static const QRegularExpression hostName(
        QStringLiteral("^[A-Za-z0-9_]([A-Za-z0-9_-]*[A-Za-z0-9_])?"
                       "(\\.[A-Za-z0-9_]([A-Za-z0-9_-]*[A-Za-z0-9_])?)*\\.?$"));
    if (text.size() > 253 || !hostName.match(text).hasMatch()) {
        onFailed(tr("Not sent: \"%1\" is neither an IP address nor a host name.").arg(text));
        return false;
    }
    QHostInfo::lookupHost(
        text, context, [text, bound, onResolved, onFailed](const QHostInfo &info) {
            // IPv4 first, as most receivers listen there.
            QHostAddress target;
            for (const QHostAddress &candidate : info.addresses()) {
                if (bound != QAbstractSocket::AnyIPProtocol && candidate.protocol() != bound)
                    continue;
                if (target.isNull()
                    || (candidate.protocol() == QAbstractSocket::IPv4Protocol
                        && target.protocol() != QAbstractSocket::IPv4Protocol))
                    target = candidate;
            }
            if (target.isNull()) {
                const QString reason = info.error() != QHostInfo::NoError
                    ? info.errorString()
                    : tr("no address the socket can send to");
                onFailed(tr("Not sent: cannot resolve %1: %2").arg(text, reason));
                return;
            }
            onResolved(target);
        });
    return true;
}
