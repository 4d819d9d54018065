#include "pickupscene.h"
#include "pickupsearch.h"
#include "widepickupsearch.h"

#include <QList>
#include <QtTest>

#include <cmath>
#include <cstring>

namespace {

// The search as plainly as it can be written: every trial compared with every scored
// one, and inserted into a list kept in order.
CameraParams straightforwardPass(const PickupScene &scene, PickupSearch::Mode mode,
    const PickupSearch::Checkpoints &marks, bool refine, const CameraParams &start, bool *found)
{
    const bool withAngle = mode == PickupSearch::RadarPositionAndViewAngle;
    CameraParams current = refine ? start : CameraParams();
    CameraParams step;
    double tolerance = 0.005;
    if (refine) {
        step.yOffset = 4.0;
        step.height = 2.0;
        step.azimuth = 6.0;
        step.altitude = 3.0;
        step.viewAngle = 1.5;
    } else {
        current.yOffset = 0.0;
        current.height = 10.0;
        current.azimuth = 0.0;
        current.altitude = 15.0;
        current.viewAngle = 7.5;
        step.yOffset = 20.0;
        step.height = 10.0;
        step.azimuth = 30.0;
        step.altitude = 15.0;
        step.viewAngle = 7.5;
        tolerance = 0.5;
    }
    current.xOffset = scene.previous().xOffset;
    current.roll = 0.0;
    if (!withAngle) {
        current.viewAngle = scene.previous().viewAngle;
        step.viewAngle = 0.0;
    }
    const QVector<CameraParams> grid = PickupSearch::gridOffsets(mode);
    CameraModel model = scene.model();
    QList<CameraParams> candidates { current };
    while (step.azimuth > tolerance) {
        QList<QPair<double, CameraParams>> ranked;
        QList<CameraParams> scored;
        for (const CameraParams &candidate : candidates) {
            for (const CameraParams &m : grid) {
                CameraParams t = candidate;
                t.height += step.height * m.height;
                t.yOffset += step.yOffset * m.yOffset;
                t.azimuth += step.azimuth * m.azimuth;
                t.altitude += step.altitude * m.altitude;
                t.viewAngle += step.viewAngle * m.viewAngle;
                bool repeated = false;
                for (const CameraParams &s : scored) {
                    if (std::abs(s.xOffset - t.xOffset) < tolerance
                        && std::abs(s.yOffset - t.yOffset) < tolerance
                        && std::abs(s.height - t.height) < tolerance
                        && std::abs(s.azimuth - t.azimuth) < tolerance
                        && std::abs(s.altitude - t.altitude) < tolerance
                        && std::abs(s.roll - t.roll) < tolerance
                        && std::abs(s.viewAngle - t.viewAngle) < tolerance) {
                        repeated = true;
                        break;
                    }
                }
                if (repeated || !PickupSearch::applyTrial(model, t))
                    continue;
                scored.append(t);
                const double error = PickupSearch::score(model, marks, withAngle);
                int at = 0;
                while (at < ranked.size() && ranked.at(at).first <= error)
                    ++at;
                ranked.insert(at, { error, t });
            }
        }
        candidates.clear();
        if (ranked.isEmpty())
            break;
        for (int i = 0; i < ranked.size() && i < grid.size(); ++i)
            candidates.append(ranked.at(i).second);
        step.height /= 2;
        step.yOffset /= 2;
        step.azimuth /= 2;
        step.altitude /= 2;
        step.viewAngle /= 2;
    }
    *found = !candidates.isEmpty();
    return *found ? candidates.first() : CameraParams();
}

QString describe(const CameraParams &p)
{
    return QStringLiteral("x %1 y %2 h %3 az %4 alt %5 roll %6 half angle %7")
        .arg(p.xOffset)
        .arg(p.yOffset)
        .arg(p.height)
        .arg(p.azimuth)
        .arg(p.altitude)
        .arg(p.roll)
        .arg(p.viewAngle);
}

} // namespace

class TestPickupSearch : public QObject
{
    Q_OBJECT

private slots:
    void picksWhatTheStraightforwardSearchPicks_data();
    void picksWhatTheStraightforwardSearchPicks();
    void wideSearchEndsWhateverTheConfiguredAngle_data();
    void wideSearchEndsWhateverTheConfiguredAngle();
};

void TestPickupSearch::picksWhatTheStraightforwardSearchPicks_data()
{
    QTest::addColumn<PickupScene>("scene");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("refine");
    const QVector<PickupScene> scenes = PickupScene::samples();
    const char *names[] = { "near", "far", "wide" };
    for (int i = 0; i < scenes.size(); ++i) {
        for (bool refine : { false, true }) {
            QTest::addRow("%s, mode 1, %s", names[i], refine ? "refined" : "coarse")
                << scenes.at(i) << 1 << refine;
        }
    }
    // The straightforward mode 2 takes seconds per pass.
    QTest::newRow("near, mode 2, coarse") << scenes.at(0) << 2 << false;
}

void TestPickupSearch::picksWhatTheStraightforwardSearchPicks()
{
    QFETCH(PickupScene, scene);
    QFETCH(int, mode);
    QFETCH(bool, refine);
    const auto searchMode = static_cast<PickupSearch::Mode>(mode);
    PickupSearch::Checkpoints marks;
    QVERIFY(scene.checkpoints(&marks));

    PickupSearch search(scene.model(), searchMode, marks, scene.previous());
    CameraParams start;
    if (refine) {
        QVERIFY(search.run(false));
        start = search.picked();
    }
    QVERIFY(search.run(refine, start));

    bool found = false;
    const CameraParams expected
        = straightforwardPass(scene, searchMode, marks, refine, start, &found);
    QVERIFY(found);
    const CameraParams picked = search.picked();
    QVERIFY2(std::memcmp(&picked, &expected, sizeof(CameraParams)) == 0,
        qPrintable(describe(picked) + QStringLiteral(" instead of ") + describe(expected)));
}

void TestPickupSearch::wideSearchEndsWhateverTheConfiguredAngle_data()
{
    QTest::addColumn<double>("halfAngle");
    // No camera has a half view angle of 90 degrees or more; from 2^56 on, adding the grid
    // step of 4 degrees leaves the number as it is.
    QTest::newRow("90") << 90.0;
    QTest::newRow("1e17") << 1.0e17;
    QTest::newRow("1e300") << 1.0e300;
}

void TestPickupSearch::wideSearchEndsWhateverTheConfiguredAngle()
{
    QFETCH(double, halfAngle);
    const PickupScene scene = PickupScene::samples().first();
    PickupSearch::Checkpoints marks;
    QVERIFY(scene.checkpoints(&marks));
    CameraParams previous = scene.previous();
    previous.viewAngle = halfAngle;
    // In mode 1 the angle is not searched: one pass over the azimuths (-60 to 60 degrees in
    // steps of 5) and the altitudes (1 to 79 in steps of 3), no camera among them.
    WidePickupSearch search(scene.model(), PickupSearch::RadarPosition, marks, previous);
    QVERIFY(!search.run());
    QCOMPARE(search.evaluations(), 25 * 27);
}

QTEST_GUILESS_MAIN(TestPickupSearch)
#include "tst_pickupsearch.moc"
