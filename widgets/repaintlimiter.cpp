#include "repaintlimiter.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {
constexpr double DefaultRefreshRate = 60.0;
}

RepaintLimiter::RepaintLimiter(QWidget *widget)
    : m_widget(widget)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, widget, qOverload<>(&QWidget::update));
    m_sincePaint.start();
}

void RepaintLimiter::schedule()
{
    if (m_timer.isActive() || !m_widget->isVisible())
        return;
    double rate = DefaultRefreshRate;
    if (const QWindow *handle = m_widget->window()->windowHandle(); handle && handle->screen())
        rate = handle->screen()->refreshRate();
    const qint64 interval = qint64(1000.0 / qBound(10.0, rate, 240.0));
    const qint64 elapsed = m_sincePaint.elapsed();
    if (elapsed >= interval)
        m_widget->update();
    else
        m_timer.start(int(interval - elapsed));
}

void RepaintLimiter::painted()
{
    m_sincePaint.restart();
}
