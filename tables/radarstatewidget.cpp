#include "radarstatewidget.h"

#include "ivantorclient.h"

RadarStateWidget::RadarStateWidget(QWidget *parent)
    : QLabel(parent)
    , m_state(IVantorClient::Offline)
{
    doShowText();
}

QString RadarStateWidget::stateText(int state)
{
    switch (state) {
    case IVantorClient::WrongProtocol:
        return tr("[Wrong messages. Check selected protocol]");
    case IVantorClient::Busy:
        return tr("[Radar is busy now]");
    case IVantorClient::Working:
        return tr("[Radar is working]");
    default:
        return tr("[No messages from radar]");
    }
}

void RadarStateWidget::showRadarState(int state)
{
    m_state = state;
    doShowText();
}

void RadarStateWidget::showMessagesUnreadable(bool unreadable)
{
    m_unreadable = unreadable;
    doShowText();
}

void RadarStateWidget::doShowText()
{
    if (m_unreadable && m_state == IVantorClient::Offline)
        setText(tr("[Messages are not radar messages]"));
    else
        setText(stateText(m_state));
}
