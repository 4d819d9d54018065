#include "objectshelper.h"
#include "roadbuilder.h"
#include "roadschemepainter.h"

#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <random>

namespace {

const QColor Background(0, 0, 0);
const QColor Surface(34, 36, 40);

// A straight 100 m road with one 3.5 m lane and a 2 m roadside on each side.
QJsonObject straightRoad()
{
    const QJsonObject lane { { "is_lane", true }, { "width", 3.5 } };
    const QJsonObject roadside { { "is_lane", false }, { "width", 2 } };
    return { { "parts",
                 QJsonObject {
                     { "1", lane }, { "-1", lane }, { "2", roadside }, { "-2", roadside } } },
        { "sections", QJsonArray { QJsonObject { { "is_curved", false }, { "length", 100 } } } } };
}

void buildRoad(
    RoadBuilder &builder, RoadSchemePainter &painter, const QJsonObject &config = straightRoad())
{
    QObject::connect(&builder, &RoadBuilder::applyingRoadStarted,
        [&painter](const QRectF &r) { painter.setRoadRect(r); });
    QObject::connect(&builder, &RoadBuilder::roadAxisLine,
        [&painter](const QPolygonF &l) { painter.setRoadAxisLine(l); });
    QObject::connect(&builder, &RoadBuilder::laneBorderLines,
        [&painter](const QList<QPolygonF> &l) { painter.setLaneBorderLines(l); });
    QObject::connect(&builder, &RoadBuilder::roadBorderLines,
        [&painter](const QList<QPolygonF> &l) { painter.setRoadBorderLines(l); });
    QObject::connect(&builder, &RoadBuilder::distanceLines,
        [&painter](const QMap<int, QPolygonF> &l) { painter.setDistanceLines(l); });
    QObject::connect(&builder, &RoadBuilder::roadTanAngles,
        [&painter](const QMap<int, double> &a) { painter.setRoadTanAngles(a); });
    builder.setRoadConfig(config);
}

QImage render(RoadSchemePainter &painter, const QSize &size, qreal ratio = 1.0)
{
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    QPainter p(&image);
    painter.paint(p, size);
    return image;
}

// The greenest pixel within a pixel of the point: the exposure's line is 2 px wide, and
// thinner where the view is smaller than when it was exposed.
int greenAround(const QImage &image, const QPointF &point)
{
    int best = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx)
            best = qMax(best, image.pixelColor(point.toPoint() + QPoint(dx, dy)).green());
    }
    return best;
}

RoadObject car(quint8 id, double x, double y)
{
    RoadObject o;
    o.id = id;
    o.xSpeed = 10.0;
    o.xRange = x;
    o.yRange = y;
    o.length = 4.5;
    return o;
}

// Drives object 5 along the lane at Y = -1.75 m from X = 30 m to 70 m, exposing each step.
void drive(RoadSchemePainter &painter, const QSize &size)
{
    for (int x = 30; x <= 70; ++x) {
        painter.setObjects({ car(5, x, -1.75) });
        painter.exposeObjects(size);
    }
}

// The largest difference of a colour channel between two images of one size.
int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = a.pixel(x, y);
            const QRgb pb = b.pixel(x, y);
            largest = qMax(largest,
                qMax(qAbs(qRed(pa) - qRed(pb)),
                    qMax(qAbs(qGreen(pa) - qGreen(pb)), qAbs(qBlue(pa) - qBlue(pb)))));
        }
    }
    return largest;
}

// An average track along the lane at Y = -1.75 m, moved sideways by offset metres.
QMap<int, QPolygonF> averageTrack(double offset)
{
    QPolygonF line;
    for (int x = 0; x <= 100; ++x)
        line << QPointF(x, -1.75 + offset + 0.02 * std::sin(x / 7.0));
    return { { -1, line } };
}

