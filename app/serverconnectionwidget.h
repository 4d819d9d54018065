#pragma once

#include "serverstatuswidget.h"

// The state of the connection to the radar server and its URL. After an attempt or a ping
// the server did not answer, or a connection it ended with a message too large, the next
// attempts keep saying so until one gets through or fails otherwise.
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
    void showConnectingTimedOut();
    void showPingTimedOut();
    void showMessageTooLarge(qint64 limit);

private:
    enum class Problem { None, NoAnswer, MessageTooLarge };

    QString m_url;
    Problem m_problem = Problem::None;
    qint64 m_limitMiB = 0;
};
