#pragma once

#include <QByteArray>

class QJsonArray;
class QJsonDocument;
class QJsonObject;
class QJsonValue;

// Writes a JSON document in the indented form of QJsonDocument::toJson(), but stops
// after a given number of bytes: deeply nested data indents every line by four blanks
// per level and could otherwise grow a datagram of 64 KiB to hundreds of megabytes.
class JsonPrettyPrinter
{
public:
    explicit JsonPrettyPrinter(int maxBytes);

    // The indented UTF-8 text, cut after the last whole line that fits into the limit.
    QByteArray print(const QJsonDocument &document);
    bool isTruncated() const { return m_truncated; }

private:
    void writeValue(const QJsonValue &value, int indent);
    void writeObjectContent(const QJsonObject &object, int indent);
    void writeArrayContent(const QJsonArray &array, int indent);
    void writeScalar(const QJsonValue &value);
    bool isFull();

    int m_maxBytes;
    QByteArray m_out;
    bool m_truncated = false;
};
