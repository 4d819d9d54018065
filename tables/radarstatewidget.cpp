#include "radarstatewidget.h"

#include "radarstate.h"

RadarStateWidget::RadarStateWidget(QWidget *parent)
    : QLabel(parent)
    , m_state(Radar::Offline)
{
    doShowText();
}

QString RadarStateWidget::stateText(int state)
{
    switch (state) {
    case Radar::WrongProtocol:
        return tr("[Wrong messages. Check selected protocol]");
    case Radar::Busy:
        return tr("[Radar is busy now]");
    case Radar::Working:
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
    if (m_unreadable && m_state == Radar::Offline)
        setText(tr("[Messages are not radar messages]"));
    else
        setText(stateText(m_state));
}
