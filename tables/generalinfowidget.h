#pragma once

#include <QDateTime>
#include <QWidget>

class QLabel;

// The radar's uptime and measure cycle number, with the cycle rate measured over the
// frame times of at least one second.
class GeneralInfoWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GeneralInfoWidget(QWidget *parent = nullptr);

    QString uptimeText() const;
    QString cycleText() const;

public slots:
    void showRadarState(int state);
    void setFrameDateTimeUtc(const QDateTime &dateTime);
    void showUptimeInfo(int days, int hours, int minutes, int seconds, int milliseconds);
    void showCycleNumber(quint64 cycle);

private:
    void clear();
    // Shows the text in a label of fixed size, which takes a new text without laying the
    // panel out again; the label only grows, when a text longer than any before comes.
    void doShowText(QLabel *label, const QString &text, int &fittedLength);

    QLabel *m_uptimeLabel = nullptr;
    QLabel *m_cycleLabel = nullptr;
    qint64 m_frameTimeMs = 0;
    // The sample the rate is measured from; the time is 0 when there is none.
    qint64 m_sampleTimeMs = 0;
    quint64 m_sampleCycle = 0;
    double m_rate = -1.0;
    int m_uptimeFitted = 0;
    int m_cycleFitted = 0;
};
