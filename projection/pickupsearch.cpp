#include "pickupsearch.h"

#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int ProgressInterval = 100; // scored trials between two progress calls

// The fields a pass varies: height, Y, azimuth, altitude, half view angle.
constexpr int FieldCount = 5;
using Fields = std::array<double, FieldCount>;

Fields fieldsOf(const CameraParams &p)
{
    return { p.height, p.yOffset, p.azimuth, p.altitude, p.viewAngle };
}

CameraParams paramsOf(const Fields &f, double xOffset)
{
    CameraParams p;
    p.xOffset = xOffset;
    p.height = f[0];
    p.yOffset = f[1];
    p.azimuth = f[2];
    p.altitude = f[3];
    p.viewAngle = f[4];
    return p;
}

quint64 mixed(quint64 h, quint64 v)
{
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
}

// Trials compared bit for bit: the same arithmetic on the same candidates gives the
// same bits, and a miss only costs the slower near-trial check.
struct ExactKey
{
    std::array<quint64, FieldCount> bits;
    bool operator==(const ExactKey &other) const { return bits == other.bits; }
};

struct ExactHash
{
    quint64 operator()(const ExactKey &key) const
    {
        quint64 h = 0;
        for (quint64 b : key.bits)
            h = mixed(h, b);
        return h;
    }
};

ExactKey exactKey(const Fields &f)
{
    ExactKey key;
    for (int i = 0; i < FieldCount; ++i)
        std::memcpy(&key.bits[i], &f[i], sizeof(double));
    return key;
}

// Cells twice the tolerance wide: every value within the tolerance of a trial lies in
// the trial's cell or one neighbour per field.
using CellKey = std::array<qint64, FieldCount>;

struct CellHash
{
    quint64 operator()(const CellKey &key) const
    {
        quint64 h = 0;
        for (qint64 c : key)
            h = mixed(h, static_cast<quint64>(c));
        return h;
    }
};

// An open-addressing map that is emptied in constant time between iterations: a slot
// belongs to the current round only when it carries the round's stamp.
template<typename Key, typename Hash> class FlatMap
{
public:
    explicit FlatMap(int capacity)
    {
        int size = 16;
        while (size < 2 * capacity)
            size *= 2;
        m_slots.resize(size);
        m_mask = size - 1;
    }

    void clear() { ++m_round; }

    // The value stored for key, or nullptr.
    int *find(const Key &key)
    {
        for (quint64 i = finalised(Hash()(key));; ++i) {
            Slot &slot = m_slots[i & m_mask];
            if (slot.round != m_round)
                return nullptr;
            if (slot.key == key)
                return &slot.value;
        }
    }

    // Inserts key with value unless present; returns the stored value and whether it
    // was inserted. Never fuller than half, as the capacity is the most keys a round adds.
    std::pair<int *, bool> insert(const Key &key, int value)
    {
        for (quint64 i = finalised(Hash()(key));; ++i) {
            Slot &slot = m_slots[i & m_mask];
            if (slot.round != m_round) {
                slot.round = m_round;
                slot.key = key;
                slot.value = value;
                return { &slot.value, true };
            }
            if (slot.key == key)
                return { &slot.value, false };
        }
    }

private:
    struct Slot
    {
        quint32 round = 0;
        int value = 0;
        Key key {};
    };

    static quint64 finalised(quint64 h)
    {
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        return h;
    }

    std::vector<Slot> m_slots;
    quint64 m_mask = 0;
    quint32 m_round = 1;
};

// Trial values stay within a few start steps of the start; this only keeps a wild
// value from overflowing the cell number.
constexpr double CellLimit = 1.0e15;

qint64 cellOf(double value, double cellSize)
{
    return static_cast<qint64>(std::floor(qBound(-CellLimit, value / cellSize, CellLimit)));
}

class ScoredIndex
{
public:
    ScoredIndex(double tolerance, const std::array<bool, FieldCount> &varying, int capacity)
        : m_tolerance(tolerance)
        , m_cellSize(2.0 * tolerance)
        , m_varying(varying)
        , m_heads(capacity)
    {
        m_next.reserve(capacity);
        m_fields.reserve(capacity);
    }

