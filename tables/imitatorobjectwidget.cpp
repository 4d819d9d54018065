#include "imitatorobjectwidget.h"

#include "objectcolor.h"
#include "radarstate.h"

#include <QLabel>
#include <QLocale>
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
    connect(&m_filling, &RoadObjectFrameCollector::frameCollected, this,
        &ImitatorObjectWidget::showFrame);
    doShowSpeeds();
}

QString ImitatorObjectWidget::text() const
{
    return doComposeText();
}

void ImitatorObjectWidget::showFrame(const RoadObjectFrame &frame)
{
    m_objects = frame.objects;
    doShowSpeeds();
}

void ImitatorObjectWidget::startFilling()
{
    m_filling.onFrameStarted();
}

void ImitatorObjectWidget::addObject(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    m_filling.onObjectData(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected);
}

void ImitatorObjectWidget::finishFilling()
{
    m_filling.onFrameFinished();
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
    m_filling.reset();
    m_objects.clear();
    doShowSpeeds();
}

void ImitatorObjectWidget::showEvent(QShowEvent *event)
{
    if (m_labelStale)
        doShowSpeeds();
    GroupedWidget::showEvent(event);
}

void ImitatorObjectWidget::doShowSpeeds()
{
    // The label parses and lays out its rich text on every change: a hidden panel, as it
    // is outside the imitator mode, gets its text when shown.
    m_labelStale = !isVisible();
    if (!m_labelStale)
        m_label->setText(doComposeText());
}

QString ImitatorObjectWidget::doComposeText() const
{
    if (m_objects.isEmpty())
        return tr("no<br>data");
    QStringList speeds;
    speeds.reserve(m_objects.size());
    for (const RoadObject &o : m_objects) {
        const QColor colour
            = paintObjects() ? ObjectColor::base(o.id) : palette().color(foregroundRole());
        speeds.append(
            QStringLiteral("<span style=\"color:%1\">%2</span>")
                .arg(colour.name(), tr("%1 km/h").arg(locale().toString(o.xSpeed * 3.6, 'f', 1))));
    }
    return speeds.join(
        m_drawVertical ? QStringLiteral("<br>") : QStringLiteral("&nbsp;&nbsp;&nbsp;"));
}