// Eight vehicles on the two lanes of a road, 0.3 m a frame, with lateral noise of the given
// size (m); ObjectsHelper follows them, so their tracks grow and, past its point limit,
// lose their oldest points as in the program. A vehicle at the road's end starts anew.
class Traffic
{
public:
    Traffic(double noise, const QJsonObject &road)
        : m_noise(noise)
    {
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadStarted, &m_helper,
            &ObjectsHelper::startApplyingRoad);
        QObject::connect(&m_builder, &RoadBuilder::laneCenterLines, &m_helper,
            &ObjectsHelper::setLaneCenterLines);
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadFinished, &m_helper,
            &ObjectsHelper::finishApplyingRoad);
        m_builder.setRoadConfig(road);
    }

    void step(int f)
    {
        RoadObjectFrame frame;
        frame.cycleNumber = quint64(f);
        for (int i = 0; i < 8; ++i) {
            const double x = std::fmod(3.0 + i * 11.0 + f * 0.3, 95.0);
            const double y = (i % 2 ? 1.75 : -1.75) + m_gauss(m_random) * m_noise;
            frame.objects.append(car(quint8(i + 1), i % 2 ? 95.0 - x : x, y));
        }
        m_helper.sortFrame(frame);
    }

    QMap<quint8, QPolygonF> tracks() const { return m_helper.currentTrackMap(); }
    QVector<RoadObject> objects() const { return m_helper.sortedFrame().objects; }

private:
    double m_noise;
    std::mt19937 m_random { 3 };
    std::normal_distribution<double> m_gauss;
    RoadBuilder m_builder;
    ObjectsHelper m_helper;
};

} // namespace

class TestRoadSchemePainter : public QObject
{
    Q_OBJECT

private slots:
    void saysWhenNoRoad_data();
    void saysWhenNoRoad();
    void cachedLayerAtDevicePixelRatio_data();
    void cachedLayerAtDevicePixelRatio();
    void exposureSurvives_data();
    void exposureSurvives();
    void averageTracksAsDrawnAfresh_data();
    void averageTracksAsDrawnAfresh();
    void currentTracksAsDrawnAfresh_data();
    void currentTracksAsDrawnAfresh();
};

void TestRoadSchemePainter::saysWhenNoRoad_data()
{
    QTest::addColumn<bool>("built");
    QTest::addColumn<QJsonObject>("config");
    QTest::newRow("nothing built yet") << false << QJsonObject();
    QTest::newRow("empty configuration") << true << QJsonObject();
    QTest::newRow("sections without lanes")
        << true
        << QJsonObject { { "sections",
               QJsonArray { QJsonObject { { "is_curved", false }, { "length", 100 } } } } };
}

void TestRoadSchemePainter::saysWhenNoRoad()
{
    QFETCH(bool, built);
    QFETCH(QJsonObject, config);
    RoadBuilder builder;
    RoadSchemePainter painter;
    if (built)
        buildRoad(builder, painter, config);
    painter.setRadarPosition(QPointF(0, 0), 0.0);
    painter.setTracksDisplayMode(RoadSchemePainter::MixedMode);
    painter.setObjects({ car(5, 3, -1), car(6, 4, 1) });
    const QSize size(500, 200);
    const QImage image = render(painter, size);

    // Only the message is painted, centred in the view: the painted pixels fill the
    // message's own box.
    QRect painted;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != Background)
                painted |= QRect(x, y, 1, 1);
        }
    }
    QFont font;
    font.setPixelSize(13);
    const QRectF expected = QFontMetricsF(font).boundingRect(
        QRectF(QPointF(0, 0), QSizeF(size)).adjusted(10, 10, -10, -10),
        Qt::AlignCenter | Qt::TextWordWrap,
        RoadSchemePainter::tr("No road set up: View → Traffic scheme → Customize traffic scheme"));
    QVERIFY(!painted.isEmpty());
    QVERIFY2(expected.adjusted(-2, -2, 2, 2).contains(painted),
        qPrintable(QStringLiteral("%1,%2 %3x%4")
                       .arg(painted.x())
                       .arg(painted.y())
                       .arg(painted.width())
                       .arg(painted.height())));
    QVERIFY(painted.width() > expected.width() / 2);
}

