#include "framearea.h"

#include "ackmessage.h"
#include "canmessage.h"

int FrameArea::split(const quint8 *bytes, int size, const QList<quint16> &ackIds,
    QList<AckMessage *> &acks, QList<CanMessage *> &frames)
{
    if (!bytes)
        return 0;
    int position = 0;
    for (;;) {
        while (AckMessage *ack = AckMessage::extract(bytes + position, size - position, ackIds)) {
            acks.append(ack);
            position += 4;
        }
        CanMessage *frame = CanMessage::extract(bytes + position, size - position);
        if (!frame)
            return position;
        frames.append(frame);
        position += quint8(frame->length + 3);
    }
}
