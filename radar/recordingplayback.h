#pragma once

#include "recordingreader.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

// Plays a recording of the simulator's format to a radar client as if its messages came
// from the server: at the recorded pace times a speed, with pause, seek and loop. The
// file is read line by line; opening it reads it through once to learn its length and to
// note where each second of it starts, so that a seek reads at most one second of lines.
class RecordingPlayback : public QObject
{
    Q_OBJECT

public:
    static constexpr double MinSpeed = 0.25;
    static constexpr double MaxSpeed = 8.0;

    explicit RecordingPlayback(QObject *parent = nullptr);

    // Opens the recording at its first message, paused. On failure the previous one is
    // closed too.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_reader.isOpen(); }
    QString fileName() const { return m_reader.fileName(); }
    RecordingReader::Error error() const { return m_reader.error(); }
    QString errorString() const { return m_reader.errorString(); }

    // The recording time of its last message.
    qint64 durationMs() const { return m_durationMs; }
    // The recording time reached: every message up to it has been played.
    qint64 positionMs() const;
    bool isPlaying() const { return m_playing; }

public slots:
    void play();
    void pause();
    // Clamped to MinSpeed..MaxSpeed.
    void setSpeed(double speed);
    void setLoop(bool loop);
    // Continues from the first message at or after positionMs; the messages before it are
    // not played.
    void seek(qint64 positionMs);

signals:
    void binaryMessage(const QByteArray &message);
    void textMessage(const QString &text);
    void playingChanged(bool playing);
    // A few times a second while playing, and on every seek.
    void positionChanged(qint64 positionMs);
    // Played through to the end without looping.
    void finished();

private:
    struct Mark
    {
        qint64 tMs = 0;
        qint64 pos = 0;
    };

    bool doIndex();
    // Positions the reader at the first message at or after positionMs.
    void doSeek(qint64 positionMs);
    void doPlayDue();
    void doSetPlaying(bool playing);
    // Makes `positionMs` the recording time of now on the playing clock.
    void doRebase(qint64 positionMs);

    RecordingReader m_reader;
    QVector<Mark> m_marks;
    QTimer m_timer;
    // Tells the position while playing, also through long pauses between messages.
    QTimer m_positionTimer;
    QElapsedTimer m_clock;
    RecordingReader::Entry m_next;
    bool m_hasNext = false;
    bool m_playing = false;
    bool m_loop = false;
    double m_speed = 1.0;
    qint64 m_durationMs = 0;
    qint64 m_baseMs = 0; // recording time when m_clock started
    // Counts the seeks, so that a seek made by a receiver of a message is noticed.
    quint64 m_seeks = 0;
};
