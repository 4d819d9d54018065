#include "serverconnectionwidget.h"

void ServerConnectionWidget::setRadarServerUrl(const QString &url)
{
    m_url = url;
}

void ServerConnectionWidget::showConnecting()
{
    setText(tr("[Connecting to %1]").arg(m_url));
}

void ServerConnectionWidget::showConnected()
{
    setText(tr("[Connected to %1]").arg(m_url));
}

void ServerConnectionWidget::showNotConnected()
{
    setText(tr("[No connection to %1]").arg(m_url));
}

void ServerConnectionWidget::showDisconnected()
{
    setText(tr("[Disconnected from %1]").arg(m_url));
}
