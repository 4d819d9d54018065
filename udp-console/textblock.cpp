#include "textblock.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLine>

void TextBlock::setText(
    const QString &text, const QFont &font, int width, bool wrap, bool measureWidth)
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
    m_lineSpacing = qMax(1, metrics.lineSpacing());
    const int textWidth = qMax(1, width - 2 * HorizontalMargin);
    const int maxLines = qMax(1, (MaxHeight - 2 * VerticalMargin) / m_lineSpacing);
    const QString ellipsis(QChar(0x2026));
    m_lines.clear();
    m_layout.reset();
    m_truncated = false;

    // No more lines than fit can be shown, wrapped or not.
    int end = -1;
    for (int lines = 0; lines < maxLines; ++lines) {
        end = text.indexOf(QLatin1Char('\n'), end + 1);
        if (end < 0)
            break;
    }
    const QString shown = end < 0 ? text : text.left(end);
    m_truncated = end >= 0;

    if (!wrap) {
        m_lines = shown.split(QLatin1Char('\n'));
        if (m_truncated) {
            m_lines.removeLast();
            m_lines.append(ellipsis);
        }
        int contentWidth = width;
        if (measureWidth) {
            for (const QString &line : qAsConst(m_lines))
                contentWidth
                    = qMax(contentWidth, metrics.horizontalAdvance(line) + 2 * HorizontalMargin);
        }
        m_size = QSize(contentWidth, m_lines.size() * m_lineSpacing + 2 * VerticalMargin);
        return;
    }

    QString layoutText = shown;
    layoutText.replace(QLatin1Char('\n'), QChar::LineSeparator);
    m_layout = std::make_unique<QTextLayout>(layoutText, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    int y = 0;
    int lineCount = 0;
    m_layout->beginLayout();
    for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
        line.setLineWidth(textWidth);
        line.setPosition(QPointF(0, y));
        y += m_lineSpacing;
        // The last line that fits is kept for the ellipsis while text remains.
        if (++lineCount == maxLines - 1
            && line.textStart() + line.textLength() < layoutText.size()) {
            m_truncated = true;
            break;
        }
    }
    m_layout->endLayout();
    if (m_truncated)
        y += m_lineSpacing;
    m_size = QSize(width, qMax(y, m_lineSpacing) + 2 * VerticalMargin);
}

void TextBlock::draw(QPainter *painter, const QRect &rect, const QRect &clip) const
{
    if (!m_valid)
        return;
    const QRect textRect
        = rect.adjusted(HorizontalMargin, VerticalMargin, -HorizontalMargin, -VerticalMargin);
    const QRect visible = clip.isValid() ? clip.intersected(textRect) : textRect;
    if (visible.isEmpty())
        return;

    if (m_layout) {
        m_layout->draw(painter, textRect.topLeft(), {}, QRectF(visible));
        if (m_truncated) {
            const QRect lineRect(textRect.left(),
                textRect.top() + m_layout->lineCount() * m_lineSpacing, textRect.width(),
                m_lineSpacing);
            painter->drawText(lineRect, Qt::AlignLeft | Qt::AlignVCenter, QString(QChar(0x2026)));
        }
        return;
    }

    const QFontMetrics metrics(m_font);
    const int first = qMax(0, (visible.top() - textRect.top()) / m_lineSpacing);
    const int last = qMin(m_lines.size() - 1, (visible.bottom() - textRect.top()) / m_lineSpacing);
    for (int i = first; i <= last; ++i) {
        const QRect lineRect(
            textRect.left(), textRect.top() + i * m_lineSpacing, textRect.width(), m_lineSpacing);
        const QString line = metrics.elidedText(m_lines.at(i), Qt::ElideRight, lineRect.width());
        painter->drawText(lineRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
    }
}
