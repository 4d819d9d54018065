// Feeds radar frames to the objects history model and the current-frame model as the two
// table widgets do: through the frame collector (frames that never finish, repeated
// identifiers, objects outside a frame) or as whole frames (repeated identifiers kept),
// with any numbers, times and identifiers, a small or the normal row limit, clearing,
// forgetting the groups and switching the colours in between.
//
// Checked besides memory errors and undefined behaviour, cheaply after every step: the
// rows the models announce are the rows they have; the history holds no more rows than its
// limit, only records measured at their frame's time, and each object's group row holds
// that object; the current-frame model shows the frame's objects in its order; every cell
// of the changed rows has a text.

#include "fuzzcheck.h"
#include "fuzzreader.h"
#include "historyfile.h"
#include "historymodel.h"
#include "objectcolumns.h"
#include "objectstablemodel.h"
#include "roadobjectframecollector.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdint>
#include <cstring>

namespace {

// Follows a model's row signals and checks each against the rows it has.
class RowWatch
{
public:
    explicit RowWatch(QAbstractItemModel *model)
        : m_model(model)
    {
        QObject::connect(model, &QAbstractItemModel::rowsAboutToBeInserted,
            [this](const QModelIndex &parent, int first, int last) {
                FUZZ_CHECK(!parent.isValid() && first >= 0 && first <= m_rows && last >= first);
                m_pending = last - first + 1;
            });
        QObject::connect(model, &QAbstractItemModel::rowsInserted,
            [this](const QModelIndex &, int first, int last) {
                FUZZ_CHECK(last - first + 1 == m_pending);
                m_rows += m_pending;
                FUZZ_CHECK(m_model->rowCount() == m_rows);
                m_changed.append({ first, last });
            });
        QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved,
            [this](const QModelIndex &parent, int first, int last) {
                FUZZ_CHECK(!parent.isValid() && first >= 0 && last >= first && last < m_rows);
                m_pending = last - first + 1;
            });
        QObject::connect(model, &QAbstractItemModel::rowsRemoved,
            [this](const QModelIndex &, int first, int last) {
                FUZZ_CHECK(last - first + 1 == m_pending);
                m_rows -= m_pending;
                FUZZ_CHECK(m_model->rowCount() == m_rows);
            });
        QObject::connect(model, &QAbstractItemModel::dataChanged,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                FUZZ_CHECK(topLeft.isValid() && bottomRight.isValid());
                FUZZ_CHECK(bottomRight.row() < m_rows && topLeft.row() <= bottomRight.row());
            });
        QObject::connect(model, &QAbstractItemModel::modelReset, [] { FUZZ_CHECK(false); });
    }

    // Every cell of the rows inserted since the last call has a display and a file text.
    void checkChangedCells()
    {
        FUZZ_CHECK(m_model->rowCount() == m_rows);
        FUZZ_CHECK(m_model->columnCount() == ObjectColumns::Count);
        for (const auto &range : qAsConst(m_changed)) {
            // Rows removed since may have moved the range: look only at what is still there.
            for (int row = range.first; row <= range.second && row < m_rows; ++row) {
                for (int column = 0; column < ObjectColumns::Count; ++column) {
                    const QModelIndex index = m_model->index(row, column);
                    FUZZ_CHECK(!index.data().toString().isEmpty());
                    FUZZ_CHECK(!index.data(ObjectColumns::FileTextRole).toString().isEmpty());
                }
            }
        }
        m_changed.clear();
    }

private:
    QAbstractItemModel *m_model;
    int m_rows = 0;
    int m_pending = 0;
    QVector<QPair<int, int>> m_changed;
};

struct Tables
{
    HistoryModel history;
    ObjectsTableModel objects;
    RowWatch historyWatch { &history };
    RowWatch objectsWatch { &objects };
    qint64 frameTimeMs = 0;
    bool frameTimeValid = false;

