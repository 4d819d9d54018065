#include "payloadtext.h"

#include <QTextCodec>

QString PayloadText::decode(const QByteArray &payload)
{
    const int zero = payload.indexOf('\0');
    const int size = zero < 0 ? payload.size() : zero;
    const char *data = payload.constData();

    bool ascii = true;
    for (int i = 0; i < size && ascii; ++i)
        ascii = static_cast<unsigned char>(data[i]) < 0x80;
    if (ascii)
        return QString::fromLatin1(data, size);

    static QTextCodec *const utf8 = QTextCodec::codecForName("UTF-8");
    QTextCodec::ConverterState state;
    const QString text = utf8->toUnicode(data, size, &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    return QString::fromLatin1(data, size);
}

QString PayloadText::elided(const QString &text, int maxChars, int maxLines)
{
    int cut = qMin(text.size(), qMax(0, maxChars));
    int lines = 1;
    for (int i = 0; i < cut; ++i) {
        if (text.at(i) == QLatin1Char('\n') && ++lines > maxLines) {
            cut = i;
            break;
        }
    }
    if (cut >= text.size())
        return text;
    // Never split a surrogate pair.
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

QString PayloadText::wrapped(const QString &text, int columns)
{
    columns = qMax(1, columns);
    QString result;
    result.reserve(text.size() + text.size() / columns);
    int lineLength = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n')) {
            lineLength = 0;
        } else if (lineLength == columns && !c.isLowSurrogate()) {
            result += QLatin1Char('\n');
            lineLength = 0;
        }
        result += c;
        if (c != QLatin1Char('\n') && !c.isLowSurrogate())
            ++lineLength;
    }
    return result;
}

QString PayloadText::withoutTrailingLineBreaks(const QString &text)
{
    int end = text.size();
    while (
        end > 0 && (text.at(end - 1) == QLatin1Char('\r') || text.at(end - 1) == QLatin1Char('\n')))
        --end;
    return text.left(end);
}
