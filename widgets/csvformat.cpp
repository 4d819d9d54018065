#include "csvformat.h"

CsvFormat::CsvFormat(const QLocale &locale)
    : m_separator(locale.decimalPoint() == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(','))
{ }

QString CsvFormat::line(const QStringList &fields) const
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &field : fields) {
        if (field.contains(m_separator) || field.contains(QLatin1Char('"'))
            || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
            QString escaped = field;
            escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
            quoted.append(QLatin1Char('"') + escaped + QLatin1Char('"'));
        } else {
            quoted.append(field);
        }
    }
    return quoted.join(m_separator) + QStringLiteral("\r\n");
}
