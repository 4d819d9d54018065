#include "cachedtextdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QtMath>

CachedTextDelegate::CachedTextDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{ }

void CachedTextDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    if (text.isEmpty())
        return;

    // The text rectangle and margins of the style's own item text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget)
                           .adjusted(margin, 0, -margin, 0);
    const QStaticText &laidOut = m_texts.text(text, opt.font);
    const QSizeF size = laidOut.size();
    const QRect box = QStyle::alignedRect(opt.direction, opt.displayAlignment,
        QSize(qCeil(size.width()), qCeil(size.height())), area);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
        : (opt.state & QStyle::State_Active)                                ? QPalette::Normal
                                                                            : QPalette::Inactive;
    painter->save();
    painter->setClipRect(area, Qt::IntersectClip);
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    painter->drawStaticText(box.topLeft(), laidOut);
    painter->restore();
}
