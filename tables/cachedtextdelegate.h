#pragma once

#include "statictextcache.h"

#include <QStyledItemDelegate>

// Paints cells as QStyledItemDelegate does, but draws their text from a cache of laid-out
// texts: a live table repaints its visible cells on every radar frame, and laying out the
// same short numbers again was most of what that cost. Texts are drawn on one line in the
// cell's text rectangle with its alignment.
class CachedTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CachedTextDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;

private:
    mutable StaticTextCache m_texts;
};
