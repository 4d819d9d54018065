#pragma once

#include "recordingreader.h"
#include "safefilewriter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonValue>
#include <QString>

// Writes a recording: JSON Lines, a header line first, then one line per message with its
// time in milliseconds since the recording started. The first line the disk refuses ends
// the recording; the lines before it are kept.
class MessageRecorder
{
public:
    static constexpr const char *FormatName = RecordingReader::FormatName;
    static constexpr int FormatVersion = RecordingReader::FormatVersion;

    MessageRecorder() = default;

    bool open(const QString &path, QString *error);
    bool isOpen() const { return m_file.isOpen(); }
    void recordBinary(const QByteArray &message);
    void recordText(const QString &text);
    void close();
    quint64 recordedCount() const { return m_count; }

private:
    void doWrite(const char *type, const QJsonValue &data);

    QFile m_file;
    SafeFileWriter m_writer { &m_file };
    QElapsedTimer m_clock;
    quint64 m_count = 0;
};
