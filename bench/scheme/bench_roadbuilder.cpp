#include "roadbuilder.h"

#include <QJsonArray>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

// Keeps its own copy of everything a build hands out, as the road's consumers do.
class RoadReceiver : public QObject
{
public:
    explicit RoadReceiver(RoadBuilder *builder)
    {
        connect(builder, &RoadBuilder::applyingRoadStarted, this,
            [this](const QRectF &dimensions, const QPointF &shift) {
                m_dimensions = dimensions;
                m_shift = shift;
            });
        connect(builder, &RoadBuilder::roadAxisLine, this,
            [this](const QPolygonF &axis) { m_axis = axis; });
        connect(builder, &RoadBuilder::laneBorderLines, this,
            [this](const QList<QPolygonF> &lines) { m_laneBorders = lines; });
        connect(builder, &RoadBuilder::roadBorderLines, this,
            [this](const QList<QPolygonF> &lines) { m_roadBorders = lines; });
        connect(builder, &RoadBuilder::laneCenterLines, this,
            [this](const QMap<int, QPolygonF> &lines) { m_laneCentres = lines; });
        connect(builder, &RoadBuilder::distanceLines, this,
            [this](const QMap<int, QPolygonF> &lines) { m_distances = lines; });
        connect(builder, &RoadBuilder::roadTanAngles, this,
            [this](const QMap<int, double> &angles) { m_angles = angles; });
        connect(builder, &RoadBuilder::applyingRoadFinished, this, [this] { ++m_roads; });
    }

    int roads() const { return m_roads; }
    int marks() const { return m_distances.size(); }

private:
    QRectF m_dimensions;
    QPointF m_shift;
    QPolygonF m_axis;
    QList<QPolygonF> m_laneBorders;
    QList<QPolygonF> m_roadBorders;
    QMap<int, QPolygonF> m_laneCentres;
    QMap<int, QPolygonF> m_distances;
    QMap<int, double> m_angles;
    int m_roads = 0;
};

// 10 km: four 3.5 m lanes and a 2 m roadside on each side of a 1 m median strip,
// 20 straight sections and 20 left and right arcs of 250 m each.
QJsonObject tenKilometreRoad()
{
    QJsonObject parts { { "0", QJsonObject { { "width", 1.0 }, { "is_lane", false } } } };
    for (int i = 1; i <= 5; ++i) {
        const QJsonObject part { { "width", i == 5 ? 2.0 : 3.5 }, { "is_lane", i != 5 } };
        parts[QString::number(i)] = part;
        parts[QString::number(-i)] = part;
    }
    QJsonArray sections;
    const double radii[] = { 800.0, -1200.0, 2000.0, -600.0 };
    for (int i = 0; i < 20; ++i) {
        sections.append(
            QJsonObject { { "is_curved", false }, { "length", 250.0 }, { "radius", 0 } });
        sections.append(
            QJsonObject { { "is_curved", true }, { "length", 250.0 }, { "radius", radii[i % 4] } });
    }
    return { { "origin_offset", 1.5 }, { "parts", parts }, { "sections", sections } };
}

void buildTenKilometreRoad(benchmark::State &state)
{
    const QJsonObject config = tenKilometreRoad();
    RoadBuilder builder;
    RoadReceiver receiver(&builder);
    for (auto _ : state)
        builder.setRoadConfig(config);
    if (receiver.marks() != 10005)
        state.SkipWithError("unexpected number of marks");
    state.counters["marks"] = receiver.marks();
    state.SetItemsProcessed(state.iterations() * receiver.marks());
}

} // namespace

BENCHMARK(buildTenKilometreRoad)->Unit(benchmark::kMillisecond);
