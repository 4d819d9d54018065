#include "linkhistoryplot.h"

#include "linkhistory.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// A round upper bound of the latency axis: 10, 20, 50, 100, 200, ... ms.
quint64 axisTop(quint64 maxLatencyMs)
{
    quint64 top = 10;
    for (;;) {
        for (quint64 step : { 1, 2, 5 }) {
            if (maxLatencyMs <= top * step)
                return top * step;
        }
        top *= 10;
    }
}

} // namespace

LinkHistoryPlot::LinkHistoryPlot(const LinkHistory *history, QWidget *parent)
    : QWidget(parent)
    , m_history(history)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize LinkHistoryPlot::sizeHint() const
{
    return QSize(560, 170);
}

QSize LinkHistoryPlot::minimumSizeHint() const
{
    return QSize(300, 120);
}

void LinkHistoryPlot::showAt(qint64 nowMs)
{
    m_nowMs = nowMs;
    update();
}

void LinkHistoryPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    const quint64 top = axisTop(m_history->maxLatencyMs());
    // Room for the latency labels and for half the label under the left end.
    const int left = qMax(metrics.horizontalAdvance(QString::number(top)),
                         metrics.horizontalAdvance(tr("−%1 min").arg(60)) / 2)
        + 8;
    const QRect plot = rect().adjusted(left, metrics.height() + 4, -8, -metrics.height() - 6);
    if (plot.width() < 10 || plot.height() < 10)
        return;

    const qint64 span = m_history->spanMs();
    const qint64 start = m_nowMs - span;
    auto xOf = [&](qint64 t) { return plot.left() + double(t - start) * plot.width() / span; };
    auto yOf = [&](quint64 latency) {
        return plot.bottom() - double(latency) * plot.height() / double(top);
    };

    // Axes: latency on the left, minutes before now below, a grid line every 10 minutes.
    painter.setPen(palette().color(QPalette::Mid));
    for (int minutes = 0; minutes <= 60; minutes += 10) {
        const int x = int(std::lround(plot.left() + double(60 - minutes) * plot.width() / 60));
        painter.drawLine(x, plot.top(), x, plot.bottom());
    }
    painter.drawLine(plot.left(), int(yOf(top / 2)), plot.right(), int(yOf(top / 2)));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawRect(plot);
    for (int minutes = 0; minutes <= 60; minutes += 10) {
        const int x = int(std::lround(plot.left() + double(60 - minutes) * plot.width() / 60));
        const QString label = minutes == 0 ? tr("now") : tr("−%1 min").arg(minutes);
        const int w = metrics.horizontalAdvance(label);
        painter.drawText(
            qBound(0, x - w / 2, width() - w), plot.bottom() + metrics.ascent() + 4, label);
    }
    painter.drawText(2, plot.top() + metrics.ascent() / 2, QString::number(top));
    painter.drawText(2, plot.bottom() + metrics.ascent() / 2, QStringLiteral("0"));
    painter.drawText(plot.left(), metrics.ascent() + 1, tr("Ping latency, ms"));

    // Reconnects as red marks across the plot.
    painter.setPen(QPen(QColor(200, 30, 30), 2));
    for (qint64 t : m_history->reconnects()) {
        if (t >= start)
            painter.drawLine(QPointF(xOf(t), plot.top()), QPointF(xOf(t), plot.bottom()));
    }

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(plot);
    painter.setPen(QPen(QColor(30, 90, 200), 2));
    QPainterPath path;
    for (const LinkHistory::Latency &l : m_history->latencies()) {
        const QPointF point(xOf(l.tMs), yOf(l.latencyMs));
        if (path.elementCount() == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    painter.drawPath(path);
}
