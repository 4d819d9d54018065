#pragma once

#include "serverstatuswidget.h"

// The radar protocol the server reports it uses.
class ServerProtocolWidget : public ServerStatusWidget
{
    Q_OBJECT

public:
    using ServerStatusWidget::ServerStatusWidget;

public slots:
    void showServerProtocol(int protocol);
};
