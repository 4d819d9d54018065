#pragma once

#include "objectrecord.h"

#include <QAbstractTableModel>
#include <QMap>
#include <QVector>

#include <vector>

// The objects history: the measured records of all frames, grouped by object. A record
// goes just below the previous record of its object when that object was reported in the
// previous frame, else at the end; beyond MaxRows the oldest rows are dropped from the top.
//
// Rows live in chunks of at most ChunkSize records, so inserting in the middle of 100000
// rows moves a few hundred records, not the whole table.
class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int MaxRows = 100000;
    static constexpr int ChunkSize = 512;

    explicit HistoryModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const ObjectRecord &record(int row) const;
    // For each object reported in the previous frame, the row of its latest record.
    QMap<quint8, int> groupRows() const { return m_groupRows; }
    bool paintObjects() const { return m_paintObjects; }
    int maxRows() const { return m_maxRows; }
    // The row limit, MaxRows unless set; rows beyond it go at the end of the next frame.
    void setMaxRows(int rows);

    void setPaintObjects(bool value);
    // Only records detected at this time are recorded (measured in the current frame).
    void setFrameTimeMs(qint64 ms);
    void startFrame();
    void addRecord(const ObjectRecord &record);
    // Ends the groups of the objects missing from this frame and trims to the row limit.
    void finishFrame();
    // The next record of every object starts a new group at the end.
    void forgetGroups();
    void clear();

private:
    // Chunk index and position inside it of a row.
    std::pair<int, int> locate(int row) const;
    void doInsertRecord(int row, const ObjectRecord &record);
    void doRemoveTopRows(int count);
    void doUpdateChunkStarts(int fromChunk);

    std::vector<std::vector<ObjectRecord>> m_chunks;
    // First row of every chunk.
    std::vector<int> m_chunkStarts;
    int m_rowCount = 0;
    QMap<quint8, int> m_groupRows;
    QVector<quint8> m_frameIds;
    qint64 m_frameTimeMs = 0;
    bool m_frameTimeValid = false;
    bool m_paintObjects = true;
    int m_maxRows = MaxRows;
};
