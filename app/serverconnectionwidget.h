#pragma once

#include "serverstatuswidget.h"

// The state of the connection to the radar server and its URL.
class ServerConnectionWidget : public ServerStatusWidget
{
    Q_OBJECT

public:
    using ServerStatusWidget::ServerStatusWidget;

public slots:
    void setRadarServerUrl(const QString &url);
    void showConnecting() override;
    void showConnected() override;
    void showNotConnected() override;
    void showDisconnected() override;

private:
    QString m_url;
};