    void clear()
    {
        m_heads.clear();
        m_next.clear();
        m_fields.clear();
    }

    bool hasNear(const Fields &f)
    {
        // Per field the first and last cell that can hold a value within the tolerance,
        // widened a hair against rounding in the division.
        std::array<qint64, FieldCount> low {};
        std::array<qint64, FieldCount> high {};
        const double reach = m_tolerance * (1.0 + 1.0e-9);
        for (int i = 0; i < FieldCount; ++i) {
            if (m_varying[i]) {
                low[i] = cellOf(f[i] - reach, m_cellSize);
                high[i] = cellOf(f[i] + reach, m_cellSize);
            }
        }
        CellKey cell = low;
        for (;;) {
            if (const int *head = m_heads.find(cell)) {
                for (int index = *head; index >= 0; index = m_next[index]) {
                    if (isNear(f, m_fields[index]))
                        return true;
                }
            }
            int i = 0;
            while (i < FieldCount && (!m_varying[i] || cell[i] == high[i])) {
                cell[i] = low[i];
                ++i;
            }
            if (i == FieldCount)
                return false;
            ++cell[i];
        }
    }

    void insert(const Fields &f)
    {
        CellKey cell {};
        for (int i = 0; i < FieldCount; ++i) {
            if (m_varying[i])
                cell[i] = cellOf(f[i], m_cellSize);
        }
        const int index = static_cast<int>(m_fields.size());
        m_fields.push_back(f);
        const auto inserted = m_heads.insert(cell, index);
        if (inserted.second) {
            m_next.push_back(-1);
        } else {
            m_next.push_back(*inserted.first);
            *inserted.first = index;
        }
    }

private:
    bool isNear(const Fields &a, const Fields &b) const
    {
        for (int i = 0; i < FieldCount; ++i) {
            if (!(std::abs(a[i] - b[i]) < m_tolerance))
                return false;
        }
        return true;
    }

    double m_tolerance;
    double m_cellSize;
    std::array<bool, FieldCount> m_varying;
    FlatMap<CellKey, CellHash> m_heads;
    std::vector<int> m_next;
    std::vector<Fields> m_fields;
};

struct Scored
{
    double error;
    int order;
    Fields fields;
};

} // namespace

PickupSearch::PickupSearch(const CameraModel &model, Mode mode, const Checkpoints &checkpoints,
    const CameraParams &previous)
    : m_model(model)
    , m_mode(mode)
    , m_checkpoints(checkpoints)
    , m_previous(previous)
{ }

void PickupSearch::setProgressCallback(std::function<void()> callback)
{
    m_progress = std::move(callback);
}

bool PickupSearch::applyTrial(CameraModel &model, const CameraParams &trial)
{
    model.setHalfViewAngle(qDegreesToRadians(trial.viewAngle));
    model.setRadarPosition(trial.height, trial.xOffset, trial.yOffset,
        qDegreesToRadians(trial.azimuth), qDegreesToRadians(trial.altitude));
    return model.rescale(model.width(), model.height());
}

double PickupSearch::score(
    const CameraModel &model, const Checkpoints &checkpoints, bool withSegment)
{
    constexpr double Worst = std::numeric_limits<double>::max();
    double sum = 0.0;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const QPointF point = model.xyFromScreen(checkpoints.at(i).first, &ok);
        if (!ok)
            return Worst;
        const double miss = point.y() - checkpoints.at(i).second;
        sum += miss * miss;
    }
    if (withSegment) {
        bool firstOk = false;
        bool secondOk = false;
        const QPointF first = model.xyFromScreen(checkpoints.at(4).first, &firstOk);
        const QPointF second = model.xyFromScreen(checkpoints.at(5).first, &secondOk);
        if (!firstOk || !secondOk)
            return Worst;
        const double miss
            = std::hypot(second.x() - first.x(), second.y() - first.y()) - checkpoints.at(5).second;
        sum += miss * miss;
    }
    // An overflowing sum ranks with the marks that do not back-project.
    return std::isfinite(sum) ? sum : Worst;
}

