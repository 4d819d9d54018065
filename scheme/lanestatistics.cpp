#include "lanestatistics.h"

#include "csvformat.h"

#include <QSet>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// A track not seen for this many frames is forgotten; its identifier comes back as a new
// track anyway, so this only bounds the memory.
constexpr int ForgetAfterFrames = 100;

} // namespace

LaneStatistics::LaneStatistics(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<LaneFrame>();
    qRegisterMetaType<QVector<Row>>("QVector<LaneStatistics::Row>");
}

bool LaneStatistics::isAllowedInterval(int minutes)
{
    return minutes == 1 || minutes == 5 || minutes == 15;
}

LaneStatistics::LengthClass LaneStatistics::lengthClass(double length)
{
    if (length < MotorcycleMaxLength)
        return Motorcycle;
    if (length < CarMaxLength)
        return Car;
    if (length < VanMaxLength)
        return Van;
    return Truck;
}

double LaneStatistics::percentile85(QVector<double> speeds)
{
    if (speeds.isEmpty())
        return 0.0;
    std::sort(speeds.begin(), speeds.end());
    const int rank = qCeil(0.85 * speeds.size());
    return speeds.at(qBound(1, rank, speeds.size()) - 1);
}

QVector<LaneStatistics::Row> LaneStatistics::currentRows() const
{
    QVector<Row> rows;
    if (!m_start.isValid())
        return rows;
    for (auto it = m_tallies.cbegin(); it != m_tallies.cend(); ++it)
        rows.append(rowOf(it.key(), it.value()));
    return rows;
}

QByteArray LaneStatistics::toCsv(const QVector<Row> &rows, const QLocale &locale)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    const QStringList header { tr("Interval start (UTC)"), tr("Minutes"), tr("Lane"),
        tr("Approaching"), tr("Receding"), tr("Mean speed, km/h"),
        tr("85th percentile speed, km/h"), tr("Occupancy, %"), tr("Motorcycles"), tr("Cars"),
        tr("Vans"), tr("Trucks") };
    const CsvFormat csv(numbers);
    QByteArray out = CsvFormat::byteOrderMark();
    const auto appendLine = [&](const QStringList &fields) { out += csv.line(fields).toUtf8(); };
    appendLine(header);
    for (const Row &r : rows) {
        appendLine({ r.start.toUTC().toString(Qt::ISODate), numbers.toString(r.minutes),
            numbers.toString(r.lane), numbers.toString(r.count[Approaching]),
            numbers.toString(r.count[Receding]), numbers.toString(r.meanSpeedKmh, 'f', 1),
            numbers.toString(r.p85SpeedKmh, 'f', 1), numbers.toString(100.0 * r.occupancy, 'f', 1),
            numbers.toString(r.classes[Motorcycle]), numbers.toString(r.classes[Car]),
            numbers.toString(r.classes[Van]), numbers.toString(r.classes[Truck]) });
    }
    return out;
}

void LaneStatistics::setIntervalMinutes(int minutes)
{
    if (!isAllowedInterval(minutes) || minutes == m_minutes)
        return;
    if (m_start.isValid())
        doFinishInterval();
    m_minutes = minutes;
    m_start = QDateTime();
    m_tallies.clear();
    emit currentChanged();
}

void LaneStatistics::setLaneCenterLines(const QMap<int, QPolygonF> &lines)
{
    // The same road applied again (a profile applied twice) keeps the interval going.
    if (lines == m_lines)
        return;
    m_lines = lines;
    if (m_start.isValid())
        doFinishInterval();
    m_zones.clear();
    for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
        // One station per metre of the axis.
        const double length = it.value().size() - 1;
        if (length <= 0)
            continue;
        Zone zone;
        if (ZoneStart + ZoneLength <= length) {
            zone.from = ZoneStart;
            zone.to = ZoneStart + ZoneLength;
        } else {
            zone.from = qMax(0.0, (length - ZoneLength) / 2);
            zone.to = qMin(length, zone.from + ZoneLength);
        }
        m_zones.insert(it.key(), zone);
    }
    m_tracks.clear();
    m_start = QDateTime();
    m_tallies.clear();
    emit currentChanged();
}

