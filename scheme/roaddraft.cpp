#include "roaddraft.h"

#include "roadbuilder.h"

#include <QJsonArray>
#include <QtMath>

#include <cmath>

const int RoadDraft::MaxPartsPerSide = RoadBuilder::MaxPartsPerSide;
const double RoadDraft::MaxRoadLength = RoadBuilder::MaxRoadLength;

namespace {
// Centimetres, as the editor shows; NaN and infinities fall back to the minimum.
double bounded(double value, double min, double max)
{
    if (!qIsFinite(value))
        return min;
    return qBound(min, std::round(value * 100.0) / 100.0, max);
}

QVector<RoadDraft::Part> readSide(const QJsonObject &parts, int sign)
{
    QVector<RoadDraft::Part> side;
    for (int i = 1; i <= RoadDraft::MaxPartsPerSide; ++i) {
        const QJsonObject part = parts.value(QString::number(sign * i)).toObject();
        const QJsonObject other = parts.value(QString::number(-sign * i)).toObject();
        // The builder stops at the first number missing on both sides.
        if (part.isEmpty() && other.isEmpty())
            break;
        if (part.isEmpty())
            continue;
        RoadDraft::Part p;
        p.type = part.value(QStringLiteral("is_lane")).toBool() ? RoadDraft::Lane
                                                                : RoadDraft::MedianStrip;
        p.width = bounded(part.value(QStringLiteral("width")).toDouble(), RoadDraft::MinWidth,
            RoadDraft::MaxWidth);
        side.append(p);
    }
    // A strip that is not a lane is a roadside when nothing lies beyond it.
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

RoadDraft RoadDraft::fromJson(const QJsonObject &config)
{
    RoadDraft draft;
    draft.originOffset
        = bounded(config.value(QStringLiteral("origin_offset")).toDouble(), -MaxOffset, MaxOffset);
    const QJsonObject parts = config.value(QStringLiteral("parts")).toObject();
    draft.medianWidth = bounded(
        parts.value(QStringLiteral("0")).toObject().value(QStringLiteral("width")).toDouble(),
        MinWidth, MaxWidth);
    draft.left = readSide(parts, 1);
    draft.right = readSide(parts, -1);

    const QJsonArray sections = config.value(QStringLiteral("sections")).toArray();
    for (const QJsonValue &value : sections) {
        if (!draft.canAddSection())
            break;
        const QJsonObject s = value.toObject();
        Section section;
        section.length
            = qMin(bounded(s.value(QStringLiteral("length")).toDouble(), MinLength, MaxLength),
                MaxRoadLength - draft.totalLength());
        const double radius = s.value(QStringLiteral("radius")).toDouble();
        if (s.value(QStringLiteral("is_curved")).toBool()) {
            section.type = radius < 0 ? RightCurve : LeftCurve;
            section.radius = bounded(std::abs(radius), MinRadius, MaxRadius);
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
