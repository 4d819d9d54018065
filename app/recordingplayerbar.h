#pragma once

#include <QToolBar>

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class QToolButton;
class RecordingSession;

// The controls of a recording being played: play and pause, the position (drag to seek),
// the speed, looping, and stopping, which returns to the server.
class RecordingPlayerBar : public QToolBar
{
    Q_OBJECT

public:
    explicit RecordingPlayerBar(RecordingSession *session, QWidget *parent = nullptr);

    static QString timeText(qint64 ms);

private:
    void onActiveChanged(bool active);
    void onPlayingChanged(bool playing);
    void onPositionChanged(qint64 positionMs);
    void onPlayClicked();
    void onSpeedChosen(int index);
    void onSliderReleased();

    RecordingSession *m_session;
    QToolButton *m_playButton = nullptr;
    QSlider *m_slider = nullptr;
    QLabel *m_timeLabel = nullptr;
    QComboBox *m_speedBox = nullptr;
    QCheckBox *m_loopBox = nullptr;
    QToolButton *m_stopButton = nullptr;
};
