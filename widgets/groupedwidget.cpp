#include "groupedwidget.h"

void GroupedWidget::setPaintObjects(bool value)
{
    m_paintObjects = value;
}
