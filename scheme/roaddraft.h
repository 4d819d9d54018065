#pragma once

#include <QJsonObject>
#include <QVector>

// The road configuration as the editor presents it: the median strip, the parts on
// each side counted outwards, the sections in order and the Y offset, every value held
// within the editor's ranges and to the centimetre. Converts to and from the road
// configuration JSON.
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

    static constexpr double MinWidth = 0.0;
    static constexpr double MaxWidth = 10.0;
    static constexpr double MinLength = 0.1;
    static constexpr double MaxLength = 500.0;
    static constexpr double MinRadius = 10.0;
    static constexpr double MaxRadius = 10000.0;
    static constexpr double MaxOffset = 50.0;
    // The road builder's own limits, kept here so the editor never writes more.
    static const int MaxPartsPerSide;
    static const double MaxRoadLength;

    static double defaultWidth(PartType type);

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
