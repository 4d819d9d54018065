#include "objectstablemodel.h"

#include "objectcolumns.h"

namespace {

bool isSameRecord(const ObjectRecord &a, const ObjectRecord &b)
{
    return a.id == b.id && a.xSpeed == b.xSpeed && a.ySpeed == b.ySpeed && a.xRange == b.xRange
        && a.yRange == b.yRange && a.length == b.length && a.lastDetectedMs == b.lastDetectedMs;
}

} // namespace

ObjectsTableModel::ObjectsTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

int ObjectsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_records.size();
}

int ObjectsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ObjectColumns::Count;
}

QVariant ObjectsTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    return ObjectColumns::data(m_records.at(index.row()), index.column(), role, m_paintObjects);
}

QVariant ObjectsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return ObjectColumns::headerLabel(section);
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole)
        return ObjectColumns::headerText(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ObjectsTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ObjectsTableModel::setPaintObjects(bool value)
{
    if (m_paintObjects == value)
        return;
    m_paintObjects = value;
    if (!m_records.isEmpty())
        emit dataChanged(index(0, ObjectColumns::Id),
            index(m_records.size() - 1, ObjectColumns::Id),
            { Qt::BackgroundRole, Qt::ForegroundRole });
}

void ObjectsTableModel::setRecords(const QVector<ObjectRecord> &records)
{
    const int kept = qMin(m_records.size(), records.size());
    if (m_records.size() > records.size()) {
        beginRemoveRows(QModelIndex(), kept, m_records.size() - 1);
        m_records.resize(kept);
        endRemoveRows();
    }
    // One dataChanged per run of changed rows.
    int first = -1;
    ObjectRecord *rows = m_records.data();
    for (int row = 0; row <= kept; ++row) {
        const bool changed = row < kept && !isSameRecord(rows[row], records.at(row));
        if (changed) {
            rows[row] = records.at(row);
            if (first < 0)
                first = row;
        } else if (first >= 0) {
            emit dataChanged(index(first, 0), index(row - 1, ObjectColumns::Count - 1));
            first = -1;
        }
    }
    if (records.size() > kept) {
        beginInsertRows(QModelIndex(), kept, records.size() - 1);
        m_records += records.mid(kept);
        endInsertRows();
    }
}

void ObjectsTableModel::clear()
{
    if (m_records.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, m_records.size() - 1);
    m_records.clear();
    endRemoveRows();
}
