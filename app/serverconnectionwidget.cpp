#include "serverconnectionwidget.h"

void ServerConnectionWidget::setRadarServerUrl(const QString &url)
{
    m_url = url;
    m_problem = Problem::None;
}

void ServerConnectionWidget::showConnecting()
{
    switch (m_problem) {
    case Problem::NoAnswer:
        setText(tr("[No answer from %1, trying again]").arg(m_url));
        break;
    case Problem::MessageTooLarge:
        setText(tr("[%1 sent a message over %2 MiB, trying again]").arg(m_url).arg(m_limitMiB));
        break;
    case Problem::None:
        setText(tr("[Connecting to %1]").arg(m_url));
        break;
    }
}

void ServerConnectionWidget::showConnected()
{
    m_problem = Problem::None;
    setText(tr("[Connected to %1]").arg(m_url));
}

void ServerConnectionWidget::showNotConnected()
{
    m_problem = Problem::None;
    setText(tr("[No connection to %1]").arg(m_url));
}

void ServerConnectionWidget::showDisconnected()
{
    m_problem = Problem::None;
    setText(tr("[Disconnected from %1]").arg(m_url));
}

void ServerConnectionWidget::showConnectingTimedOut()
{
    m_problem = Problem::NoAnswer;
    setText(tr("[No answer from %1]").arg(m_url));
}

void ServerConnectionWidget::showPingTimedOut()
{
    m_problem = Problem::NoAnswer;
    setText(tr("[Disconnected from %1: no answer to pings]").arg(m_url));
}

void ServerConnectionWidget::showMessageTooLarge(qint64 limit)
{
    m_problem = Problem::MessageTooLarge;
    m_limitMiB = limit / (1024 * 1024);
    setText(tr("[%1 sent a message over %2 MiB]").arg(m_url).arg(m_limitMiB));
}
