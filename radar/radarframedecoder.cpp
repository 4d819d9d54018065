#include "radarframedecoder.h"

#include "framearea.h"
#include "radardevinfoudtpayload.h"
#include "radarsetup0udtpayload.h"
#include "radarsetup1udtpayload.h"
#include "radarsetup2udtpayload.h"
#include "readparam0udtpayload.h"
#include "readparam1udtpayload.h"
#include "readparam2udtpayload.h"

RadarFrameDecoder::RadarFrameDecoder(const CanIds &ids)
    : m_ids(ids)
{ }

void RadarFrameDecoder::decode(const quint8 *bytes, int size, Result &result)
{
    result.acks.clear();
    result.frames.clear();
    result.acceptedFrames = 0;
    result.objects.clear();
    result.controls.clear();
    result.position.reset();
    result.paramValue.reset();
    result.hardwareInfo.reset();
    result.firmwareInfo.reset();
    m_responseParts.clear();

    result.unreadable
        = FrameArea::split(bytes, size, m_ids.acks, result.acks, result.frames) == 0 && size > 0;
    if (result.frames.empty()) {
        result.state = 0;
    } else {
        const quint32 cycleBefore = m_cycle;
        result.state = 1;
        for (const CanMessage &frame : result.frames) {
            if (!doDecodeFrame(frame, result)) {
                result.state = -1;
                break;
            }
            ++result.acceptedFrames;
        }
        if (result.state == 1 && m_cycle != cycleBefore)
            result.state = 2;
    }
    // Parts collected before a refused frame still complete their groups.
    if (!m_responseParts.isEmpty())
        doDecodeResponses(result);
}

void RadarFrameDecoder::splitUptime(
    quint32 ms, int *days, int *hours, int *minutes, int *seconds, int *milliseconds)
{
    *days = int(ms / 86400000);
    *hours = int(ms / 3600000 % 24);
    *minutes = int(ms / 60000 % 60);
    *seconds = int(ms / 1000 % 60);
    *milliseconds = int(ms % 1000);
}

bool RadarFrameDecoder::doDecodeFrame(const CanMessage &frame, Result &result)
{
    const quint16 id = frame.id;
    if (frame.length != 8)
        return false;
    const quint64 p = frame.payload();
    if (id >= m_ids.roadObjectMin && id <= m_ids.roadObjectMax) {
        // Ranges: 14 bits, offset 8192, 0.064 m; speeds: 11 bits, offset 1024, 0.1 m/s;
        // length: 8 bits, 0.2 m; identifier: the top 6 bits.
        result.objects.push_back({ quint8(p >> 58), (int(p >> 28 & 0x7FF) - 1024) * 0.1,
            (int(p >> 39 & 0x7FF) - 1024) * 0.1, (int(p & 0x3FFF) - 8192) * 0.064,
            (int(p >> 14 & 0x3FFF) - 8192) * 0.064, int(p >> 50 & 0xFF) * 0.2 });
        return true;
    }
    if (id == m_ids.synchronization)
        return true;
    if (id == m_ids.sensorControl) {
        result.controls.push_back({ ControlReport::Uptime, quint32(p >> 32) });
        return true;
    }
    if (id == m_ids.objectControl) {
        m_cycle = quint32(p >> 32);
        result.controls.push_back({ ControlReport::Cycle, m_cycle });
        return true;
    }
    if (id == m_ids.udtResponse) {
        // A second part with the same key refuses the frame and so the message.
        const UdtPayload part(frame);
        const quint16 key = part.key();
        if (m_responseParts.contains(key))
            return false;
        m_responseParts.insert(key, part);
        return true;
    }
    return false;
}

const UdtPayload *RadarFrameDecoder::doFindPart(quint16 key) const
{
    const auto it = m_responseParts.constFind(key);
    return it == m_responseParts.cend() ? nullptr : &it.value();
}

void RadarFrameDecoder::doDecodeResponses(Result &result)
{
    const UdtPayload *setup0 = doFindPart(RadarSetup0UdtPayload::Key);
    const UdtPayload *setup1 = doFindPart(RadarSetup1UdtPayload::Key);
    const UdtPayload *setup2 = doFindPart(RadarSetup2UdtPayload::Key);
    if (setup0 && setup1 && setup2) {
        const RadarSetup0UdtPayload offsets(*setup0);
        const RadarSetup1UdtPayload angles(*setup1);
        const RadarSetup2UdtPayload height(*setup2);
        result.position = Position { height.height(), offsets.xOffset(), offsets.yOffset(),
            angles.azimuth(), angles.altitude(), angles.roll() };
    }

    // Part 0 of a read response is required but carries nothing used here.
    const UdtPayload *read1 = doFindPart(ReadParam1UdtPayload::Key);
    const UdtPayload *read2 = doFindPart(ReadParam2UdtPayload::Key);
    if (doFindPart(ReadParam0UdtPayload::Key) && read1 && read2) {
        const ReadParam1UdtPayload echo(*read1);
        if (echo.carriesValue())
            result.paramValue = ParamValue { echo.paramType(), echo.action(), echo.paramNumber(),
                ReadParam2UdtPayload(*read2).value(), echo.isFixedPointRead() };
    }

    result.hardwareInfo = doDecodeDeviceInfo(RadarDevInfoUdtPayload::HardwareFirstKey);
    result.firmwareInfo = doDecodeDeviceInfo(RadarDevInfoUdtPayload::FirmwareFirstKey);
}

std::optional<QString> RadarFrameDecoder::doDecodeDeviceInfo(quint16 firstKey) const
{
    // Four parts with consecutive keys; the text ends at its first zero byte.
    QByteArray text;
    for (quint16 i = 0; i < 4; ++i) {
        const UdtPayload *part = doFindPart(quint16(firstKey + i));
        if (!part)
            return std::nullopt;
        text += RadarDevInfoUdtPayload(*part).characters();
    }
    const int end = text.indexOf('\0');
    if (end >= 0)
        text.truncate(end);
    return QString::fromLatin1(text);
}
