#include "imitatorobjectwidget.h"

#include "objectcolor.h"
#include "radarstate.h"

#include <QLabel>
#include <QVBoxLayout>

ImitatorObjectWidget::ImitatorObjectWidget(QWidget *parent)
    : GroupedWidget(parent)
    , m_label(new QLabel(this))
{
    QFont big = m_label->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    m_label->setFont(big);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setTextFormat(Qt::RichText);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    doShowSpeeds();
}

QString ImitatorObjectWidget::text() const
{
    return m_label->text();
}

void ImitatorObjectWidget::startFilling()
{
    m_pending.clear();
}

void ImitatorObjectWidget::addObject(
    quint8 id, double xSpeed, double, double, double, double, const QDateTime &)
{
    const QColor colour
        = paintObjects() ? ObjectColor::base(id) : palette().color(foregroundRole());
    m_pending.append(QStringLiteral("<span style=\"color:%1\">%2</span>")
                         .arg(colour.name(), tr("%1 km/h").arg(xSpeed * 3.6, 0, 'f', 1)));
}

void ImitatorObjectWidget::finishFilling()
{
    m_speeds = m_pending;
    doShowSpeeds();
}

void ImitatorObjectWidget::showRadarState(int state)
{
    if (!Radar::isWorking(state))
        clear();
}

void ImitatorObjectWidget::setDrawVertical(bool value)
{
    m_drawVertical = value;
    doShowSpeeds();
}

void ImitatorObjectWidget::clear()
{
    m_pending.clear();
    m_speeds.clear();
    doShowSpeeds();
}

void ImitatorObjectWidget::doShowSpeeds()
{
    if (m_speeds.isEmpty()) {
        m_label->setText(tr("no<br>data"));
        return;
    }
    m_label->setText(m_speeds.join(
        m_drawVertical ? QStringLiteral("<br>") : QStringLiteral("&nbsp;&nbsp;&nbsp;")));
}
