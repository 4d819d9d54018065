#include "textblock.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLine>

void TextBlock::setText(const QString &text, const QFont &font, int width, bool wrap,
                        bool measureWidth)
{
    if (m_valid && width == m_width && wrap == m_wrap && measureWidth == m_measureWidth
        && font == m_font && text == m_text)
        return;
    m_text = text;
    m_font = font;
    m_width = width;
    m_wrap = wrap;
    m_measureWidth = measureWidth;
    m_valid = true;

    const QFontMetrics metrics(font);
    m_lineSpacing = metrics.lineSpacing();
    const int textWidth = qMax(1, width - 2 * HorizontalMargin);
    m_lines.clear();
    m_layout.reset();

    if (!wrap) {
        m_lines = text.split(QLatin1Char('\n'));
        int contentWidth = width;
        if (measureWidth) {
            for (const QString &line : qAsConst(m_lines))
                contentWidth = qMax(contentWidth, metrics.horizontalAdvance(line) + 2 * HorizontalMargin);
        }
        m_size = QSize(contentWidth, m_lines.size() * m_lineSpacing + 2 * VerticalMargin);
        return;
    }

    QString layoutText = text;
    layoutText.replace(QLatin1Char('\n'), QChar::LineSeparator);
    m_layout = std::make_unique<QTextLayout>(layoutText, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    int y = 0;
    m_layout->beginLayout();
    for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
        line.setLineWidth(textWidth);
        line.setPosition(QPointF(0, y));
        y += m_lineSpacing;
    }
    m_layout->endLayout();
    m_size = QSize(width, qMax(y, m_lineSpacing) + 2 * VerticalMargin);
}

void TextBlock::draw(QPainter *painter, const QRect &rect, const QRect &clip) const
{
    if (!m_valid)
        return;
    const QRect textRect = rect.adjusted(HorizontalMargin, VerticalMargin, -HorizontalMargin,
                                         -VerticalMargin);
    const QRect visible = clip.isValid() ? clip.intersected(textRect) : textRect;
    if (visible.isEmpty())
        return;

    if (m_layout) {
        m_layout->draw(painter, textRect.topLeft(), {}, QRectF(visible));
        return;
    }

    const QFontMetrics metrics(m_font);
    const int first = qMax(0, (visible.top() - textRect.top()) / m_lineSpacing);
    const int last = qMin(m_lines.size() - 1, (visible.bottom() - textRect.top()) / m_lineSpacing);
    for (int i = first; i <= last; ++i) {
        const QRect lineRect(textRect.left(), textRect.top() + i * m_lineSpacing, textRect.width(),
                             m_lineSpacing);
        const QString line = metrics.elidedText(m_lines.at(i), Qt::ElideRight, lineRect.width());
        painter->drawText(lineRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
    }
}
