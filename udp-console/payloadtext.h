#pragma once

#include <QByteArray>
#include <QString>

// Turns received datagrams into text for filtering and display.
class PayloadText
{
public:
    // The bytes up to the first zero byte, read as UTF-8 when they are valid UTF-8 and
    // as Latin-1 otherwise, so that any datagram gives some text.
    static QString decode(const QByteArray &payload);

    // The text cut to at most maxChars characters and maxLines lines, with an
    // ellipsis where it was cut.
    static QString elided(const QString &text, int maxChars, int maxLines);

    // The text with a line feed inserted wherever a line runs past the given number of
    // characters, so that a long line shows as a block of readable width.
    static QString wrapped(const QString &text, int columns);

    // The text without carriage returns and line feeds at its end.
    static QString withoutTrailingLineBreaks(const QString &text);

    // All the bytes, zero bytes included, as text read as decode() reads it; control
    // characters other than line feed and tab show as their Unicode control pictures
    // (U+2400 to U+2421), so that every byte stays visible.
    static QString visible(const QByteArray &payload);

    // The bytes as a hex dump, 16 a line: offset, the bytes in hex, and the bytes that are
    // printable ASCII as such, "." for the others.
    static QString hexDump(const QByteArray &payload);

    // The bytes as one line of printable text from which they can be recovered exactly:
    // backslash, tab, line feed and carriage return as "\\", "\t", "\n" and "\r", other
    // control bytes as "\xhh". Payloads that are valid UTF-8 keep their printable
    // characters; in others every byte from 0x80 is written "\xhh" too.
    static QByteArray escaped(const QByteArray &payload);
};
