#pragma once

#include "groupedwidget.h"
#include "historyfile.h"
#include "historymodel.h"
#include "roadobjectframecollector.h"

class QComboBox;
class QPushButton;
class QTableView;

// The objects history panel: the history table with the buttons to clear, pause and
// save it as text or CSV. Each frame (showFrame) adds the records measured at the frame's time;
// nothing is recorded while paused. The per-object slots collect a frame and show it at
// finishFilling.
class HistoryTableWidget : public GroupedWidget
{
    Q_OBJECT

public:
    explicit HistoryTableWidget(QWidget *parent = nullptr);

    HistoryModel *model() { return &m_model; }
    QTableView *view() const { return m_view; }
    bool isPaused() const { return m_paused; }
    HistoryFile::Format fileFormat() const { return m_fileFormat; }

public slots:
    void setPaintObjects(bool value) override;
    void showFrame(const RoadObjectFrame &frame);
    void startFilling() override;
    void addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected) override;
    void finishFilling() override;
    void setFrameDateTimeUtc(const QDateTime &dateTime);
    void on_clearTableButton_clicked();
    void on_pauseWorkButton_toggled(bool checked);
    void on_saveToFileButton_clicked();
    // Saves into folder; the button saves into HistoryFile::folder().
    void saveToFolder(const QString &folder);
    // By its name in the work profile (HistoryFile::formatName).
    void setFileFormat(const QString &name);

signals:
    void fileFormatChanged(const QString &name);
    void historySaved(const QString &path);
    void historySavingFailed(const QString &path, const QString &errorText);

private:
    void showMessage(bool failed, const QString &text);

    HistoryModel m_model;
    QTableView *m_view = nullptr;
    QPushButton *m_clearTableButton = nullptr;
    QPushButton *m_pauseWorkButton = nullptr;
    QPushButton *m_saveToFileButton = nullptr;
    QComboBox *m_fileFormatBox = nullptr;
    // What a frame changes: the rows, the row numbers and the vertical scroll bar.
    QList<QWidget *> m_liveParts;
    bool m_paused = false;
    HistoryFile::Format m_fileFormat = HistoryFile::Format::Text;
    RoadObjectFrameCollector m_filling;
};
