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
};
