#include "framearea.h"

#include "ackmessage.h"
#include "canmessage.h"

int FrameArea::split(const quint8 *bytes, int size, const QList<quint16> &ackIds,
    QList<AckMessage *> &acks, QList<CanMessage *> &frames)
{
    std::vector<AckMessage> ackValues;
    std::vector<CanMessage> frameValues;
    const int consumed = split(bytes, size, ackIds, ackValues, frameValues);
    for (const AckMessage &ack : ackValues)
        acks.append(new AckMessage(ack));
    for (const CanMessage &frame : frameValues)
        frames.append(new CanMessage(frame));
    return consumed;
}

int FrameArea::split(const quint8 *bytes, int size, const QList<quint16> &ackIds,
    std::vector<AckMessage> &acks, std::vector<CanMessage> &frames)
{
    if (!bytes)
        return 0;
    int position = 0;
    AckMessage ack;
    CanMessage frame;
    for (;;) {
        while (AckMessage::read(bytes + position, size - position, ackIds, &ack)) {
            acks.push_back(ack);
            position += 4;
        }
        if (!CanMessage::read(bytes + position, size - position, &frame))
            return position;
        frames.push_back(frame);
        position += quint8(frame.length + 3);
    }
}
