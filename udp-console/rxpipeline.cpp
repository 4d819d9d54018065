#include "rxpipeline.h"

#include "consoleconfig.h"
#include "payloadtext.h"
#include "textfilter.h"

#include <QDateTime>
#include <QTime>
#include <QUdpSocket>

namespace {
constexpr int MaxDatagramSize = 65536;
constexpr qint64 MsecsPerDay = 24 * 3600 * 1000;
} // namespace

RxPipeline::RxPipeline(
    QUdpSocket *socket, const TextFilter *filter, RxMessageModel *model, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_filter(filter)
    , m_model(model)
    , m_displayLimit(ConsoleConfig::DefaultRxDisplayLimit)
{
    m_flushTimer.setSingleShot(true);
    m_sinceFlush.start();
    connect(&m_flushTimer, &QTimer::timeout, this, &RxPipeline::flush);
}

bool RxPipeline::bind(const QHostAddress &address, quint16 port)
{
    unbind();
    if (!m_socket->bind(address, port))
        return false;
    m_socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, ReceiveBufferSize);
    return true;
}

void RxPipeline::unbind()
{
    if (m_socket->state() == QAbstractSocket::BoundState)
        m_socket->close();
    else if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->abort();
}

void RxPipeline::setDisplayLimit(int limit)
{
    m_displayLimit
        = qBound(ConsoleConfig::MinRxDisplayLimit, limit, ConsoleConfig::MaxRxDisplayLimit);
}

void RxPipeline::setByteBudget(qint64 bytes)
{
    m_byteBudget = bytes;
}

void RxPipeline::setShowIfNoRuleMatches(bool show)
{
    m_showIfNoRuleMatches = show;
}

void RxPipeline::addMessage(
    const QHostAddress &address, quint16 port, const QByteArray &payload, int ruleIndex)
{
    doQueue(address, port, payload, PayloadText::decode(payload), ruleIndex);
    flush();
}

void RxPipeline::clear()
{
    m_pending.clear();
    m_model->clear();
}

void RxPipeline::readPendingDatagrams()
{
    QElapsedTimer budget;
    budget.start();
    QByteArray buffer(MaxDatagramSize, Qt::Uninitialized);
    while (m_socket->hasPendingDatagrams()) {
        QHostAddress address;
        quint16 port = 0;
        const qint64 size = m_socket->readDatagram(buffer.data(), buffer.size(), &address, &port);
        if (size >= 0)
            ++m_datagramCount;
        if (size > 0) {
            QByteArray payload(buffer.constData(), static_cast<int>(size));
            QString text = PayloadText::decode(payload);
            int ruleIndex = -1;
            if (m_filter->shouldShow(text, m_showIfNoRuleMatches, &ruleIndex))
                doQueue(address, port, std::move(payload), std::move(text), ruleIndex);
        }
        if (size < 0 || budget.elapsed() >= ReadBudgetMsecs)
            break;
    }
    if (m_sinceFlush.elapsed() >= FlushInterval)
        flush();
    else if (!m_pending.isEmpty() && !m_flushTimer.isActive())
        m_flushTimer.start(FlushInterval - static_cast<int>(m_sinceFlush.elapsed()));
}

void RxPipeline::doQueue(
    const QHostAddress &address, quint16 port, QByteArray payload, QString text, int ruleIndex)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    RxMessageModel::Entry entry;
    entry.senderAddress = doFormatAddress(address);
    entry.header = tr("%1 from %2:%3").arg(doFormatTime(now), entry.senderAddress).arg(port);
    entry.payload = std::move(payload);
    entry.text = std::move(text);
    entry.ruleIndex = ruleIndex;
    entry.receivedAtMsecs = now;
    entry.senderPort = port;
    m_pending.append(std::move(entry));
}

void RxPipeline::flush()
{
    m_flushTimer.stop();
    m_sinceFlush.restart();
    if (m_pending.isEmpty())
        return;
    QVector<RxMessageModel::Entry> entries;
    entries.swap(m_pending);
    m_model->prependEntries(std::move(entries));
    doTrim();
}

void RxPipeline::doTrim()
{
    const int excess
        = qMax(m_model->rowCount() - m_displayLimit, m_model->rowsOverBudget(m_byteBudget));
    if (excess <= 0)
        return;
    emit rowsAboutToBeTrimmed(m_model->rowCount() - excess);
    m_model->removeLastRows(excess);
}

QString RxPipeline::doFormatTime(qint64 utcMsecs)
{
    // Local time costs a time zone lookup (a stat() of /etc/localtime) on every call, so
    // the offset from UTC is looked up once a second and the clock read as UTC.
    if (utcMsecs / 1000 != m_utcSecond) {
        m_utcSecond = utcMsecs / 1000;
        m_utcOffsetMsecs = qint64(QDateTime::fromMSecsSinceEpoch(utcMsecs).offsetFromUtc()) * 1000;
    }
    if (utcMsecs != m_timeMsecs) {
        m_timeMsecs = utcMsecs;
        const qint64 local
            = ((utcMsecs + m_utcOffsetMsecs) % MsecsPerDay + MsecsPerDay) % MsecsPerDay;
        m_timeText = QTime::fromMSecsSinceStartOfDay(static_cast<int>(local))
                         .toString(QStringLiteral("hh:mm:ss.zzz"));
    }
    return m_timeText;
}

QString RxPipeline::doFormatAddress(const QHostAddress &address)
{
    if (address != m_address || m_addressText.isNull()) {
        m_address = address;
        // A dual-stack socket reports IPv4 senders as "::ffff:a.b.c.d"; show them as IPv4.
        bool isIpv4 = false;
        const quint32 ipv4 = address.toIPv4Address(&isIpv4);
        m_addressText = isIpv4 ? QHostAddress(ipv4).toString() : address.toString();
    }
    return m_addressText;
}
