#include "radarstatewidget.h"

#include "ivantorclient.h"

RadarStateWidget::RadarStateWidget(QWidget *parent)
    : QLabel(parent)
{
    showRadarState(IVantorClient::Offline);
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
    setText(stateText(state));
}