void TestRoadSchemePainter::cachedLayerAtDevicePixelRatio_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::newRow("horizontal") << false;
    QTest::newRow("vertical") << true;
}

void TestRoadSchemePainter::cachedLayerAtDevicePixelRatio()
{
    QFETCH(bool, vertical);
    RoadBuilder builder;
    RoadSchemePainter painter;
    buildRoad(builder, painter);
    painter.setDrawVertical(vertical);
    painter.setRadarPosition(QPointF(0, 0), 0.0);
    const QSize size = vertical ? QSize(300, 600) : QSize(600, 300);

    const QImage single = render(painter, size);
    const QImage sharp = render(painter, size, 2.0);
    QCOMPARE(sharp.size(), size * 2);

    // An upscaled picture is made of uniform 2 x 2 blocks; one drawn at twice the
    // resolution has edges running through them.
    int detailed = 0;
    for (int y = 0; y < sharp.height(); y += 2) {
        for (int x = 0; x < sharp.width(); x += 2) {
            const QRgb c = sharp.pixel(x, y);
            if (sharp.pixel(x + 1, y) != c || sharp.pixel(x, y + 1) != c
                || sharp.pixel(x + 1, y + 1) != c)
                ++detailed;
        }
    }
    QVERIFY2(detailed > 2000, qPrintable(QString::number(detailed)));

    // Scaled back down it is the same scheme: only antialiased edges and text differ (a
    // scheme at the wrong scale or place differs by far more than this).
    QImage down = sharp.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    down.setDevicePixelRatio(1.0);
    qint64 difference = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QColor a = single.pixelColor(x, y);
            const QColor b = down.pixelColor(x, y);
            difference += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green())
                + qAbs(a.blue() - b.blue());
        }
    }
    const double perPixel = double(difference) / (size.width() * size.height());
    QVERIFY2(perPixel < 16.0, qPrintable(QString::number(perPixel)));
    // The road's surface in the middle of the lane is where it was.
    const QPointF lane = painter.mapping(size).toDevice(QPointF(52.5, -1.75));
    QCOMPARE(sharp.pixelColor((lane * 2).toPoint()), Surface);
    QCOMPARE(single.pixelColor(lane.toPoint()), Surface);
}

void TestRoadSchemePainter::exposureSurvives_data()
{
    QTest::addColumn<QSize>("after");
    QTest::addColumn<int>("modeAfter");
    QTest::addColumn<bool>("verticalAfter");
    QTest::addColumn<bool>("roadAgain");
    QTest::addColumn<bool>("kept");

    const QSize before(400, 200);
    const int stat = RoadSchemePainter::StatisticalMode;
    QTest::newRow("same size") << before << stat << false << false << true;
    QTest::newRow("wider") << QSize(700, 200) << stat << false << false << true;
    QTest::newRow("a panel collapsed: taller") << QSize(400, 420) << stat << false << false << true;
    QTest::newRow("the table shown: smaller") << QSize(300, 120) << stat << false << false << true;
    QTest::newRow("mixed mode") << before << int(RoadSchemePainter::MixedMode) << false << false
                                << true;
    QTest::newRow("drawn vertically") << QSize(200, 400) << stat << true << false << true;
    QTest::newRow("normal mode ends it")
        << before << int(RoadSchemePainter::NormalMode) << false << false << false;
    QTest::newRow("a new road ends it") << before << stat << false << true << false;
}

