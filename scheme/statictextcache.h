#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>

// Laid-out single-line texts by their string, for views that draw the same short labels
// (identifiers, speeds, table cells) on every radar frame: laying a text out costs far
// more than drawing it. Emptied when it holds MaxTexts or the font changes.
class StaticTextCache
{
public:
    static constexpr int MaxTexts = 4096;

    const QStaticText &text(const QString &string, const QFont &font);

private:
    QHash<QString, QStaticText> m_texts;
    QFont m_font;
};
