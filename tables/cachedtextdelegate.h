#pragma once

#include "statictextcache.h"

#include <QStyledItemDelegate>

// Paints cells of plain text as QStyledItemDelegate does, cheaper: a live table repaints
// its visible cells on every radar frame. Texts come from a cache of laid-out texts, drawn
// on one line in the cell's text rectangle with its alignment. A cell that is not selected,
// focused or under the mouse gets its background and text painted here, with no style
// option copied and no item layout asked of the style; the others, a row or two, are
// painted through the style as before.
class CachedTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CachedTextDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;

private:
    void doPaintStyled(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void doPaintText(QPainter *painter, const QStyleOptionViewItem &option, const QRect &area,
        const QString &text, const QFont &font, Qt::Alignment alignment,
        const QColor &colour) const;

    mutable StaticTextCache m_texts;
};
