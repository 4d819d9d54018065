#include "cachedtextdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QtMath>

namespace {

QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

QPalette::ColorGroup colorGroup(QStyle::State state)
{
    if (!(state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return (state & QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
}

// The style's margins of item text on each side.
int textMargin(const QStyleOptionViewItem &option)
{
    return styleOf(option)->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}

} // namespace

CachedTextDelegate::CachedTextDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{ }

void CachedTextDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QStyle::State styled
        = QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver;
    if (option.state & styled) {
        doPaintStyled(painter, option, index);
        return;
    }

    // What the style's item panel paints for such a cell: its background brush.
    const QVariant background = index.data(Qt::BackgroundRole);
    if (background.canConvert<QBrush>()) {
        const QPointF origin = painter->brushOrigin();
        painter->setBrushOrigin(option.rect.topLeft());
        painter->fillRect(option.rect, qvariant_cast<QBrush>(background));
        painter->setBrushOrigin(origin);
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;

    QFont font = option.font;
    const QVariant fontValue = index.data(Qt::FontRole);
    if (fontValue.isValid() && !fontValue.isNull())
        font = qvariant_cast<QFont>(fontValue).resolve(option.font);
    Qt::Alignment alignment = option.displayAlignment;
    const QVariant alignmentValue = index.data(Qt::TextAlignmentRole);
    if (alignmentValue.isValid() && !alignmentValue.isNull())
        alignment = Qt::Alignment(alignmentValue.toInt());
    const QVariant foreground = index.data(Qt::ForegroundRole);
    const QColor colour = foreground.canConvert<QBrush>()
        ? qvariant_cast<QBrush>(foreground).color()
        : option.palette.color(colorGroup(option.state), QPalette::Text);
    // A cell of text only has its whole rectangle as the text's.
    const int margin = textMargin(option);
    doPaintText(painter, option, option.rect.adjusted(margin, 0, -margin, 0), text, font, alignment,
        colour);
}

void CachedTextDelegate::doPaintStyled(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    // The style draws the focus frame over the text: drawn here after it, in the same way.
    const bool focused = opt.state & QStyle::State_HasFocus;
    opt.state &= ~QStyle::State_HasFocus;
    QStyle *style = styleOf(opt);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    if (!text.isEmpty()) {
        const int margin = textMargin(opt);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget)
                               .adjusted(margin, 0, -margin, 0);
        doPaintText(painter, opt, area, text, opt.font, opt.displayAlignment,
            opt.palette.color(colorGroup(opt.state),
                (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    }
    if (!focused)
        return;
    QStyleOptionFocusRect frame;
    frame.QStyleOption::operator=(opt);
    frame.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &opt, opt.widget);
    frame.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    frame.backgroundColor = opt.palette.color(
        (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled,
        (opt.state & QStyle::State_Selected) ? QPalette::Highlight : QPalette::Window);
    painter->save();
    painter->setClipRect(opt.rect);
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, opt.widget);
    painter->restore();
}

void CachedTextDelegate::doPaintText(QPainter *painter, const QStyleOptionViewItem &option,
    const QRect &area, const QString &text, const QFont &font, Qt::Alignment alignment,
    const QColor &colour) const
{
    const QStaticText &laidOut = m_texts.text(text, font);
    const QSizeF size = laidOut.size();
    const QRect box = QStyle::alignedRect(
        option.direction, alignment, QSize(qCeil(size.width()), qCeil(size.height())), area);
    // Clipped only when the text overflows its rectangle, which the columns' widths avoid.
    const bool clipped = !area.contains(box);
    const QPen pen = painter->pen();
    const QFont oldFont = painter->font();
    if (clipped) {
        painter->save();
        painter->setClipRect(area, Qt::IntersectClip);
    }
    painter->setFont(font);
    painter->setPen(colour);
    painter->drawStaticText(box.topLeft(), laidOut);
    if (clipped) {
        painter->restore();
    } else {
        painter->setPen(pen);
        painter->setFont(oldFont);
    }
}
