#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTextLayout>

#include <memory>

class QPainter;

// A block of plain text laid out for a list entry: one line per line feed, or wrapped
// to a width. Only the lines inside the clip rectangle are drawn, so a pretty-printed
// document of thousands of lines scrolls as fast as a one-line entry.
class TextBlock
{
public:
    // Space between an entry's edge and its text, in pixels.
    static constexpr int HorizontalMargin = 4;
    static constexpr int VerticalMargin = 1;
    // QListView keeps item heights in a short: lines below this are not shown, and the
    // last line that fits says so with an ellipsis.
    static constexpr int MaxHeight = 32767;

    // Lays the text out again only when something differs from the last call. width is
    // the entry's width; with measureWidth the size grows to the longest unwrapped line.
    void setText(
        const QString &text, const QFont &font, int width, bool wrap, bool measureWidth = false);

    // The entry size, margins included.
    QSize size() const { return m_size; }
    // Whether lines were left out to stay within MaxHeight.
    bool isTruncated() const { return m_truncated; }

    // Draws the text inside rect (the entry's rectangle, margins included); lines
    // outside clip are skipped. The caller sets the painter's pen and font.
    void draw(QPainter *painter, const QRect &rect, const QRect &clip) const;

private:
    QString m_text;
    QFont m_font;
    int m_width = -1;
    bool m_wrap = false;
    bool m_measureWidth = false;
    bool m_valid = false;
    bool m_truncated = false;
    int m_lineSpacing = 0;
    QStringList m_lines;
    std::unique_ptr<QTextLayout> m_layout;
    QSize m_size;
};