    // As HistoryTableWidget::showFrame and ObjectsTableWidget::showFrame.
    void show(const RoadObjectFrame &frame)
    {
        if (frame.dateTimeUtc.isValid()) {
            frameTimeMs = frame.dateTimeUtc.toMSecsSinceEpoch();
            frameTimeValid = true;
            history.setFrameTimeMs(frameTimeMs);
        }
        const int rowsBefore = history.rowCount();
        history.startFrame();
        int measured = 0;
        for (const RoadObject &o : frame.objects) {
            if (!o.lastDetected.isValid())
                continue;
            const ObjectRecord record = ObjectRecord::fromObject(o);
            const int rows = history.rowCount();
            const QMap<quint8, int> groups = history.groupRows();
            const int expectedRow = groups.contains(record.id) ? groups.value(record.id) + 1 : rows;
            history.addRecord(record);
            if (frameTimeValid && record.lastDetectedMs == frameTimeMs) {
                // Below the object's record of the previous frame, else at the end.
                ++measured;
                FUZZ_CHECK(history.rowCount() == rows + 1);
                FUZZ_CHECK(history.record(expectedRow).id == record.id);
                FUZZ_CHECK(history.record(expectedRow).lastDetectedMs == frameTimeMs);
                FUZZ_CHECK(history.groupRows().value(record.id) == expectedRow);
            } else {
                FUZZ_CHECK(history.rowCount() == rows);
            }
        }
        FUZZ_CHECK(history.rowCount() == rowsBefore + measured);
        history.finishFrame();
        checkHistory();

        QVector<ObjectRecord> records;
        for (const RoadObject &o : frame.objects)
            records.append(ObjectRecord::fromObject(o));
        objects.setRecords(records);
        FUZZ_CHECK(objects.rowCount() == frame.objects.size());
        for (int row = 0; row < objects.rowCount(); ++row)
            FUZZ_CHECK(objects.index(row, ObjectColumns::Id).data().toString()
                == QString::number(frame.objects.at(row).id));
        objectsWatch.checkChangedCells();
    }

    void checkHistory()
    {
        const int rows = history.rowCount();
        FUZZ_CHECK(rows <= history.maxRows());
        const QMap<quint8, int> groups = history.groupRows();
        for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
            FUZZ_CHECK(it.value() >= 0 && it.value() < rows);
            FUZZ_CHECK(history.record(it.value()).id == it.key());
        }
        if (rows > 0)
            FUZZ_CHECK(HistoryFile::rowLine(history, rows - 1).startsWith(QLatin1Char('|')));
        historyWatch.checkChangedCells();
    }
};

QDateTime timeOf(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    return 0;
}

// Byte 0 sets the history's row limit (0: the normal one, else that many rows). Then steps,
// each a kind byte (kind % 8):
// 0 frame start, 1 frame time (64-bit ms; 0 for no time), 2 object (identifier, five
//   doubles, a time byte: 0 the frame's time, 1 no time, else that many ms later),
// 3 frame end, 4 collector reset, 5 a whole frame (64-bit ms, object count, objects as in
//   2), 6 clear or forget the groups (one byte), 7 colours on or off (one byte).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzReader in(data, size);
    Tables tables;
    const int limit = in.take<uint8_t>();
    if (limit > 0)
        tables.history.setMaxRows(limit);
    RoadObjectFrameCollector collector;
    QObject::connect(&collector, &RoadObjectFrameCollector::frameCollected,
        [&tables](const RoadObjectFrame &frame) { tables.show(frame); });

    qint64 timeMs = 0;
    const auto takeObject = [&in, &timeMs]() {
        const auto id = in.take<uint8_t>();
        double values[5];
        for (double &value : values)
            value = in.take<double>();
        const auto time = in.take<uint8_t>();
        // Unsigned, so that a time near the end of the range wraps instead of overflowing.
        const QDateTime detected
            = time == 1 ? QDateTime() : timeOf(qint64(quint64(timeMs) + (time ? time : 0)));
        return RoadObject(id, values[0], values[1], values[2], values[3], values[4], detected);
    };
    while (!in.atEnd()) {
        switch (in.take<uint8_t>() % 8) {
        case 0:
            collector.onFrameStarted();
            break;
        case 1: {
            timeMs = in.take<qint64>();
            collector.onFrameDateTimeUtc(timeMs ? timeOf(timeMs) : QDateTime());
            break;
        }
        case 2: {
            const RoadObject o = takeObject();
            collector.onObjectData(
                o.id, o.xSpeed, o.ySpeed, o.xRange, o.yRange, o.length, o.lastDetected);
            break;
        }
        case 3:
            collector.onFrameFinished();
            break;
        case 4:
            collector.reset();
            break;
        case 5: {
            RoadObjectFrame frame;
            timeMs = in.take<qint64>();
            frame.dateTimeUtc = timeMs ? timeOf(timeMs) : QDateTime();
            const int count = in.take<uint8_t>() % 64;
            for (int i = 0; i < count && !in.atEnd(); ++i)
                frame.objects.append(takeObject());
            tables.show(frame);
            break;
        }
        case 6:
            if (in.take<uint8_t>() & 1) {
                tables.history.clear();
                tables.objects.clear();
                FUZZ_CHECK(tables.history.rowCount() == 0 && tables.objects.rowCount() == 0);
            } else {
                tables.history.forgetGroups();
                FUZZ_CHECK(tables.history.groupRows().isEmpty());
            }
            break;
        case 7: {
            const bool paint = in.take<uint8_t>() & 1;
            tables.history.setPaintObjects(paint);
            tables.objects.setPaintObjects(paint);
            break;
        }
        }
    }
    return 0;
}
