#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Reads a recording of radar traffic as the simulator writes it: JSON Lines, a header
// line naming the format and its version, then one message per line with its time in
// milliseconds since the recording started. Lines it cannot read are skipped, counted and
// the first ten logged; times never run backwards within one pass. The file is read line
// by line, never as a whole.
class RecordingReader
{
public:
    static constexpr const char *FormatName = "vantor-radar-sim recording";
    static constexpr int FormatVersion = 1;
    // Lines longer than this are skipped; a radar message is a few KiB.
    static constexpr qint64 MaxLineSize = 4 * 1024 * 1024;

    enum class Error { None, CannotRead, NotARecording, UnsupportedVersion, NoMessages };

    struct Entry
    {
        qint64 tMs = 0;
        bool binary = true;
        QByteArray data;
    };

    // Opens the file and checks its header and that it holds at least one message, which
    // the first readNext() returns.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }
    Error error() const { return m_error; }
    // Says in English what open() found, for a log.
    QString errorString() const { return m_errorString; }

    // Reads the next message; false at the end of the file.
    bool readNext(Entry *entry);
    // Where the next readNext() starts reading.
    qint64 pos() const;
    // Continues at a position pos() returned, after a message whose time was lastTMs.
    bool seek(qint64 pos, qint64 lastTMs);
    bool rewind() { return seek(m_dataStart, 0); }

    int skippedLines() const { return m_skipped; }

private:
    bool doRead(Entry *entry);
    bool doFail(Error error, const QString &text);
    void doSkip(const char *what);

    QFile m_file;
    Error m_error = Error::None;
    QString m_errorString;
    qint64 m_dataStart = 0; // file position after the header line
    qint64 m_lastTMs = 0;
    bool m_hasPending = false;
    qint64 m_pendingPos = 0;
    Entry m_pending;
    int m_skipped = 0;
    int m_skippedTooLong = 0;
};
