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
    // Replaces the rows: rows whose record changed report dataChanged, rows beyond the
    // new count go in one removal and new ones come in one insertion, so the view keeps
    // its layout, selection and scroll position from frame to frame.
    void setRecords(const QVector<ObjectRecord> &records);
    void clear();

private:
    QVector<ObjectRecord> m_records;
    bool m_paintObjects = true;
};
