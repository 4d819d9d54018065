#include "objectstablemodel.h"

#include "objectcolumns.h"

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
    clear();
    if (records.isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, records.size() - 1);
    m_records = records;
    endInsertRows();
}

void ObjectsTableModel::clear()
{
    if (m_records.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, m_records.size() - 1);
    m_records.clear();
    endRemoveRows();
}