void LaneStatistics::showLaneFrame(const LaneFrame &frame)
{
    const QDateTime time = frame.dateTimeUtc;
    if (!time.isValid() || m_zones.isEmpty())
        return;
    ++m_frame;
    if (!m_start.isValid() || time < m_start || time >= m_start.addSecs(60 * m_minutes)) {
        if (m_start.isValid())
            doFinishInterval();
        doStartInterval(time);
    }
    const qint64 dt = m_lastFrameTime.isValid()
        ? qBound(qint64(0), m_lastFrameTime.msecsTo(time), MaxFrameGapMs)
        : 0;
    m_lastFrameTime = time;
    m_observedMs += dt;

    QSet<int> occupied;
    for (const LaneObject &o : frame.objects) {
        const auto zone = m_zones.constFind(o.lane);
        if (zone == m_zones.constEnd() || !qIsFinite(o.along))
            continue;
        TrackState &state = m_tracks[o.id];
        const bool known = state.track == o.track && state.lane == o.lane;
        if (state.track != o.track)
            state = TrackState { o.track, o.lane, o.along, 0.0, 0, false, m_frame };
        if (o.length >= 0.001 && qIsFinite(o.length)) {
            state.lengthSum += o.length;
            ++state.lengthCount;
        }
        if (known && !state.counted) {
            const double line = zone->line();
            if (state.along < line && o.along >= line)
                doCount(o, state, Receding);
            else if (state.along > line && o.along <= line)
                doCount(o, state, Approaching);
        }
        state.lane = o.lane;
        state.along = o.along;
        state.lastFrame = m_frame;
        const double length = o.length >= 0.001 && qIsFinite(o.length) ? o.length : 0.0;
        if (o.along < zone->to && o.along + length >= zone->from)
            occupied.insert(o.lane);
    }
    for (int lane : qAsConst(occupied))
        m_tallies[lane].occupiedMs += dt;

    for (auto it = m_tracks.begin(); it != m_tracks.end();) {
        if (m_frame - it->lastFrame > ForgetAfterFrames)
            it = m_tracks.erase(it);
        else
            ++it;
    }
    emit currentChanged();
}

void LaneStatistics::clear()
{
    m_finished.clear();
    m_start = QDateTime();
    m_tallies.clear();
    emit currentChanged();
}

void LaneStatistics::doFinishInterval()
{
    const QVector<Row> rows = currentRows();
    m_start = QDateTime();
    m_tallies.clear();
    if (rows.isEmpty())
        return;
    m_finished += rows;
    if (m_finished.size() > MaxFinishedRows)
        m_finished.remove(0, m_finished.size() - MaxFinishedRows);
    emit intervalFinished(rows);
}

void LaneStatistics::doStartInterval(const QDateTime &time)
{
    const qint64 length = 60000LL * m_minutes;
    const qint64 ms = time.toMSecsSinceEpoch();
    // Floor division, so that times before 1970 align too.
    const qint64 start = ms - ((ms % length) + length) % length;
    m_start = QDateTime::fromMSecsSinceEpoch(start, Qt::UTC);
    m_observedMs = 0;
    m_tallies.clear();
    for (auto it = m_zones.cbegin(); it != m_zones.cend(); ++it)
        m_tallies.insert(it.key(), Tally());
}

void LaneStatistics::doCount(const LaneObject &object, TrackState &state, Direction direction)
{
    state.counted = true;
    Tally &tally = m_tallies[object.lane];
    ++tally.count[direction];
    if (qIsFinite(object.speed))
        tally.speedsKmh.append(3.6 * object.speed);
    if (state.lengthCount > 0)
        ++tally.classes[lengthClass(state.lengthSum / state.lengthCount)];
}

LaneStatistics::Row LaneStatistics::rowOf(int lane, const Tally &tally) const
{
    Row row;
    row.start = m_start;
    row.minutes = m_minutes;
    row.lane = lane;
    std::copy(std::begin(tally.count), std::end(tally.count), std::begin(row.count));
    std::copy(std::begin(tally.classes), std::end(tally.classes), std::begin(row.classes));
    if (!tally.speedsKmh.isEmpty()) {
        double sum = 0.0;
        for (double s : tally.speedsKmh)
            sum += s;
        row.meanSpeedKmh = sum / tally.speedsKmh.size();
        row.p85SpeedKmh = percentile85(tally.speedsKmh);
    }
    row.occupancy
        = m_observedMs > 0 ? qBound(0.0, double(tally.occupiedMs) / m_observedMs, 1.0) : 0.0;
    return row;
}
