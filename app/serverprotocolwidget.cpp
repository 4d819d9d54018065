#include "serverprotocolwidget.h"

#include "protocolvariant.h"

void ServerProtocolWidget::showServerProtocol(int protocol)
{
    const ProtocolVariant *variant = ProtocolVariant::byNumber(protocol);
    // The label names the protocol and stays as it is; the brackets are the display's.
    setText(variant ? tr("[%1]").arg(QLatin1String(variant->label)) : QString());
}
