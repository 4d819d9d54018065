#include "serverprotocolwidget.h"

void ServerProtocolWidget::showServerProtocol(int protocol)
{
    switch (protocol) {
    case 0:
        setText(tr("[SerQ]"));
        break;
    case 1:
        setText(tr("[SerP]"));
        break;
    default:
        setText(QString());
        break;
    }
}
