#pragma once

#include <QFile>
#include <QObject>
#include <QPointer>

class IVantorClient;
class QWidget;

// A record of the frames, links and commands of one radar client for the load harness
// (bench/load): started only when the environment variable VANTOR_LOAD_TRACE names a file,
// so a normal run makes no connection and pays nothing. One line per event, times in
// microseconds since the epoch:
//   frame <handled_us> <server_ms> <cycle>   after every view has taken the frame
//   link <us> up|down
//   command <us> <command> <state> <error>
//   button <panel class> <text> <x> <y> <width> <height>   the shown push buttons, global
//       coordinates, written once the window has settled
class LoadTrace : public QObject
{
public:
    static constexpr const char *PathVariable = "VANTOR_LOAD_TRACE";

    // Connected after the views, so a frame line is written once they have handled it.
    static LoadTrace *startFromEnvironment(IVantorClient *client, QWidget *window);

private:
    LoadTrace(IVantorClient *client, QWidget *window, const QString &path);

    void onFrameDateTimeUtc(const QDateTime &dateTime);
    void onCycleNumber(quint64 cycle);
    void onFrameFinished();
    void doWriteButtons();
    void doWrite(const QByteArray &line);

    QFile m_file;
    QPointer<QWidget> m_window;
    qint64 m_serverMs = 0;
    quint64 m_cycle = 0;
};
