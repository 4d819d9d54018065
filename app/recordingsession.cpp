#include "recordingsession.h"

#include "ivantorclient.h"
#include "radarwiring.h"

#include <QDir>

RecordingSession::RecordingSession(RadarWiring *wiring, QObject *parent)
    : QObject(parent)
    , m_wiring(wiring)
{
    connect(
        &m_playback, &RecordingPlayback::binaryMessage, this, &RecordingSession::onBinaryMessage);
    connect(&m_playback, &RecordingPlayback::textMessage, this, &RecordingSession::onTextMessage);
}

bool RecordingSession::open(const QString &path, QString *errorText)
{
    const bool wasActive = isActive();
    if (!m_playback.open(path)) {
        *errorText = this->errorText(path);
        if (wasActive) {
            doTakeClientOffline();
            emit activeChanged(false);
        }
        return false;
    }
    doTakeClientOffline();
    if (!wasActive)
        emit activeChanged(true);
    m_playback.play();
    return true;
}

void RecordingSession::stop()
{
    if (!isActive())
        return;
    m_playback.close();
    doTakeClientOffline();
    emit activeChanged(false);
}

void RecordingSession::doTakeClientOffline()
{
    if (IVantorClient *client = m_wiring->client())
        client->disconnectFromServer();
}

void RecordingSession::onBinaryMessage(const QByteArray &message)
{
    if (IVantorClient *client = m_wiring->client())
        client->onServerDataReceived(message);
}

void RecordingSession::onTextMessage(const QString &text)
{
    if (IVantorClient *client = m_wiring->client())
        client->onServerTextReceived(text);
}

QString RecordingSession::errorText(const QString &path) const
{
    const QString name = QDir::toNativeSeparators(path);
    switch (m_playback.error()) {
    case RecordingReader::Error::CannotRead:
        return tr("The file %1 cannot be read.").arg(name);
    case RecordingReader::Error::NotARecording:
        return tr("The file %1 is not a recording of the radar simulator.").arg(name);
    case RecordingReader::Error::UnsupportedVersion:
        return tr("The recording %1 was written in a later version of its format, which this "
                  "program cannot read.")
            .arg(name);
    case RecordingReader::Error::NoMessages:
    case RecordingReader::Error::None:
        break;
    }
    return tr("The recording %1 holds no message this program can read.").arg(name);
}
