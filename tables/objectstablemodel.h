#pragma once

#include "objectrecord.h"

#include <QAbstractTableModel>
#include <QVector>

// The objects of the current frame, in order of arrival.
class ObjectsTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ObjectsTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setPaintObjects(bool value);
    // Replaces every row: the rows of the last frame go in one removal, the new ones
    // come in one insertion.
    void setRecords(const QVector<ObjectRecord> &records);
    void clear();

private:
    QVector<ObjectRecord> m_records;
    bool m_paintObjects = true;
};
