#pragma once

#include "textblock.h"

#include <QStyledItemDelegate>

// Draws received-message entries with the sizes the model computed, painting only the
// visible lines of an entry, so that an expanded document of any length stays fast.
class RxMessageDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // Entries longer than this keep their layout between paints.
    static constexpr int CachedTextSize = 4096;

    mutable TextBlock m_cachedBlock;
};
