// Decodes a sequence of binary server messages as the serial radar client does: the frame
// time and the frame area from the optional time-stamp header, then RadarFrameDecoder on
// the frame area, with one decoder (and so one cycle number) across the messages of an input.
//
// Input: byte 0 selects the variant (bit 0: type P instead of type Q); then records of a
// 16-bit big-endian length (cut to what is left) followed by one message.
//
// Checked besides memory errors and undefined behaviour: the state agrees with the frames
// (0 without frames, -1 exactly when a frame was refused, 2 exactly when the cycle number
// changed), only accepted frames yield objects and reports, object identifiers stay within
// 0..63, device information texts hold at most 24 characters and no zero, and the records
// split by value serialise back to the start of the frame area.

#include "ackmessage.h"
#include "canmessage.h"
#include "fuzzcheck.h"
#include "radarframedecoder.h"
#include "timestampheader.h"
#include "vantorserialpmxprotocolclient.h"
#include "vantorserialqelprotocolclient.h"

#include <QByteArray>
#include <QDateTime>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

const RadarFrameDecoder::CanIds &variantIds(bool typeP)
{
    static const RadarFrameDecoder::CanIds q = VantorSerialQelProtocolClient().decoderCanIds();
    static const RadarFrameDecoder::CanIds p = VantorSerialPmxProtocolClient().decoderCanIds();
    return typeP ? p : q;
}

void checkText(const std::optional<QString> &text)
{
    if (text)
        FUZZ_CHECK(text->size() <= 24 && !text->contains(QChar(0)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    RadarFrameDecoder decoder(variantIds(data[0] & 1));
    RadarFrameDecoder::Result result;

    size_t position = 1;
    while (position + 2 <= size) {
        const size_t length
            = qMin<size_t>(size_t(data[position] << 8 | data[position + 1]), size - position - 2);
        // No copy: a read past the message lands outside the fuzzer's buffer and ASan sees it.
        const QByteArray message = QByteArray::fromRawData(
            reinterpret_cast<const char *>(data + position + 2), int(length));
        position += 2 + length;

        FUZZ_CHECK(TimeStampHeader::frameTime(message, QDateTime()).isValid()
            == (TimeStampHeader::isPresent(message)
                && TimeStampHeader::decode(message.constData()).isValid()));
        const int offset = TimeStampHeader::frameAreaOffset(message);
        const quint32 cycleBefore = decoder.cycle();
        const auto *area = reinterpret_cast<const quint8 *>(message.constData()) + offset;
        const int areaSize = message.size() - offset;
        decoder.decode(area, areaSize, result);

        const int frames = int(result.frames.size());
        FUZZ_CHECK(result.acceptedFrames >= 0 && result.acceptedFrames <= frames);
        if (frames == 0)
            FUZZ_CHECK(result.state == 0);
        else if (result.acceptedFrames < frames)
            FUZZ_CHECK(result.state == -1);
        else
            FUZZ_CHECK(result.state == (decoder.cycle() != cycleBefore ? 2 : 1));
        FUZZ_CHECK(int(result.objects.size() + result.controls.size()) <= result.acceptedFrames);
        for (const RadarFrameDecoder::ObjectReport &object : result.objects)
            FUZZ_CHECK(object.id <= 63);
        checkText(result.hardwareInfo);
        checkText(result.firmwareInfo);

        // The acknowledgements come first in the area only when nothing else precedes them,
        // so check the records where the area starts with frames only.
        if (result.acks.empty()) {
            QByteArray wire;
            for (const CanMessage &frame : result.frames)
                wire += frame.serialize();
            FUZZ_CHECK(wire.size() <= areaSize);
            FUZZ_CHECK(std::equal(wire.cbegin(), wire.cend(), message.cbegin() + offset));
        }
    }
    return 0;
}
