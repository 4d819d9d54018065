#pragma once

#include <QWidget>

class LinkHistory;

// Draws a link history over its span up to now: the ping latencies as a line, the
// reconnects as red marks, the time axis in minutes before now.
class LinkHistoryPlot : public QWidget
{
    Q_OBJECT

public:
    explicit LinkHistoryPlot(const LinkHistory *history, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    // The time of now on the history's clock; repaints.
    void showAt(qint64 nowMs);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const LinkHistory *m_history;
    qint64 m_nowMs = 0;
};
