#include "roaddraft.h"

#include <QJsonArray>
#include <QtMath>

#include <cmath>

namespace {
// Fields missing, of another type or not finite take their default.
double readNumber(const QJsonValue &value, double defaultValue, double min, double max)
{
    double number = value.isDouble() ? value.toDouble() : defaultValue;
    if (!std::isfinite(number))
        number = defaultValue;
    // Bounded before rounding, so that 1e308 * 100 never overflows.
    return std::round(qBound(min, number, max) * 100.0) / 100.0;
}

QVector<RoadDraft::Part> readSide(const QJsonObject &parts, int sign)
{
    QVector<RoadDraft::Part> side;
    for (int i = 1; i <= RoadDraft::MaxPartsPerSide; ++i) {
        const QString key = QString::number(sign * i);
        // The parts end at the first number missing on both sides; an empty part or one
        // that is no object is skipped, and the parts beyond it move inwards.
        if (!parts.contains(key) && !parts.contains(QString::number(-sign * i)))
            break;
        const QJsonObject part = parts.value(key).toObject();
        if (part.isEmpty())
            continue;
        RoadDraft::Part p;
        p.type = part.value(QStringLiteral("is_lane")).toBool() ? RoadDraft::Lane
                                                                : RoadDraft::MedianStrip;
        p.width = readNumber(part.value(QStringLiteral("width")), 0.0, RoadDraft::MinWidth,
            RoadDraft::maxWidth(p.type));
        side.append(p);
    }
    // A strip that is not a lane is a roadside when nothing lies beyond it; both have the
    // same range of widths.
    if (!side.isEmpty() && side.constLast().type == RoadDraft::MedianStrip)
        side.last().type = RoadDraft::Roadside;
    return side;
}

QJsonObject partJson(bool isLane, double width)
{
    return QJsonObject { { QStringLiteral("is_lane"), isLane },
        { QStringLiteral("width"), width } };
}
} // namespace

double RoadDraft::defaultWidth(PartType type)
{
    switch (type) {
    case MedianStrip:
        return 0.0;
    case Lane:
        return 3.5;
    case Roadside:
        return 2.0;
    }
    return 0.0;
}

double RoadDraft::maxWidth(PartType type)
{
    return type == Lane ? MaxLaneWidth : MaxStripWidth;
}

RoadDraft RoadDraft::fromJson(const QJsonObject &config)
{
    RoadDraft draft;
    draft.originOffset
        = readNumber(config.value(QStringLiteral("origin_offset")), 0.0, -MaxOffset, MaxOffset);
    const QJsonObject parts = config.value(QStringLiteral("parts")).toObject();
    draft.medianWidth
        = readNumber(parts.value(QStringLiteral("0")).toObject().value(QStringLiteral("width")),
            0.0, MinWidth, MaxStripWidth);
    draft.left = readSide(parts, 1);
    draft.right = readSide(parts, -1);

    const QJsonArray sections = config.value(QStringLiteral("sections")).toArray();
    for (const QJsonValue &value : sections) {
        if (!draft.canAddSection())
            break;
        const QJsonObject s = value.toObject();
        Section section;
        section.length
            = qMin(readNumber(s.value(QStringLiteral("length")), 0.0, MinLength, MaxLength),
                MaxRoadLength - draft.totalLength());
        if (s.value(QStringLiteral("is_curved")).toBool()) {
            // The sign gives the direction; the magnitude has its own range.
            const double radius
                = readNumber(s.value(QStringLiteral("radius")), 0.0, -MaxRadius, MaxRadius);
            section.type = radius < 0 ? RightCurve : LeftCurve;
            section.radius = qBound(MinRadius, std::abs(radius), MaxRadius);
        } else {
            section.type = Straight;
        }
        draft.sections.append(section);
    }
    return draft;
}

QJsonObject RoadDraft::toJson() const
{
    QJsonObject parts;
    parts.insert(QStringLiteral("0"), partJson(false, medianWidth));
    for (int i = 0; i < left.size(); ++i)
        parts.insert(QString::number(i + 1), partJson(left.at(i).type == Lane, left.at(i).width));
    for (int i = 0; i < right.size(); ++i)
        parts.insert(
            QString::number(-i - 1), partJson(right.at(i).type == Lane, right.at(i).width));

    QJsonArray array;
    for (const Section &s : sections) {
        double radius = 0.0;
        if (s.type == LeftCurve)
            radius = s.radius;
        else if (s.type == RightCurve)
            radius = -s.radius;
        array.append(QJsonObject { { QStringLiteral("is_curved"), s.type != Straight },
            { QStringLiteral("length"), s.length }, { QStringLiteral("radius"), radius } });
    }
    return QJsonObject { { QStringLiteral("origin_offset"), originOffset },
        { QStringLiteral("parts"), parts }, { QStringLiteral("sections"), array } };
}

double RoadDraft::totalLength() const
{
    double total = 0.0;
    for (const Section &s : sections)
        total += s.length;
    return total;
}

double RoadDraft::maxSectionLength(int index) const
{
    const double others = totalLength() - sections.value(index).length;
    return qBound(MinLength, std::floor((MaxRoadLength - others) * 100.0) / 100.0, MaxLength);
}

bool RoadDraft::canAddPart(bool onLeft) const
{
    return (onLeft ? left : right).size() < MaxPartsPerSide;
}

bool RoadDraft::canAddSection() const
{
    return totalLength() + MinLength <= MaxRoadLength;
}
