#include "advancedscrollarea.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

void AdvancedScrollArea::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    QSize inner = event->size();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (horizontalScrollBar()->isVisible())
        inner.rheight() -= extent;
    if (verticalScrollBar()->isVisible())
        inner.rwidth() -= extent;
    emit innerAreaSizeChanged(inner);
}
