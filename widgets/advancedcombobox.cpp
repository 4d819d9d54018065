#include "advancedcombobox.h"

bool AdvancedComboBox::setCurrentIndexByItemData(const QVariant &data, int role)
{
    for (int i = 0; i < count(); ++i) {
        if (itemData(i, role) == data) {
            setCurrentIndex(i);
            return true;
        }
    }
    return false;
}
