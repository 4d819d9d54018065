#pragma once

#include <QByteArray>
#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringList>

// CSV as spreadsheets in the user's language open it: fields split by ',' where the
// locale's decimal point is '.', and by ';' where it is ',' (as in Russian), so numbers
// written in the locale stay numbers; a field holding the separator, a quote or a line
// break is quoted; lines end in CR LF; the file starts with a UTF-8 byte order mark.
class CsvFormat
{
public:
    explicit CsvFormat(const QLocale &locale);

    QChar separator() const { return m_separator; }
    QString line(const QStringList &fields) const;

    // Makes spreadsheets read the file as UTF-8 rather than the system's code page.
    static QByteArray byteOrderMark() { return QByteArrayLiteral("\xEF\xBB\xBF"); }

private:
    QChar m_separator;
};
