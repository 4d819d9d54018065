#include "serverconnectionwidget.h"

void ServerConnectionWidget::setRadarServerUrl(const QString &url)
{
    m_url = url;
    m_noAnswer = false;
}

void ServerConnectionWidget::showConnecting()
{
    if (m_noAnswer)
        setText(tr("[No answer from %1, trying again]").arg(m_url));
    else
        setText(tr("[Connecting to %1]").arg(m_url));
}

void ServerConnectionWidget::showConnected()
{
    m_noAnswer = false;
    setText(tr("[Connected to %1]").arg(m_url));
}

void ServerConnectionWidget::showNotConnected()
{
    m_noAnswer = false;
    setText(tr("[No connection to %1]").arg(m_url));
}

void ServerConnectionWidget::showDisconnected()
{
    m_noAnswer = false;
    setText(tr("[Disconnected from %1]").arg(m_url));
}

void ServerConnectionWidget::showConnectingTimedOut()
{
    m_noAnswer = true;
    setText(tr("[No answer from %1]").arg(m_url));
}