QVector<CameraParams> PickupSearch::gridOffsets(Mode mode)
{
    static const double Multipliers[] = { -0.5, 0.0, 0.5 };
    const QVector<double> angleMultipliers = mode == RadarPositionAndViewAngle
        ? QVector<double> { -0.5, 0.0, 0.5 }
        : QVector<double> { 0.0 };
    QVector<CameraParams> offsets;
    for (double angle : angleMultipliers) {
        for (double height : Multipliers) {
            for (double y : Multipliers) {
                for (double azimuth : Multipliers) {
                    for (double altitude : Multipliers) {
                        CameraParams offset;
                        offset.height = height;
                        offset.yOffset = y;
                        offset.azimuth = azimuth;
                        offset.altitude = altitude;
                        offset.viewAngle = angle;
                        offsets.append(offset);
                    }
                }
            }
        }
    }
    return offsets;
}

bool PickupSearch::run(bool refine, const CameraParams &start)
{
    if (m_mode != RadarPosition && m_mode != RadarPositionAndViewAngle)
        return false;
    if (m_checkpoints.size() < requiredCheckpoints(m_mode))
        return false;
    const bool withAngle = m_mode == RadarPositionAndViewAngle;

    Fields origin;
    Fields steps;
    double tolerance;
    if (refine) {
        origin = fieldsOf(start);
        steps = { 2.0, 4.0, 6.0, 3.0, 1.5 };
        tolerance = 0.005;
    } else {
        origin = { 10.0, 0.0, 0.0, 15.0, 7.5 };
        steps = { 10.0, 20.0, 30.0, 15.0, 7.5 };
        tolerance = 0.5;
    }
    if (!withAngle) {
        origin[4] = m_previous.viewAngle;
        steps[4] = 0.0;
    }

    QVector<Fields> multipliers;
    for (const CameraParams &offset : gridOffsets(m_mode))
        multipliers.append(fieldsOf(offset));
    const int capacity = multipliers.size();

    std::array<bool, FieldCount> varying;
    for (int i = 0; i < FieldCount; ++i)
        varying[i] = steps[i] != 0.0;

    std::vector<Fields> candidates { origin };
    std::vector<Scored> scored;
    // At most this many trials per iteration.
    const int trialCapacity = capacity * capacity;
    FlatMap<ExactKey, ExactHash> seen(trialCapacity);
    ScoredIndex index(tolerance, varying, trialCapacity);
    scored.reserve(trialCapacity);
    const double xOffset = m_previous.xOffset;

    while (steps[2] > tolerance) {
        scored.clear();
        seen.clear();
        index.clear();
        for (const Fields &candidate : candidates) {
            for (const Fields &multiplier : multipliers) {
                Fields trial;
                for (int i = 0; i < FieldCount; ++i)
                    trial[i] = candidate[i] + steps[i] * multiplier[i];
                // A repeat is within the tolerance of a scored trial (or of one that
                // was, or would again leave the model invalid).
                if (!seen.insert(exactKey(trial), 0).second)
                    continue;
                if (index.hasNear(trial))
                    continue;
                if (!applyTrial(m_model, paramsOf(trial, xOffset)))
                    continue;
                const double error = score(m_model, m_checkpoints, withAngle);
                scored.push_back(Scored { error, static_cast<int>(scored.size()), trial });
                index.insert(trial);
                ++m_scoredTrials;
                if (m_progress && m_scoredTrials % ProgressInterval == 0)
                    m_progress();
            }
        }
        candidates.clear();
        if (scored.empty())
            break;
        const auto best = scored.begin() + std::min<int>(capacity, static_cast<int>(scored.size()));
        std::partial_sort(scored.begin(), best, scored.end(), [](const Scored &a, const Scored &b) {
            return a.error < b.error || (a.error == b.error && a.order < b.order);
        });
        for (auto it = scored.begin(); it != best; ++it)
            candidates.push_back(it->fields);
        for (double &step : steps)
            step /= 2.0;
    }

    m_model.invalidate();
    if (candidates.empty())
        return false;
    m_picked = paramsOf(candidates.front(), xOffset);
    return true;
}
