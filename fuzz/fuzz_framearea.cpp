// Takes a binary server message apart as the radar client does: optional time-stamp
// header, then the frame area split into acknowledgements and CAN frames.
//
// Input: byte 0 picks the acknowledgement identifiers (0: type Q {0x4F0}, 1: type P
// {0x3F0}, 2: none given, which accepts any identifier, 3: the next two bytes,
// big-endian); the rest is the message as it arrives from the server.

#include "ackmessage.h"
#include "canmessage.h"
#include "framearea.h"
#include "fuzzcheck.h"
#include "timestampheader.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 1 << 20)
        return 0;
    QList<quint16> ackIds;
    switch (data[0] & 3) {
    case 0:
        ackIds << 0x4F0;
        break;
    case 1:
        ackIds << 0x3F0;
        break;
    case 2:
        break;
    default:
        if (size < 3)
            return 0;
        ackIds << quint16(data[1] << 8 | data[2]);
        data += 2;
        size -= 2;
        break;
    }
    ++data;
    --size;

    // No copy: a read past the message lands outside the fuzzer's buffer and ASan sees it.
    const QByteArray message
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const QDateTime reception = QDateTime::currentDateTimeUtc();
    const QDateTime frameTime = TimeStampHeader::frameTime(message, reception);
    FUZZ_CHECK(frameTime.isValid());
    const int offset = TimeStampHeader::frameAreaOffset(message);
    FUZZ_CHECK(offset == 0 || offset == TimeStampHeader::Size);
    if (offset > 0) {
        // A valid header survives encoding again byte for byte.
        const QDateTime stamped = TimeStampHeader::decode(message.constData());
        if (stamped.isValid())
            FUZZ_CHECK(TimeStampHeader::encode(stamped) == message.left(TimeStampHeader::Size));
    }

    QList<AckMessage *> acks;
    QList<CanMessage *> frames;
    const int areaSize = message.size() - offset;
    const int consumed = FrameArea::split(data + offset, areaSize, ackIds, acks, frames);
    FUZZ_CHECK(consumed >= 0 && consumed <= areaSize);

    // The records serialise back to the consumed bytes in wire order. An identifier in the
    // list is always an acknowledgement where four bytes are left, so the order is unique.
    const QByteArray area = message.mid(offset, consumed);
    int position = 0;
    int ackIndex = 0;
    int frameIndex = 0;
    while (position < consumed) {
        if (ackIndex < acks.size() && area.mid(position, 4) == acks.at(ackIndex)->serialize()) {
            FUZZ_CHECK(ackIds.isEmpty() || ackIds.contains(acks.at(ackIndex)->id));
            ++ackIndex;
            position += 4;
            continue;
        }
        FUZZ_CHECK(frameIndex < frames.size());
        const CanMessage *frame = frames.at(frameIndex++);
        FUZZ_CHECK(frame->length <= 8);
        const QByteArray wire = frame->serialize();
        FUZZ_CHECK(wire.size() == frame->length + 3);
        FUZZ_CHECK(area.mid(position, wire.size()) == wire);
        position += wire.size();
    }
    FUZZ_CHECK(position == consumed && ackIndex == acks.size() && frameIndex == frames.size());

    qDeleteAll(acks);
    qDeleteAll(frames);
    return 0;
}
