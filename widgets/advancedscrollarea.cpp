#include "advancedscrollarea.h"

#include <QResizeEvent>

// QAbstractScrollArea hands the viewport's resize events to resizeEvent(), so the size
// carried here is already the inner area, scroll bars and frame excluded.
void AdvancedScrollArea::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    emit innerAreaSizeChanged(event->size());
}
