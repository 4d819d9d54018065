#include "payloadtext.h"

#include <QTextCodec>

namespace {
const char HexDigits[] = "0123456789abcdef";

// The length of the well-formed UTF-8 sequence at data, at most size bytes long, with
// its code point; 0 for an overlong form, a surrogate, a value past U+10FFFF or a broken
// sequence.
int utf8Sequence(const uchar *data, int size, uint *codePoint)
{
    const uchar lead = data[0];
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    }
    int length = 0;
    uint value = 0;
    uint minimum = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        value = lead & 0x1fu;
        minimum = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        value = lead & 0x0fu;
        minimum = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (size < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((data[i] & 0xc0) != 0x80)
            return 0;
        value = (value << 6) | (data[i] & 0x3fu);
    }
    if (value < minimum || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
        return 0;
    *codePoint = value;
    return length;
}

bool isUtf8(const uchar *data, int size)
{
    uint codePoint = 0;
    for (int i = 0; i < size;) {
        const int length = utf8Sequence(data + i, size - i, &codePoint);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool isPrintable(uint codePoint)
{
    const QChar::Category category = QChar::category(codePoint);
    return QChar::isPrint(codePoint) && category != QChar::Separator_Line
        && category != QChar::Separator_Paragraph;
}
} // namespace

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

QString PayloadText::visible(const QByteArray &payload)
{
    // The overloads with a size: those taking a QByteArray stop at a zero byte.
    const auto *data = reinterpret_cast<const uchar *>(payload.constData());
    QString text = isUtf8(data, payload.size())
        ? QString::fromUtf8(payload.constData(), payload.size())
        : QString::fromLatin1(payload.constData(), payload.size());
    for (QChar &c : text) {
        const ushort code = c.unicode();
        if (code < 0x20 && code != '\n' && code != '\t')
            c = QChar(0x2400 + code);
        else if (code == 0x7f)
            c = QChar(0x2421);
    }
    return text;
}

QString PayloadText::hexDump(const QByteArray &payload)
{
    constexpr int BytesPerLine = 16;
    const int size = payload.size();
    int digits = 4;
    while (digits < 8 && ((size - 1) >> (4 * digits)) > 0)
        ++digits;
    const int lineLength = digits + 2 + 3 * BytesPerLine + 1 + 2 + BytesPerLine + 2;
    QString dump;
    dump.reserve((size + BytesPerLine - 1) / BytesPerLine * lineLength);
    for (int offset = 0; offset < size; offset += BytesPerLine) {
        if (offset > 0)
            dump += QLatin1Char('\n');
        for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
            dump += QLatin1Char(HexDigits[(offset >> shift) & 0xf]);
        dump += QLatin1String("  ");
        QString ascii;
        for (int k = 0; k < BytesPerLine; ++k) {
            if (k == BytesPerLine / 2)
                dump += QLatin1Char(' ');
            if (offset + k >= size) {
                dump += QLatin1String("   ");
                continue;
            }
            const auto byte = static_cast<uchar>(payload.at(offset + k));
            dump += QLatin1Char(HexDigits[byte >> 4]);
            dump += QLatin1Char(HexDigits[byte & 0xf]);
            dump += QLatin1Char(' ');
            ascii += byte >= 0x20 && byte < 0x7f ? QLatin1Char(char(byte)) : QLatin1Char('.');
        }
        dump += QLatin1String(" |") + ascii + QLatin1Char('|');
    }
    return dump;
}

QByteArray PayloadText::escaped(const QByteArray &payload)
{
    const auto *data = reinterpret_cast<const uchar *>(payload.constData());
    const int size = payload.size();
    const bool utf8 = isUtf8(data, size);
    QByteArray out;
    out.reserve(size + size / 8);
    const auto escapeByte = [&out](uchar byte) {
        out += "\\x";
        out += HexDigits[byte >> 4];
        out += HexDigits[byte & 0xf];
    };
    for (int i = 0; i < size;) {
        const uchar byte = data[i];
        if (byte < 0x80) {
            if (byte == '\\')
                out += "\\\\";
            else if (byte == '\t')
                out += "\\t";
            else if (byte == '\n')
                out += "\\n";
            else if (byte == '\r')
                out += "\\r";
            else if (byte < 0x20 || byte == 0x7f)
                escapeByte(byte);
            else
                out += char(byte);
            ++i;
            continue;
        }
        uint codePoint = 0;
        const int length = utf8 ? utf8Sequence(data + i, size - i, &codePoint) : 1;
        const bool keep = utf8 && isPrintable(codePoint);
        for (int k = 0; k < length; ++k) {
            if (keep)
                out += char(data[i + k]);
            else
                escapeByte(data[i + k]);
        }
        i += length;
    }
    return out;
}
