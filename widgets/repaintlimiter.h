#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

// Repaints a live view at most at its screen's refresh rate and not at all while it is
// hidden: schedule() on every new frame, painted() from its paintEvent. Frames that arrive
// faster than the screen shows them are drawn together in the next repaint.
class RepaintLimiter : public QObject
{
public:
    explicit RepaintLimiter(QWidget *widget);

    void schedule();
    void painted();

private:
    QWidget *m_widget;
    QTimer m_timer;
    QElapsedTimer m_sincePaint;
};
