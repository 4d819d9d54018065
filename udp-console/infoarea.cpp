#include "infoarea.h"

#include "advancedscrollarea.h"

#include <QLabel>
#include <QLayout>
#include <QTimer>

void InfoArea::setText(QLabel *label, const QString &info)
{
    if (info.isEmpty()) {
        label->setText(tr("No info available"));
        label->setAlignment(Qt::AlignCenter);
    } else {
        label->setText(info);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void InfoArea::fitToLabel(QObject *context, AdvancedScrollArea *area, QWidget *inner, QLabel *label)
{
    area->setWidgetResizable(true);
    QTimer::singleShot(1, context, [area, inner, label] {
        area->setWidgetResizable(false);
        const QMargins margins = inner->layout()->contentsMargins();
        inner->resize(inner->width(), label->height() + margins.top() + margins.bottom());
    });
}