void TestRoadSchemePainter::exposureSurvives()
{
    QFETCH(QSize, after);
    QFETCH(int, modeAfter);
    QFETCH(bool, verticalAfter);
    QFETCH(bool, roadAgain);
    QFETCH(bool, kept);

    RoadBuilder builder;
    RoadSchemePainter painter;
    buildRoad(builder, painter);
    painter.setTracksDisplayMode(RoadSchemePainter::StatisticalMode);
    const QSize before(400, 200);
    render(painter, before);
    drive(painter, before);

    // The exposure lies along the lane where the object drove, in road coordinates.
    const QPointF exposed(52.5, -1.75);
    const QImage first = render(painter, before);
    QVERIFY(greenAround(first, painter.mapping(before).toDevice(exposed)) > Surface.green() + 40);

    painter.setTracksDisplayMode(modeAfter);
    painter.setDrawVertical(verticalAfter);
    if (roadAgain)
        builder.setRoadConfig(straightRoad());
    const QImage image = render(painter, after);
    const QPointF at = painter.mapping(after).toDevice(exposed);
    if (kept) {
        const int green = greenAround(image, at);
        QVERIFY2(green > Surface.green() + 20, qPrintable(QString::number(green)));
        // Beside the lane the surface stays as it was.
        const QPoint aside = painter.mapping(after).toDevice(QPointF(52.5, 1.75)).toPoint();
        QCOMPARE(image.pixelColor(aside), Surface);
    } else {
        QCOMPARE(greenAround(image, at), Surface.green());
    }
}

void TestRoadSchemePainter::averageTracksAsDrawnAfresh_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("offset");
    QTest::addColumn<int>("tolerance");

    // 100 m across 640 px: a metre is 6.4 px, a thousandth of one far below the slack.
    QTest::newRow("normal, moved a metre") << 0 << 1.0 << 0;
    QTest::newRow("normal, moved a millimetre") << 0 << 0.001 << 8;
    QTest::newRow("mixed, moved a metre") << 2 << 1.0 << 0;
    QTest::newRow("statistical, reset") << 1 << -1.0 << 0;
}

// A scheme that has drawn the average tracks before shows them as a new one draws them.
void TestRoadSchemePainter::averageTracksAsDrawnAfresh()
{
    QFETCH(int, mode);
    QFETCH(double, offset);
    QFETCH(int, tolerance);
    const QSize size(640, 200);

    RoadBuilder builder;
    RoadSchemePainter painter;
    buildRoad(builder, painter);
    painter.setShowAverageTracks(true);
    painter.setTracksDisplayMode(mode);
    painter.setAverageTracks(averageTrack(0.0));
    render(painter, size);
    // A negative offset stands for the tracks' reset.
    const QMap<int, QPolygonF> next = offset < 0 ? QMap<int, QPolygonF>() : averageTrack(offset);
    painter.setAverageTracks(next);
    const QImage drawn = render(painter, size);

    RoadBuilder freshBuilder;
    RoadSchemePainter fresh;
    buildRoad(freshBuilder, fresh);
    fresh.setShowAverageTracks(true);
    fresh.setTracksDisplayMode(mode);
    fresh.setAverageTracks(next);
    const QImage expected = render(fresh, size);

    QVERIFY(largestDifference(drawn, expected) <= tolerance);
    // The track is there at all: the new drawing differs from a scheme without it.
    if (!next.isEmpty()) {
        RoadBuilder bareBuilder;
        RoadSchemePainter bare;
        buildRoad(bareBuilder, bare);
        bare.setTracksDisplayMode(mode);
        QVERIFY(largestDifference(drawn, render(bare, size)) > 100);
    }
}

