#pragma once

#include <QComboBox>

// A combo box that can select an entry by its item data.
class AdvancedComboBox : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    // Selects the first item whose data for `role` equals `data`; leaves the current
    // item alone and returns false when none does.
    bool setCurrentIndexByItemData(const QVariant &data, int role = Qt::UserRole);
};
