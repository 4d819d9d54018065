#include "rxmessagedelegate.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>

void RxMessageDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // The style option's text has its line feeds turned into line separators; the
    // model's text keeps them.
    const QString text = index.data(Qt::DisplayRole).toString();
    opt.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
        : (opt.state & QStyle::State_Active)                                ? QPalette::Active
                                                                            : QPalette::Inactive;
    const QPalette::ColorRole role
        = (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    QRect clip = opt.rect;
    if (const auto *area = qobject_cast<const QAbstractScrollArea *>(widget))
        clip = area->viewport()->rect();

    const bool wrap = opt.features & QStyleOptionViewItem::WrapText;
    TextBlock localBlock;
    TextBlock &block = text.size() > CachedTextSize ? m_cachedBlock : localBlock;
    block.setText(text, opt.font, opt.rect.width(), wrap);

    painter->save();
    painter->setPen(opt.palette.color(group, role));
    painter->setFont(opt.font);
    block.draw(painter, opt.rect, clip);
    painter->restore();
}

QSize RxMessageDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    return index.data(Qt::SizeHintRole).toSize();
}