void TestRoadSchemePainter::currentTracksAsDrawnAfresh_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("noise");
    QTest::addColumn<QString>("change");

    QTest::newRow("normal") << false << 0 << 0.0 << "";
    QTest::newRow("normal, noise") << false << 0 << 0.1 << "";
    QTest::newRow("vertical, noise") << true << 0 << 0.1 << "";
    QTest::newRow("mixed, noise") << false << 2 << 0.1 << "";
    QTest::newRow("new size") << false << 0 << 0.1 << "size";
    QTest::newRow("turned vertical") << false << 0 << 0.1 << "orientation";
    QTest::newRow("turned horizontal") << true << 0 << 0.1 << "orientation";
    QTest::newRow("aspect ratio kept") << false << 0 << 0.1 << "aspect";
    QTest::newRow("longer road") << false << 0 << 0.1 << "road";
    QTest::newRow("tracks hidden and shown") << false << 0 << 0.1 << "hidden";
    QTest::newRow("statistical and back") << false << 2 << 0.1 << "statistical";
}

// A scheme that has drawn the current tracks frame by frame, keeping their simplified lines,
// shows the last frame as a new one draws it, also after a change of its size, orientation,
// road or settings.
void TestRoadSchemePainter::currentTracksAsDrawnAfresh()
{
    QFETCH(bool, vertical);
    QFETCH(int, mode);
    QFETCH(double, noise);
    QFETCH(QString, change);
    QSize size = vertical ? QSize(200, 640) : QSize(640, 200);
    QJsonObject road = straightRoad();

    RoadBuilder builder;
    RoadSchemePainter painter;
    buildRoad(builder, painter, road);
    painter.setDrawVertical(vertical);
    painter.setTracksDisplayMode(mode);
    // More frames than a track keeps points, so that tracks lose their oldest ones.
    Traffic traffic(noise, road);
    QVector<QVector<RoadObject>> frames;
    for (int f = 0; f < ObjectsHelper::MaxTrackPoints + 40; ++f) {
        traffic.step(f);
        frames.append(traffic.objects());
        painter.setObjects(frames.constLast());
        painter.setCurrentTracks(traffic.tracks());
        painter.exposeObjects(size);
        render(painter, size);
    }

    RoadBuilder changedBuilder;
    if (change == "size") {
        size += QSize(37, 11);
    } else if (change == "orientation") {
        vertical = !vertical;
        size.transpose();
        painter.setDrawVertical(vertical);
    } else if (change == "aspect") {
        painter.setKeepAspectRatio(true);
    } else if (change == "road") {
        road = straightRoad();
        road["sections"] = QJsonArray { QJsonObject { { "is_curved", false }, { "length", 150 } } };
        buildRoad(changedBuilder, painter, road);
    } else if (change == "hidden") {
        painter.setShowCurrentTracks(false);
        render(painter, size);
        painter.setShowCurrentTracks(true);
    } else if (change == "statistical") {
        painter.setTracksDisplayMode(RoadSchemePainter::StatisticalMode);
        render(painter, size);
        painter.setTracksDisplayMode(mode);
    }
    traffic.step(int(frames.size()));
    painter.setObjects(traffic.objects());
    painter.setCurrentTracks(traffic.tracks());
    const QImage drawn = render(painter, size);

    RoadBuilder freshBuilder;
    RoadSchemePainter fresh;
    buildRoad(freshBuilder, fresh, road);
    fresh.setDrawVertical(vertical);
    fresh.setKeepAspectRatio(change == "aspect");
    fresh.setTracksDisplayMode(mode);
    // The long exposure is not what is compared: the new scheme gets the same.
    if (mode != RoadSchemePainter::NormalMode) {
        for (const QVector<RoadObject> &objects : qAsConst(frames)) {
            fresh.setObjects(objects);
            fresh.exposeObjects(size);
        }
    }
    fresh.setObjects(traffic.objects());
    fresh.setCurrentTracks(traffic.tracks());
    const QImage expected = render(fresh, size);
    QCOMPARE(largestDifference(drawn, expected), 0);

    // The tracks are there at all.
    fresh.setShowCurrentTracks(false);
    QVERIFY(largestDifference(drawn, render(fresh, size)) > 100);
}

QTEST_MAIN(TestRoadSchemePainter)
#include "tst_roadschemepainter.moc"
