#include "jsonprettyprinter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

JsonPrettyPrinter::JsonPrettyPrinter(int maxBytes)
    : m_maxBytes(qMax(0, maxBytes))
{ }

QByteArray JsonPrettyPrinter::print(const QJsonDocument &document)
{
    m_out.clear();
    m_truncated = false;
    if (document.isObject()) {
        m_out += "{\n";
        writeObjectContent(document.object(), 1);
        m_out += "}\n";
    } else if (document.isArray()) {
        m_out += "[\n";
        writeArrayContent(document.array(), 1);
        m_out += "]\n";
    }
    if (m_out.size() > m_maxBytes) {
        m_truncated = true;
        // lastIndexOf() with -1 would search from the end, so a zero limit cuts everything.
        const int lastBreak = m_maxBytes > 0 ? m_out.lastIndexOf('\n', m_maxBytes - 1) : -1;
        m_out.truncate(lastBreak < 0 ? 0 : lastBreak + 1);
    }
    return m_out;
}

bool JsonPrettyPrinter::isFull()
{
    return m_out.size() > m_maxBytes;
}

void JsonPrettyPrinter::writeValue(const QJsonValue &value, int indent)
{
    if (value.isObject()) {
        m_out += "{\n";
        writeObjectContent(value.toObject(), indent + 1);
        m_out += QByteArray(4 * indent, ' ');
        m_out += '}';
    } else if (value.isArray()) {
        m_out += "[\n";
        writeArrayContent(value.toArray(), indent + 1);
        m_out += QByteArray(4 * indent, ' ');
        m_out += ']';
    } else {
        writeScalar(value);
    }
}

void JsonPrettyPrinter::writeObjectContent(const QJsonObject &object, int indent)
{
    const QByteArray indentString(4 * indent, ' ');
    for (auto it = object.constBegin(); it != object.constEnd() && !isFull(); ++it) {
        m_out += indentString;
        writeScalar(QJsonValue(it.key()));
        m_out += ": ";
        writeValue(it.value(), indent);
        m_out += std::next(it) == object.constEnd() ? "\n" : ",\n";
    }
}

void JsonPrettyPrinter::writeArrayContent(const QJsonArray &array, int indent)
{
    const QByteArray indentString(4 * indent, ' ');
    const int count = array.size();
    for (int i = 0; i < count && !isFull(); ++i) {
        m_out += indentString;
        writeValue(array.at(i), indent);
        m_out += i + 1 == count ? "\n" : ",\n";
    }
}

void JsonPrettyPrinter::writeScalar(const QJsonValue &value)
{
    // Qt's own writer formats the number or escapes the string, inside "[" and "]".
    const QByteArray compact = QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact);
    m_out.append(compact.constData() + 1, compact.size() - 2);
}
