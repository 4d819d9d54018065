#pragma once

#include "recordingplayback.h"

#include <QObject>
#include <QString>

class RadarWiring;

// Plays a recording to whichever radar client the wiring holds, through the client's own
// message handling, so that every display fills as from the server. While a recording is
// open the client's link to the server stays closed; the window reopens it when the
// session ends.
class RecordingSession : public QObject
{
    Q_OBJECT

public:
    explicit RecordingSession(RadarWiring *wiring, QObject *parent = nullptr);

    RecordingPlayback *playback() { return &m_playback; }
    bool isActive() const { return m_playback.isOpen(); }

    // Opens the recording, takes the client off the server and starts playing. On failure
    // errorText says why in words; a recording open before is closed.
    bool open(const QString &path, QString *errorText);

public slots:
    // Closes the recording; the client is left offline and without objects.
    void stop();

signals:
    void activeChanged(bool active);

private:
    void onBinaryMessage(const QByteArray &message);
    void onTextMessage(const QString &text);
    void doTakeClientOffline();
    QString errorText(const QString &path) const;

    RadarWiring *m_wiring;
    RecordingPlayback m_playback;
};
