#include "historymodel.h"

#include "objectcolumns.h"

#include <algorithm>

HistoryModel::HistoryModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ObjectColumns::Count;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    return ObjectColumns::data(record(index.row()), index.column(), role, m_paintObjects);
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return ObjectColumns::headerLabel(section);
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole)
        return ObjectColumns::headerText(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags HistoryModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

const ObjectRecord &HistoryModel::record(int row) const
{
    const auto [chunk, offset] = locate(row);
    return m_chunks[chunk][offset];
}

void HistoryModel::setPaintObjects(bool value)
{
    if (m_paintObjects == value)
        return;
    m_paintObjects = value;
    if (m_rowCount > 0)
        emit dataChanged(index(0, ObjectColumns::Id), index(m_rowCount - 1, ObjectColumns::Id),
            { Qt::BackgroundRole, Qt::ForegroundRole });
}

void HistoryModel::setMaxRows(int rows)
{
    m_maxRows = qMax(1, rows);
}

void HistoryModel::setFrameTimeMs(qint64 ms)
{
    m_frameTimeMs = ms;
    m_frameTimeValid = true;
}

void HistoryModel::startFrame()
{
    m_frameIds.clear();
}

void HistoryModel::addRecord(const ObjectRecord &record)
{
    m_frameIds.append(record.id);
    if (!m_frameTimeValid || record.lastDetectedMs != m_frameTimeMs)
        return;
    const auto group = m_groupRows.constFind(record.id);
    const int row = group != m_groupRows.constEnd() ? group.value() + 1 : m_rowCount;
    for (int &mapped : m_groupRows) {
        if (mapped >= row)
            ++mapped;
    }
    m_groupRows.insert(record.id, row);
    beginInsertRows(QModelIndex(), row, row);
    doInsertRecord(row, record);
    endInsertRows();
}

void HistoryModel::finishFrame()
{
    for (auto it = m_groupRows.begin(); it != m_groupRows.end();) {
        if (m_frameIds.contains(it.key()))
            ++it;
        else
            it = m_groupRows.erase(it);
    }
    const int excess = m_rowCount - m_maxRows;
    if (excess <= 0)
        return;
    beginRemoveRows(QModelIndex(), 0, excess - 1);
    doRemoveTopRows(excess);
    endRemoveRows();
    for (auto it = m_groupRows.begin(); it != m_groupRows.end();) {
        it.value() -= excess;
        if (it.value() < 0)
            it = m_groupRows.erase(it);
        else
            ++it;
    }
}

void HistoryModel::forgetGroups()
{
    m_groupRows.clear();
}

void HistoryModel::clear()
{
    m_groupRows.clear();
    if (m_rowCount == 0)
        return;
    beginRemoveRows(QModelIndex(), 0, m_rowCount - 1);
    m_chunks.clear();
    m_chunkStarts.clear();
    m_rowCount = 0;
    endRemoveRows();
}

std::pair<int, int> HistoryModel::locate(int row) const
{
    const auto next = std::upper_bound(m_chunkStarts.begin(), m_chunkStarts.end(), row);
    const int chunk = int(next - m_chunkStarts.begin()) - 1;
    return { chunk, row - m_chunkStarts[chunk] };
}

void HistoryModel::doInsertRecord(int row, const ObjectRecord &record)
{
    if (m_chunks.empty()) {
        m_chunks.emplace_back();
        m_chunks.back().reserve(ChunkSize + 1);
        m_chunkStarts.push_back(0);
    }
    // A row at the very end belongs to the last chunk.
    int chunk = int(m_chunks.size()) - 1;
    int offset = row - m_chunkStarts[chunk];
    if (row < m_rowCount)
        std::tie(chunk, offset) = locate(row);
    std::vector<ObjectRecord> &target = m_chunks[chunk];
    target.insert(target.begin() + offset, record);
    ++m_rowCount;
    if (int(target.size()) > ChunkSize) {
        std::vector<ObjectRecord> upper;
        upper.reserve(ChunkSize + 1);
        upper.assign(target.begin() + ChunkSize / 2, target.end());
        target.erase(target.begin() + ChunkSize / 2, target.end());
        m_chunks.insert(m_chunks.begin() + chunk + 1, std::move(upper));
        m_chunkStarts.insert(m_chunkStarts.begin() + chunk + 1, 0);
    }
    doUpdateChunkStarts(chunk);
}

void HistoryModel::doRemoveTopRows(int count)
{
    int whole = 0;
    int left = count;
    while (whole < int(m_chunks.size()) && int(m_chunks[whole].size()) <= left) {
        left -= int(m_chunks[whole].size());
        ++whole;
    }
    m_chunks.erase(m_chunks.begin(), m_chunks.begin() + whole);
    m_chunkStarts.erase(m_chunkStarts.begin(), m_chunkStarts.begin() + whole);
    if (left > 0)
        m_chunks.front().erase(m_chunks.front().begin(), m_chunks.front().begin() + left);
    m_rowCount -= count;
    doUpdateChunkStarts(0);
}

void HistoryModel::doUpdateChunkStarts(int fromChunk)
{
    int start
        = fromChunk > 0 ? m_chunkStarts[fromChunk - 1] + int(m_chunks[fromChunk - 1].size()) : 0;
    for (std::size_t i = std::size_t(fromChunk); i < m_chunks.size(); ++i) {
        m_chunkStarts[i] = start;
        start += int(m_chunks[i].size());
    }
}
