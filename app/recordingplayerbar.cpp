#include "recordingplayerbar.h"

#include "recordingsession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

namespace {

const double Speeds[] = { 0.25, 0.5, 1.0, 2.0, 4.0, 8.0 };
constexpr int NormalSpeedIndex = 2;

} // namespace

RecordingPlayerBar::RecordingPlayerBar(RecordingSession *session, QWidget *parent)
    : QToolBar(tr("Recording"), parent)
    , m_session(session)
    , m_playButton(new QToolButton(this))
    , m_slider(new QSlider(Qt::Horizontal, this))
    , m_timeLabel(new QLabel(this))
    , m_speedBox(new QComboBox(this))
    , m_loopBox(new QCheckBox(tr("Loop"), this))
    , m_stopButton(new QToolButton(this))
{
    setObjectName(QStringLiteral("recordingPlayerBar"));
    setMovable(false);
    m_playButton->setObjectName(QStringLiteral("playButton"));
    m_slider->setObjectName(QStringLiteral("positionSlider"));
    m_slider->setMinimumWidth(160);
    m_timeLabel->setObjectName(QStringLiteral("timeLabel"));
    m_speedBox->setObjectName(QStringLiteral("speedBox"));
    m_speedBox->setToolTip(tr("Playing speed"));
    for (double speed : Speeds)
        m_speedBox->addItem(tr("%1×").arg(QLocale().toString(speed)), speed);
    m_speedBox->setCurrentIndex(NormalSpeedIndex);
    m_loopBox->setObjectName(QStringLiteral("loopBox"));
    m_stopButton->setObjectName(QStringLiteral("stopButton"));
    m_stopButton->setText(tr("Stop playback"));
    m_stopButton->setToolTip(tr("Close the recording and connect to the server again"));

    addWidget(m_playButton);
    addWidget(m_slider);
    addWidget(m_timeLabel);
    addSeparator();
    addWidget(m_speedBox);
    addWidget(m_loopBox);
    addSeparator();
    addWidget(m_stopButton);

    RecordingPlayback *playback = session->playback();
    connect(session, &RecordingSession::activeChanged, this, &RecordingPlayerBar::onActiveChanged);
    connect(
        playback, &RecordingPlayback::playingChanged, this, &RecordingPlayerBar::onPlayingChanged);
    connect(playback, &RecordingPlayback::positionChanged, this,
        &RecordingPlayerBar::onPositionChanged);
    connect(m_playButton, &QToolButton::clicked, this, &RecordingPlayerBar::onPlayClicked);
    connect(m_speedBox, QOverload<int>::of(&QComboBox::activated), this,
        &RecordingPlayerBar::onSpeedChosen);
    connect(m_loopBox, &QCheckBox::toggled, playback, &RecordingPlayback::setLoop);
    connect(m_slider, &QSlider::sliderReleased, this, &RecordingPlayerBar::onSliderReleased);
    connect(m_slider, &QSlider::actionTriggered, this, [this](int action) {
        // Clicks and keys beside the handle seek at once; a drag seeks when released.
        if (action != QAbstractSlider::SliderMove)
            m_session->playback()->seek(m_slider->sliderPosition());
    });
    connect(m_stopButton, &QToolButton::clicked, session, &RecordingSession::stop);
    onPlayingChanged(false);
    setVisible(false);
}

QString RecordingPlayerBar::timeText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    const QString minutesSeconds = QStringLiteral("%1:%2")
                                       .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
                                       .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return seconds >= 3600 ? QStringLiteral("%1:%2").arg(seconds / 3600).arg(minutesSeconds)
                           : minutesSeconds;
}

void RecordingPlayerBar::onActiveChanged(bool active)
{
    RecordingPlayback *playback = m_session->playback();
    if (active) {
        m_slider->setRange(0, int(qMin<qint64>(playback->durationMs(), INT_MAX)));
        m_slider->setToolTip(QFileInfo(playback->fileName()).fileName());
        playback->setSpeed(m_speedBox->currentData().toDouble());
        playback->setLoop(m_loopBox->isChecked());
        onPositionChanged(playback->positionMs());
    }
    setVisible(active);
}

void RecordingPlayerBar::onPlayingChanged(bool playing)
{
    m_playButton->setText(playing ? tr("Pause") : tr("Play"));
}

void RecordingPlayerBar::onPositionChanged(qint64 positionMs)
{
    if (!m_slider->isSliderDown())
        m_slider->setValue(int(qMin<qint64>(positionMs, INT_MAX)));
    m_timeLabel->setText(QStringLiteral("%1 / %2").arg(
        timeText(positionMs), timeText(m_session->playback()->durationMs())));
}

void RecordingPlayerBar::onPlayClicked()
{
    RecordingPlayback *playback = m_session->playback();
    if (playback->isPlaying())
        playback->pause();
    else
        playback->play();
}

void RecordingPlayerBar::onSpeedChosen(int index)
{
    m_session->playback()->setSpeed(m_speedBox->itemData(index).toDouble());
}

void RecordingPlayerBar::onSliderReleased()
{
    m_session->playback()->seek(m_slider->value());
}
