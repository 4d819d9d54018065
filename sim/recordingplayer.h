#pragma once

#include "recordingreader.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Plays a recording written by MessageRecorder: reads it line by line (RecordingReader)
// and emits each message when its time has come, at the given speed, optionally from the
// start again.
class RecordingPlayer : public QObject
{
    Q_OBJECT

public:
    // Lines longer than this are skipped; a radar message is a few KiB.
    static constexpr qint64 MaxLineSize = RecordingReader::MaxLineSize;

    explicit RecordingPlayer(QObject *parent = nullptr);

    // Opens the file and checks its header line.
    bool open(const QString &path, QString *error);
    void setSpeed(double speed);
    void setLoop(bool loop) { m_loop = loop; }
    // Replaces the time-stamp header's date and time with the moment of sending.
    void setRestamp(bool restamp) { m_restamp = restamp; }
    // Whether text lines are emitted; when not, they are neither sent nor counted as played.
    void setPlayText(bool play) { m_playText = play; }

    void start();
    void stop();
    bool isPlaying() const { return m_timer.isActive(); }
    quint64 playedCount() const { return m_played; }
    int skippedLines() const { return m_reader.skippedLines(); }

signals:
    void binaryMessage(const QByteArray &message);
    void textMessage(const QString &text);
    void finished();

private:
    void doPlayDue();
    bool doRewind();
    QString doPlayedText() const;

    RecordingReader m_reader;
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_speed = 1.0;
    bool m_loop = false;
    bool m_restamp = false;
    bool m_playText = true;
    bool m_hasNext = false;
    RecordingReader::Entry m_next;
    qint64 m_loopOffsetMs = 0; // recording time at which the current pass began
    quint64 m_played = 0;
    quint64 m_textLeftOut = 0;
};
