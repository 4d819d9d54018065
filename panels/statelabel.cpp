#include "statelabel.h"

#include <QTimer>

StateLabel::StateLabel(QWidget *parent)
    : StateLabel(0, 0, parent)
{ }

StateLabel::StateLabel(int setCommand, int getCommand, QWidget *parent)
    : QLabel(parent)
    , m_status(setCommand, getCommand)
    , m_answerTimer(new QTimer(this))
{
    // As wide as the common texts where there is room; where a panel is short of it, as in
    // Russian on a laptop's screen, as narrow as their longest word: the state then takes
    // two lines instead of widening the panel.
    int widestWord = 0;
    for (const QString &text :
        { ValueStatus::tr("not read"), ValueStatus::tr("value changed"), ValueStatus::tr("queued"),
            ValueStatus::tr("in progress"), ValueStatus::tr("command received"),
            ValueStatus::tr("waiting for data"), ValueStatus::tr("received from radar") }) {
        m_commonWidth = qMax(m_commonWidth, fontMetrics().horizontalAdvance(text) + 8);
        for (const QString &word : text.split(QLatin1Char(' ')))
            widestWord = qMax(widestWord, fontMetrics().horizontalAdvance(word));
    }
    setMinimumWidth(widestWord + 8);
    // Rows keep their height whether or not a state is shown.
    setMinimumHeight(fontMetrics().height());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_answerTimer->setSingleShot(true);
    m_answerTimer->setInterval(ValueStatus::AnswerTimeoutMs);
    connect(m_answerTimer, &QTimer::timeout, this, &StateLabel::onAnswerTimedOut);
    doRefresh();
}

QSize StateLabel::sizeHint() const
{
    // The same whatever the text, so that the panels keep their width as states change.
    return QSize(m_commonWidth, heightForWidth(m_commonWidth));
}

void StateLabel::showCommandState(int command, int state, int error)
{
    if (!m_status.applyCommandState(command, state, error))
        return;
    if (m_status.awaitsAnswer())
        m_answerTimer->start();
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

bool StateLabel::markReceived(const QString &radarText, const QString &unusual)
{
    const bool taken = m_status.markReceived(radarText, unusual);
    doRefresh();
    return taken;
}

void StateLabel::markRefused(const QString &reason)
{
    m_status.markRefused(reason);
    doRefresh();
}

void StateLabel::markUnknown()
{
    m_status.markUnknown();
    doRefresh();
}

void StateLabel::onAnswerTimedOut()
{
    if (!m_status.awaitsAnswer())
        return;
    m_status.markNoAnswer();
    doRefresh();
}

void StateLabel::doRefresh()
{
    setText(m_status.text());
    setToolTip(m_status.toolTip());
    QPalette p = palette();
    p.setColor(QPalette::WindowText, m_status.color());
    setPalette(p);
    emit statusChanged();
}
