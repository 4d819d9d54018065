#include "statelabel.h"

StateLabel::StateLabel(QWidget *parent)
    : StateLabel(0, 0, parent)
{ }

StateLabel::StateLabel(int setCommand, int getCommand, QWidget *parent)
    : QLabel(parent)
    , m_status(setCommand, getCommand)
{
    setMinimumWidth(fontMetrics().horizontalAdvance(ValueStatus::tr("received from radar")) + 8);
    // Rows keep their height whether or not a state is shown.
    setMinimumHeight(fontMetrics().height());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void StateLabel::showCommandState(int command, int state, int error)
{
    if (m_status.applyCommandState(command, state, error))
        doRefresh();
}

void StateLabel::markChanged()
{
    m_status.markChanged();
    doRefresh();
}

void StateLabel::markWaiting()
{
    m_status.markWaiting();
    doRefresh();
}

void StateLabel::markReceived()
{
    m_status.markReceived();
    doRefresh();
}

void StateLabel::markRefused(const QString &reason)
{
    m_status.markRefused(reason);
    doRefresh();
}

void StateLabel::doRefresh()
{
    const QString text = m_status.text();
    setText(text);
    setToolTip(text);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, m_status.color());
    setPalette(p);
}
