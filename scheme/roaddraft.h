#pragma once

#include <QJsonObject>
#include <QVector>

// The road configuration as the editor shows it and the road builder draws it: the
// median strip, the parts on each side counted outwards, the sections in order and the
// Y offset, every value held within the ranges below and to the centimetre. Converts to
// and from the road configuration JSON.
class RoadDraft
{
public:
    enum PartType { MedianStrip, Lane, Roadside };
    enum SectionType { Straight, LeftCurve, RightCurve };

    struct Part
    {
        PartType type = Lane;
        double width = 3.5;
    };
    struct Section
    {
        SectionType type = Straight;
        double length = 100.0;
        double radius = 300.0; // magnitude; the type gives the sign
    };

    // These ranges bound every road value, in the editor and in the road builder alike:
    // wider than real roads need, narrow enough to keep the geometry finite.
    static constexpr double MinWidth = 0.0;
    // Real lanes stay under about 7 m (wide ramps, toll plazas); 15 m also allows one
    // lane drawn over a whole carriageway.
    static constexpr double MaxLaneWidth = 15.0;
    // Median strips and roadsides of motorways reach a few tens of metres.
    static constexpr double MaxStripWidth = 50.0;
    // One step of the editor; a section of no length would only hide a typo.
    static constexpr double MinLength = 0.1;
    // One straight or curve of a real road runs a few kilometres at most; the whole road
    // is bounded by MaxRoadLength.
    static constexpr double MaxLength = 10000.0;
    // Hairpins of public roads turn at about 10 m on the axis; tighter arcs are typos.
    static constexpr double MinRadius = 10.0;
    // Motorway curves reach about 10 km; at 50 km an arc departs from a straight by
    // 2.5 cm over 100 m, so a larger radius draws nothing different.
    static constexpr double MaxRadius = 50000.0;
    // A radar beside a wide motorway or interchange stands a few tens of metres from
    // the road axis; it sees nothing of a road farther than this.
    static constexpr double MaxOffset = 100.0;
    // Parts beyond this count on either side of the median strip are ignored, so that
    // the points per mark (and with them the memory of a long road) stay bounded.
    static constexpr int MaxPartsPerSide = 20;
    // Sections stop once their lengths add up to this many metres; a longer section is cut
    // short, so a typo such as a length of 1e12 cannot make the builder place billions of
    // marks.
    static constexpr double MaxRoadLength = 100000.0;

    static double defaultWidth(PartType type);
    static double maxWidth(PartType type);

    // The one reading of a road configuration, for the editor and the road builder: a
    // missing or mistyped value, NaN and the infinities take the field's default (0,
    // false, empty), then every number is rounded to the centimetre and held within its
    // range.
    static RoadDraft fromJson(const QJsonObject &config);
    QJsonObject toJson() const;

    double totalLength() const;
    // The longest the section at index may be without exceeding MaxRoadLength.
    double maxSectionLength(int index) const;
    bool canAddPart(bool left) const;
    bool canAddSection() const;

    double originOffset = 0.0;
    double medianWidth = 0.0;
    QVector<Part> left; // +Y side, innermost first
    QVector<Part> right; // -Y side, innermost first
    QVector<Section> sections;
};
