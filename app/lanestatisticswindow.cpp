#include "lanestatisticswindow.h"

#include "safefilewriter.h"

#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalBlocker>

LaneStatisticsWindow::LaneStatisticsWindow(QWidget *parent)
    : StandaloneWidget(parent)
    , m_model(&m_statistics)
{
    m_ui.setupUi(this);
    for (int minutes : { 1, 5, 15 })
        m_ui.intervalCombo->addItem(QString(), minutes);
    m_ui.table->setModel(&m_model);
    m_ui.table->verticalHeader()->hide();
    m_ui.splitter->setStretchFactor(0, 2);
    m_ui.splitter->setStretchFactor(1, 1);
    m_ui.distanceSpin->setRange(WrongWayDetector::MinMinDistance, WrongWayDetector::MaxMinDistance);
    m_ui.distanceSpin->setValue(m_detector.minDistance());
    doRetranslate();

    connect(m_ui.intervalCombo, QOverload<int>::of(&QComboBox::activated), this,
        &LaneStatisticsWindow::onIntervalActivated);
    connect(m_ui.exportButton, &QPushButton::clicked, this, &LaneStatisticsWindow::onExportClicked);
    connect(m_ui.clearButton, &QPushButton::clicked, this, &LaneStatisticsWindow::onClearClicked);
    connect(m_ui.distanceSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
        &LaneStatisticsWindow::onDistanceEdited);
    connect(&m_detector, &WrongWayDetector::wrongWayDetected, this,
        &LaneStatisticsWindow::onWrongWayDetected);
    // The view follows the newest rows while it shows the bottom of the table.
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        QScrollBar *bar = m_ui.table->verticalScrollBar();
        if (bar->value() >= bar->maximum()
                - m_ui.table->verticalHeader()->defaultSectionSize() * m_statistics.lanes().size()
                    * 2)
            m_ui.table->scrollToBottom();
    });
    connect(&m_statistics, &LaneStatistics::currentChanged, this, [this] {
        if (isVisible())
            doShowChart();
    });
    setIntervalMinutes(m_statistics.intervalMinutes());
}

bool LaneStatisticsWindow::exportCsv(const QString &path, QString *error) const
{
    return SafeFileWriter::writeFile(path, LaneStatistics::toCsv(m_model.rows(), QLocale()), error);
}

void LaneStatisticsWindow::setLaneCenterLines(const QMap<int, QPolygonF> &lines)
{
    m_statistics.setLaneCenterLines(lines);
}

void LaneStatisticsWindow::showLaneFrame(const LaneFrame &frame)
{
    m_statistics.showLaneFrame(frame);
    m_detector.showLaneFrame(frame);
}

void LaneStatisticsWindow::setIntervalMinutes(int minutes)
{
    if (!LaneStatistics::isAllowedInterval(minutes))
        minutes = LaneStatistics::DefaultIntervalMinutes;
    m_ui.intervalCombo->setCurrentIndex(m_ui.intervalCombo->findData(minutes));
    m_statistics.setIntervalMinutes(minutes);
}

void LaneStatisticsWindow::setWrongWayDistance(double metres)
{
    if (!(metres >= WrongWayDetector::MinMinDistance && metres <= WrongWayDetector::MaxMinDistance))
        metres = WrongWayDetector::DefaultMinDistance;
    // Only the user's edits go back to the profile.
    const QSignalBlocker blocker(m_ui.distanceSpin);
    m_ui.distanceSpin->setValue(metres);
    m_detector.setMinDistance(m_ui.distanceSpin->value());
}

void LaneStatisticsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui.retranslateUi(this);
        doRetranslate();
    }
    StandaloneWidget::changeEvent(event);
}

void LaneStatisticsWindow::showEvent(QShowEvent *event)
{
    StandaloneWidget::showEvent(event);
    doShowChart();
    // Once per showing: measuring every row on each frame would cost more than the frame.
    m_ui.table->resizeColumnsToContents();
}

void LaneStatisticsWindow::onIntervalActivated(int index)
{
    const int minutes = m_ui.intervalCombo->itemData(index).toInt();
    m_statistics.setIntervalMinutes(minutes);
    emit intervalMinutesChanged(minutes);
}

void LaneStatisticsWindow::onDistanceEdited(double metres)
{
    m_detector.setMinDistance(metres);
    emit wrongWayDistanceChanged(metres);
}

void LaneStatisticsWindow::onExportClicked()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Export lane statistics"),
        tr("lane-statistics.csv"), tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!exportCsv(path, &error))
        QMessageBox::warning(this, tr("Export lane statistics"),
            tr("The statistics could not be saved to %1: %2").arg(path, error));
}

void LaneStatisticsWindow::onClearClicked()
{
    m_statistics.clear();
    m_model.reload();
    doShowChart();
}

void LaneStatisticsWindow::onWrongWayDetected(const WrongWayAlarm &alarm)
{
    qWarning("Wrong-way driver at %s: lane %d, object %d, %.0f m against the lane",
        qPrintable(alarm.dateTimeUtc.toString(Qt::ISODateWithMs)), alarm.lane, int(alarm.id),
        alarm.distance);
    const QString text = tr("%1  lane %2  object %3  %4 m against the lane")
                             .arg(QLocale().toString(alarm.dateTimeUtc.toLocalTime().time(),
                                 QStringLiteral("HH:mm:ss")))
                             .arg(alarm.lane)
                             .arg(alarm.id)
                             .arg(qRound(alarm.distance));
    m_ui.alarmList->insertItem(0, text);
    while (m_ui.alarmList->count() > MaxLoggedAlarms)
        delete m_ui.alarmList->takeItem(m_ui.alarmList->count() - 1);
    emit wrongWayDetected(alarm);
}

void LaneStatisticsWindow::doShowChart()
{
    const int lanes = qMax(1, m_statistics.lanes().size());
    m_ui.chart->setRows(m_model.latestRows(LaneStatisticsChart::MaxIntervals * lanes));
}

void LaneStatisticsWindow::doRetranslate()
{
    const QStringList intervals { tr("1 min"), tr("5 min"), tr("15 min") };
    for (int i = 0; i < intervals.size(); ++i)
        m_ui.intervalCombo->setItemText(i, intervals.at(i));
    m_ui.countingLabel->setText(
        tr("Each vehicle is counted once, when its track crosses the line %1 m along its lane.")
            .arg(LaneStatistics::ZoneStart + LaneStatistics::ZoneLength / 2));
    m_ui.countingLabel->setToolTip(m_model
                                       .headerData(int(LaneStatisticsModel::Column::Approaching),
                                           Qt::Horizontal, Qt::ToolTipRole)
                                       .toString());
}
