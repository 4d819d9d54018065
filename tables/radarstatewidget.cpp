#include "radarstatewidget.h"

#include "radarstate.h"

RadarStateWidget::RadarStateWidget(QWidget *parent)
    : QLabel(parent)
{
    showRadarState(Radar::Offline);
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
    setText(stateText(state));
}
