#include "serverstatewidget.h"

#include "radarstate.h"

#include <QHBoxLayout>
#include <QStringList>
#include <QToolButton>

ServerStateWidget::ServerStateWidget(QWidget *parent)
    : ServerStatusWidget(parent)
    , m_hardwareInfoButton(new QToolButton(this))
{
    m_hardwareInfoButton->setText(tr("HW"));
    m_hardwareInfoButton->setToolTip(tr("Ask the radar for its hardware information"));
    m_hardwareInfoButton->setAutoRaise(true);
    m_hardwareInfoButton->setEnabled(false);
    layout()->addWidget(m_hardwareInfoButton);
    connect(m_hardwareInfoButton, &QToolButton::clicked, this,
        &ServerStateWidget::getRadarHardwareInfo);
}

void ServerStateWidget::showConnecting()
{
    m_stateText.clear();
    m_unreadable = false;
    doShowText();
}

void ServerStateWidget::showDisconnected()
{
    showConnecting();
}

void ServerStateWidget::showNotConnected()
{
    showConnecting();
}

void ServerStateWidget::showServerState(int state, const QString &, const QString &portName)
{
    switch (state) {
    case 0:
        m_stateText = tr("[Connecting to NEPS]");
        break;
    case 1:
        m_stateText = tr("[Opening %1]").arg(portName);
        break;
    case 2:
        m_stateText = tr("[Testing %1]").arg(portName);
        break;
    case 3:
        m_stateText = QStringLiteral("[%1 %2]").arg(tr("Working on"), portName);
        break;
    default:
        m_stateText.clear();
        break;
    }
    doShowText();
}

void ServerStateWidget::showRadarState(int state)
{
    m_hardwareInfoButton->setEnabled(Radar::isWorking(state));
    if (!Radar::isOnline(state)) {
        m_hardwareInfo.clear();
        doShowText();
    }
}

void ServerStateWidget::showRadarHardwareInfo(const QString &info)
{
    m_hardwareInfo = info;
    doShowText();
}

void ServerStateWidget::showServerCommandResult(int, bool, int error)
{
    const bool unreadable = error == Radar::WrongServerResponse;
    if (unreadable == m_unreadable)
        return;
    m_unreadable = unreadable;
    doShowText();
}

void ServerStateWidget::doShowText()
{
    QStringList parts;
    if (!m_stateText.isEmpty())
        parts << m_stateText;
    if (!m_hardwareInfo.isEmpty())
        parts << QStringLiteral("[%1]").arg(m_hardwareInfo);
    if (m_unreadable)
        parts << tr("[Messages are not server messages]");
    setText(parts.join(QLatin1Char(' ')));
}
