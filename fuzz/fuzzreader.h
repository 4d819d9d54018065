#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstring>

// Reads fixed-size values from a fuzz input one after another. A value that runs past the
// end reads as zero, and isComplete() then tells the input was too short for it.
class FuzzReader
{
public:
    FuzzReader(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }

    template<typename T> T take()
    {
        T value {};
        if (m_pos + sizeof(T) <= m_size)
            std::memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }
    bool isComplete() const { return m_pos <= m_size; }
    bool atEnd() const { return m_pos >= m_size; }
    QByteArray rest() const
    {
        return m_pos < m_size
            ? QByteArray(reinterpret_cast<const char *>(m_data + m_pos), int(m_size - m_pos))
            : QByteArray();
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};
