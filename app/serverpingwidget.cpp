#include "serverpingwidget.h"

void ServerPingWidget::showPingLatency(quint64 latency)
{
    setText(tr("[Ping timeout: %1 ms]").arg(latency));
}
