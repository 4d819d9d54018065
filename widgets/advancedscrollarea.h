#pragma once

#include <QScrollArea>

// A scroll area that reports the size left for its content after every resize.
class AdvancedScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    using QScrollArea::QScrollArea;

signals:
    void innerAreaSizeChanged(const QSize &size);

protected:
    void resizeEvent(QResizeEvent *event) override;
};
