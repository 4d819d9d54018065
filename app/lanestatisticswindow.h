#pragma once

#include "lanestatistics.h"
#include "lanestatisticsmodel.h"
#include "standalonewidget.h"
#include "ui_lanestatisticswindow.h"
#include "wrongwaydetector.h"

// The traffic of each lane per interval in a table beside a chart, its export to CSV, and
// the wrong-way alarms with their log. Counting and alarms run whether the window is
// shown or not.
class LaneStatisticsWindow : public StandaloneWidget
{
    Q_OBJECT

public:
    static constexpr int MaxLoggedAlarms = 1000;

    explicit LaneStatisticsWindow(QWidget *parent = nullptr);

    const LaneStatistics &statistics() const { return m_statistics; }
    const LaneStatisticsModel &model() const { return m_model; }
    const Ui::LaneStatisticsWindow &form() const { return m_ui; }

    // Writes the rows to path as CSV for the current locale; false with the reason in
    // words when the file could not be written.
    bool exportCsv(const QString &path, QString *error) const;

public slots:
    void setLaneCenterLines(const QMap<int, QPolygonF> &lines);
    void showLaneFrame(const LaneFrame &frame);
    // 1, 5 or 15; anything else (a profile without the setting) means the default.
    void setIntervalMinutes(int minutes);
    // Outside the detector's range (a profile without the setting) means the default.
    void setWrongWayDistance(double metres);

signals:
    // The user chose another interval.
    void intervalMinutesChanged(int minutes);
    // The user changed the alarm's distance.
    void wrongWayDistanceChanged(double metres);
    void wrongWayDetected(const WrongWayAlarm &alarm);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void onIntervalActivated(int index);
    void onDistanceEdited(double metres);
    void onExportClicked();
    void onClearClicked();
    void onWrongWayDetected(const WrongWayAlarm &alarm);
    void doRetranslate();
    void doShowChart();

    Ui::LaneStatisticsWindow m_ui;
    LaneStatistics m_statistics;
    WrongWayDetector m_detector;
    LaneStatisticsModel m_model;
};
