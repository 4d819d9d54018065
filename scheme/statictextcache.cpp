#include "statictextcache.h"

#include <QTransform>

const QStaticText &StaticTextCache::text(const QString &string, const QFont &font)
{
    if (font != m_font || m_texts.size() >= MaxTexts) {
        m_texts.clear();
        m_font = font;
    }
    auto it = m_texts.find(string);
    if (it == m_texts.end()) {
        QStaticText laidOut(string);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
        laidOut.prepare(QTransform(), font);
        it = m_texts.insert(string, laidOut);
    }
    return *it;
}
