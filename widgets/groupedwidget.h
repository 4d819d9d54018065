#pragma once

#include "standalonewidget.h"

#include <QDateTime>

// A display fed frame by frame: the radar client's frame signals arrive as
// startFilling, one addObject per object, and finishFilling. It can sit in a group box
// of the main window or be shown as a separate window.
class GroupedWidget : public StandaloneWidget
{
    Q_OBJECT

public:
    using StandaloneWidget::StandaloneWidget;

    bool paintObjects() const { return m_paintObjects; }

public slots:
    // With painting off every object takes the colours of identifier 0.
    virtual void setPaintObjects(bool value);
    virtual void startFilling() = 0;
    virtual void addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected)
        = 0;
    virtual void finishFilling() = 0;

private:
    bool m_paintObjects = true;
};
