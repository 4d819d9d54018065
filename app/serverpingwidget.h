#pragma once

#include "serverstatuswidget.h"

// The round-trip time of the last answered ping to the server.
class ServerPingWidget : public ServerStatusWidget
{
    Q_OBJECT

public:
    using ServerStatusWidget::ServerStatusWidget;

public slots:
    void showPingLatency(quint64 latency);
};
