#include "generalinfowidget.h"

#include "radarstate.h"

#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QTime>

namespace {

constexpr qint64 RateWindowMs = 1000;

} // namespace

GeneralInfoWidget::GeneralInfoWidget(QWidget *parent)
    : QWidget(parent)
    , m_uptimeLabel(new QLabel(this))
    , m_cycleLabel(new QLabel(this))
{
    m_uptimeLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_cycleLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QFormLayout(this);
    // Values under their labels keep the controls column narrow.
    layout->setRowWrapPolicy(QFormLayout::WrapAllRows);
    layout->addRow(tr("Internal time (uptime)"), m_uptimeLabel);
    layout->addRow(tr("Measure cycle number"), m_cycleLabel);
}

QString GeneralInfoWidget::uptimeText() const
{
    return m_uptimeLabel->text();
}

QString GeneralInfoWidget::cycleText() const
{
    return m_cycleLabel->text();
}

void GeneralInfoWidget::showRadarState(int state)
{
    if (!Radar::isOnline(state))
        clear();
}

void GeneralInfoWidget::setFrameDateTimeUtc(const QDateTime &dateTime)
{
    if (dateTime.isValid())
        m_frameTimeMs = dateTime.toMSecsSinceEpoch();
}

void GeneralInfoWidget::showUptimeInfo(
    int days, int hours, int minutes, int seconds, int milliseconds)
{
    const QTime time(hours, minutes, seconds, milliseconds);
    doShowText(m_uptimeLabel,
        tr("%1 day(s) %2")
            .arg(days)
            .arg(time.isValid() ? time.toString(QStringLiteral("hh:mm:ss.zzz"))
                                : QStringLiteral("--:--:--.---")),
        m_uptimeFitted);
}

void GeneralInfoWidget::showCycleNumber(quint64 cycle)
{
    // A restarted radar counts from 0 again: measure anew.
    if (m_sampleTimeMs == 0 || cycle < m_sampleCycle || m_frameTimeMs < m_sampleTimeMs) {
        m_sampleTimeMs = m_frameTimeMs;
        m_sampleCycle = cycle;
        m_rate = -1.0;
    } else if (m_frameTimeMs - m_sampleTimeMs >= RateWindowMs) {
        m_rate = double(cycle - m_sampleCycle) * 1000.0 / double(m_frameTimeMs - m_sampleTimeMs);
        m_sampleTimeMs = m_frameTimeMs;
        m_sampleCycle = cycle;
    }
    QString text = QString::number(cycle);
    if (m_rate >= 0.0)
        text += QLatin1Char(' ') + tr("(%1 c/s)").arg(locale().toString(m_rate, 'f', 1));
    doShowText(m_cycleLabel, text, m_cycleFitted);
}

void GeneralInfoWidget::clear()
{
    m_uptimeLabel->clear();
    m_cycleLabel->clear();
    m_sampleTimeMs = 0;
    m_rate = -1.0;
}

void GeneralInfoWidget::doShowText(QLabel *label, const QString &text, int &fittedLength)
{
    label->setText(text);
    // A selectable label lays its text out when first asked, and asks for a repaint when it
    // has: asked now rather than in its paint, a new text repaints it once, not twice.
    const QSize hint = label->sizeHint();
    if (text.size() <= fittedLength)
        return;
    fittedLength = text.size();
    // Room for a text of the same length in wider characters.
    const QSize slack(2 * label->fontMetrics().averageCharWidth(), 0);
    label->setFixedSize((hint + slack).expandedTo(label->minimumSize()));
}
