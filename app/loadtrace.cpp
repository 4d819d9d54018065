#include "loadtrace.h"

#include "ivantorclient.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace {

constexpr int SettleMs = 3000;

qint64 nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

} // namespace

LoadTrace *LoadTrace::startFromEnvironment(IVantorClient *client, QWidget *window)
{
    const QString path = qEnvironmentVariable(PathVariable);
    if (path.isEmpty() || !client)
        return nullptr;
    auto *trace = new LoadTrace(client, window, path);
    if (!trace->m_file.isOpen()) {
        qWarning("Cannot write the load trace to %s", qPrintable(path));
        delete trace;
        return nullptr;
    }
    return trace;
}

LoadTrace::LoadTrace(IVantorClient *client, QWidget *window, const QString &path)
    : QObject(client)
    , m_file(path)
    , m_window(window)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    connect(client, &IVantorClient::frameDateTimeUtc, this, &LoadTrace::onFrameDateTimeUtc);
    connect(client, &IVantorClient::cycleNumber, this, &LoadTrace::onCycleNumber);
    connect(client, &IVantorClient::frameFinished, this, &LoadTrace::onFrameFinished);
    connect(client, &IVantorClient::connected, this,
        [this] { doWrite("link " + number(nowUs()) + " up"); });
    connect(client, &IVantorClient::disconnected, this,
        [this] { doWrite("link " + number(nowUs()) + " down"); });
    connect(client, &IVantorClient::radarCommandStateChanged, this,
        [this](int command, int state, int error) {
            doWrite("command " + number(nowUs()) + ' ' + number(command) + ' ' + number(state) + ' '
                + number(error));
        });
    QTimer::singleShot(SettleMs, this, &LoadTrace::doWriteButtons);
}

void LoadTrace::onFrameDateTimeUtc(const QDateTime &dateTime)
{
    m_serverMs = dateTime.toMSecsSinceEpoch();
}

void LoadTrace::onCycleNumber(quint64 cycle)
{
    m_cycle = cycle;
}

void LoadTrace::onFrameFinished()
{
    doWrite(
        "frame " + number(nowUs()) + ' ' + number(m_serverMs) + ' ' + QByteArray::number(m_cycle));
}

void LoadTrace::doWriteButtons()
{
    if (!m_window)
        return;
    for (QAbstractButton *button : m_window->findChildren<QAbstractButton *>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        QWidget *panel = button->parentWidget();
        const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
        QByteArray text = button->text().toUtf8();
        text.replace(' ', '_');
        doWrite(QByteArray("button ") + (panel ? panel->metaObject()->className() : "-") + ' '
            + text + ' ' + number(topLeft.x()) + ' ' + number(topLeft.y()) + ' '
            + number(button->width()) + ' ' + number(button->height()));
    }
}

void LoadTrace::doWrite(const QByteArray &line)
{
    if (!m_file.isOpen())
        return;
    // Flushed per line: the harness reads the file while the program runs.
    if (m_file.write(line + '\n') < 0 || !m_file.flush())
        m_file.close();
}
