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

// Cells twice the tolerance wide, counted from the pass's start: every value within the
// tolerance of a trial lies in the trial's cell or one neighbour per field. The five
// cell numbers are packed into 12 bits each, which keeps the table small enough for the
// cache.
using CellKey = quint64;

constexpr int CellBits = 12;
constexpr int MaxCell = (1 << (CellBits - 1)) - 1;

// An open-addressing multimap from 64-bit keys to ints, emptied in constant time between
// iterations (a slot belongs to the current round only when it carries the round's
// stamp) and grown to stay at most half full. Small slots keep it in the cache.
class FlatMap
{
public:
    FlatMap() { grow(); }

    void clear()
    {
        ++m_round;
        m_count = 0;
    }

    // The first value stored under key that `accepts`, or nullptr.
    template<typename Accept> int *find(quint64 key, Accept accepts)
    {
        for (quint64 i = finalised(key);; ++i) {
            Slot &slot = m_slots[i & m_mask];
            if (slot.round != m_round)
                return nullptr;
            if (slot.key == key && accepts(slot.value))
                return &slot.value;
        }
    }

    void insert(quint64 key, int value)
    {
        if (2 * (m_count + 1) > m_slots.size())
            grow();
        place(key, value);
        ++m_count;
    }

private:
    struct Slot
    {
        quint64 key = 0;
        quint32 round = 0;
        int value = 0;
    };

    static quint64 finalised(quint64 h)
    {
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        return h;
    }

    void place(quint64 key, int value)
    {
        for (quint64 i = finalised(key);; ++i) {
            Slot &slot = m_slots[i & m_mask];
            if (slot.round != m_round) {
                slot = Slot { key, m_round, value };
                return;
            }
        }
    }

    void grow()
    {
        std::vector<Slot> old(std::max<size_t>(InitialSlots, 2 * m_slots.size()));
        old.swap(m_slots);
        m_mask = m_slots.size() - 1;
        const quint32 round = m_round;
        m_round = 1;
        for (const Slot &slot : old) {
            if (slot.round == round)
                place(slot.key, slot.value);
        }
    }

    static constexpr size_t InitialSlots = 4096;
    std::vector<Slot> m_slots;
    quint64 m_mask = 0;
    quint32 m_round = 1;
    size_t m_count = 0;
};

// Trials stay within one start step of the start, a few hundred cells at most. A cell
// number beyond the packed range is clamped: that only merges far cells, and merging
// never hides a near trial, as every candidate is compared in full.
int cellOf(double value, double origin, double cellSize)
{
    const double cell = std::floor((value - origin) / cellSize);
    return static_cast<int>(qBound(double(-MaxCell - 1), cell, double(MaxCell)));
}

CellKey packed(const std::array<int, FieldCount> &cells)
{
    CellKey key = 0;
    for (int i = 0; i < FieldCount; ++i)
        key |= CellKey(cells[i] + MaxCell + 1) << (CellBits * i);
    return key;
}

class ScoredIndex
{
public:
    ScoredIndex(double tolerance, const std::array<bool, FieldCount> &varying, const Fields &origin)
        : m_tolerance(tolerance)
        , m_cellSize(2.0 * tolerance)
        , m_varying(varying)
        , m_origin(origin)
    { }

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
        std::array<int, FieldCount> low {};
        std::array<int, FieldCount> high {};
        const double reach = m_tolerance * (1.0 + 1.0e-9);
        for (int i = 0; i < FieldCount; ++i) {
            if (m_varying[i]) {
                low[i] = cellOf(f[i] - reach, m_origin[i], m_cellSize);
                high[i] = cellOf(f[i] + reach, m_origin[i], m_cellSize);
            }
        }
        std::array<int, FieldCount> cell = low;
        for (;;) {
            if (const int *head = m_heads.find(packed(cell), [](int) { return true; })) {
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
        std::array<int, FieldCount> cell {};
        for (int i = 0; i < FieldCount; ++i) {
            if (m_varying[i])
                cell[i] = cellOf(f[i], m_origin[i], m_cellSize);
        }
        const int index = static_cast<int>(m_fields.size());
        m_fields.push_back(f);
        const CellKey key = packed(cell);
        if (int *head = m_heads.find(key, [](int) { return true; })) {
            m_next.push_back(*head);
            *head = index;
        } else {
            m_heads.insert(key, index);
            m_next.push_back(-1);
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
    Fields m_origin;
    FlatMap m_heads;
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
    m_onEdge = false;
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

    const Fields firstSteps = steps;
    int iterations = 0;
    std::vector<Fields> candidates { origin };
    std::vector<Scored> scored;
    // Every distinct trial of the iteration, found through a hash of its bits.
    FlatMap seen;
    std::vector<ExactKey> seenTrials;
    ScoredIndex index(tolerance, varying, origin);
    const double xOffset = m_previous.xOffset;

    while (steps[2] > tolerance) {
        scored.clear();
        seen.clear();
        seenTrials.clear();
        index.clear();
        for (const Fields &candidate : candidates) {
            for (const Fields &multiplier : multipliers) {
                Fields trial;
                for (int i = 0; i < FieldCount; ++i)
                    trial[i] = candidate[i] + steps[i] * multiplier[i];
                // A repeat is within the tolerance of a scored trial (or of one that
                // was, or would again leave the model invalid).
                const ExactKey key = exactKey(trial);
                const quint64 hash = ExactHash()(key);
                if (seen.find(hash, [&](int i) { return seenTrials[i] == key; }))
                    continue;
                seen.insert(hash, static_cast<int>(seenTrials.size()));
                seenTrials.push_back(key);
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
        ++iterations;
    }

    m_model.invalidate();
    if (candidates.empty())
        return false;
    m_picked = paramsOf(candidates.front(), xOffset);
    // Over n iterations a field moves at most first step * (1 - 2^-n) from the start, in
    // whole units of first step * 2^-n.
    const double unit = std::ldexp(1.0, -iterations);
    for (int i = 0; i < FieldCount; ++i) {
        if (!varying[i])
            continue;
        const double reach = firstSteps[i] * (1.0 - unit);
        if (std::abs(candidates.front()[i] - origin[i]) > reach - 0.5 * firstSteps[i] * unit)
            m_onEdge = true;
    }
    return true;
}
