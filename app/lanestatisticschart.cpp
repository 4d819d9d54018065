#include "lanestatisticschart.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>

LaneStatisticsChart::LaneStatisticsChart(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize LaneStatisticsChart::sizeHint() const
{
    return { 360, 240 };
}

QSize LaneStatisticsChart::minimumSizeHint() const
{
    return { 200, 140 };
}

void LaneStatisticsChart::setRows(const QVector<LaneStatistics::Row> &rows)
{
    m_lanes.clear();
    m_starts.clear();
    m_counts.clear();
    for (const LaneStatistics::Row &row : rows) {
        if (!m_lanes.contains(row.lane))
            m_lanes.append(row.lane);
        if (m_starts.isEmpty() || m_starts.constLast() != row.start)
            m_starts.append(row.start);
    }
    std::sort(m_lanes.begin(), m_lanes.end());
    const int first = qMax(0, m_starts.size() - MaxIntervals);
    m_starts.remove(0, first);
    m_counts.fill(QVector<int>(m_lanes.size(), 0), m_starts.size());
    for (const LaneStatistics::Row &row : rows) {
        const int interval = m_starts.indexOf(row.start);
        if (interval >= 0)
            m_counts[interval][m_lanes.indexOf(row.lane)] = row.total();
    }
    update();
}

void LaneStatisticsChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().text().color());
    const QFontMetrics metrics = fontMetrics();
    if (m_starts.isEmpty() || m_lanes.isEmpty()) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, tr("No intervals yet"));
        return;
    }

    int top = 0;
    for (const QVector<int> &counts : qAsConst(m_counts))
        top = qMax(top, *std::max_element(counts.cbegin(), counts.cend()));
    // A round upper bound: 5, 10, 20, 50, 100, ...
    int scale = 5;
    for (int base = 10; scale < top; base *= 10) {
        for (int m : { 1, 2, 5 }) {
            if (scale < top)
                scale = m * base;
        }
    }

    // The legend on top, one colour per lane.
    int x = 4;
    const int line = metrics.height();
    for (int i = 0; i < m_lanes.size(); ++i) {
        painter.fillRect(QRect(x, 4 + line / 4, line / 2, line / 2), laneColor(i));
        x += line / 2 + 3;
        const QString text = tr("Lane %1").arg(m_lanes.at(i));
        painter.drawText(QPoint(x, 4 + metrics.ascent()), text);
        x += metrics.horizontalAdvance(text) + 10;
    }

    const QString topLabel = QLocale().toString(scale);
    const int left = metrics.horizontalAdvance(topLabel) + 8;
    const QRect plot(left, 8 + line, width() - left - 6, height() - 2 * line - 14);
    if (plot.width() < 10 || plot.height() < 10)
        return;
    painter.setPen(palette().mid().color());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.topLeft(), plot.bottomLeft());
    painter.setPen(palette().text().color());
    painter.drawText(QRect(0, plot.top() - line / 2, left - 4, line), Qt::AlignRight, topLabel);
    painter.drawText(
        QRect(0, plot.bottom() - line / 2, left - 4, line), Qt::AlignRight, QStringLiteral("0"));

    const double slot = double(plot.width()) / MaxIntervals;
    const double bar = qMax(1.0, (slot - 4) / m_lanes.size());
    const int labelEvery
        = qMax(1, metrics.horizontalAdvance(QStringLiteral("00:00 ")) / int(slot) + 1);
    for (int k = 0; k < m_starts.size(); ++k) {
        const double x0 = plot.left() + k * slot + 2;
        for (int i = 0; i < m_lanes.size(); ++i) {
            const double h = plot.height() * double(m_counts[k][i]) / scale;
            painter.fillRect(QRectF(x0 + i * bar, plot.bottom() - h, bar - 1, h), laneColor(i));
        }
        if ((m_starts.size() - 1 - k) % labelEvery == 0)
            painter.drawText(QRectF(x0 - slot / 2, plot.bottom() + 2, 2 * slot, line),
                Qt::AlignHCenter | Qt::AlignTop,
                m_starts.at(k).toLocalTime().toString(QStringLiteral("HH:mm")));
    }
}

QColor LaneStatisticsChart::laneColor(int index)
{
    static const QColor colors[] = { QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
        QColor(0x2c, 0xa0, 0x2c), QColor(0xd6, 0x27, 0x28), QColor(0x94, 0x67, 0xbd),
        QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f) };
    return colors[index % int(sizeof colors / sizeof colors[0])];
}
