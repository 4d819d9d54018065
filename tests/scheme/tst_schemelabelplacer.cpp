#include "schemelabelplacer.h"

#include <QtTest>

using Label = SchemeLabelPlacer::Label;
using Placement = SchemeLabelPlacer::Placement;

namespace {

const QSizeF FullSize(80, 15);
const QSizeF BriefSize(20, 15);

// Cars of 18 x 8 px (horizontal road) or 8 x 18 px (vertical road) at the given centres.
QVector<Label> cars(const QVector<QPointF> &centres, bool vertical)
{
    const QSizeF body = vertical ? QSizeF(8, 18) : QSizeF(18, 8);
    QVector<Label> labels;
    for (const QPointF &c : centres) {
        QRectF r(QPointF(), body);
        r.moveCenter(c);
        labels.append({ r, FullSize, BriefSize });
    }
    return labels;
}

// Distance between a point and a rectangle, zero inside it.
double distance(const QPointF &p, const QRectF &r)
{
    const double dx = qMax(0.0, qMax(r.left() - p.x(), p.x() - r.right()));
    const double dy = qMax(0.0, qMax(r.top() - p.y(), p.y() - r.bottom()));
    return std::hypot(dx, dy);
}

} // namespace

class TestSchemeLabelPlacer : public QObject
{
    Q_OBJECT

private slots:
    void place_data();
    void place();
};

void TestSchemeLabelPlacer::place_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QVector<QPointF>>("centres");
    QTest::addColumn<int>("minShown");
    QTest::addColumn<int>("minFullBeside"); // shown in full, right beside the object
    QTest::addColumn<bool>("clear"); // no label covers an object

    QTest::newRow("far apart: all in full beside their objects")
        << false << QVector<QPointF> { { 100, 200 }, { 300, 200 }, { 500, 300 } } << 3 << 3 << true;
    QTest::newRow("two lanes side by side")
        << false << QVector<QPointF> { { 200, 200 }, { 205, 212 } } << 2 << 2 << true;
    QTest::newRow("one spot, two objects")
        << false << QVector<QPointF> { { 200, 200 }, { 200, 200 } } << 2 << 2 << true;
    QTest::newRow("queue along a vertical road")
        << true << QVector<QPointF> { { 100, 100 }, { 100, 122 }, { 100, 144 }, { 100, 166 } } << 4
        << 1 << true;
    QTest::newRow("queue along a horizontal road")
        << false << QVector<QPointF> { { 100, 300 }, { 122, 300 }, { 144, 300 }, { 166, 300 } } << 4
        << 1 << true;
    QTest::newRow("objects at the view's edges")
        << false << QVector<QPointF> { { 2, 2 }, { 12, 6 }, { 638, 478 }, { 630, 470 } } << 4 << 1
        << true;

    QVector<QPointF> jam;
    for (int lane = 0; lane < 4; ++lane) {
        for (int k = 0; k < 16; ++k)
            jam << QPointF(40 + k * 36 + lane * 5, 100 + lane * 12);
    }
    QTest::newRow("64 objects in a jam") << false << jam << 56 << 4 << false;
    QVector<QPointF> column;
    for (const QPointF &p : qAsConst(jam))
        column << QPointF(p.y() * 3, p.x() * 0.8);
    QTest::newRow("64 objects in a jam, vertical") << true << column << 32 << 8 << false;
}

void TestSchemeLabelPlacer::place()
{
    QFETCH(bool, vertical);
    QFETCH(QVector<QPointF>, centres);
    QFETCH(int, minShown);
    QFETCH(int, minFullBeside);
    QFETCH(bool, clear);

    const QRectF bounds(0, 0, 640, 480);
    const QVector<Label> labels = cars(centres, vertical);
    const QVector<Placement> placed = SchemeLabelPlacer(bounds, vertical).place(labels);
    QCOMPARE(placed.size(), labels.size());

    int shown = 0;
    int fullBeside = 0;
    for (int i = 0; i < placed.size(); ++i) {
        const Placement &p = placed.at(i);
        if (!p.shown)
            continue;
        ++shown;
        const QRectF &object = labels.at(i).object;
        QCOMPARE(p.rect.size(), p.brief ? BriefSize : FullSize);
        QVERIFY2(bounds.contains(p.rect), qPrintable(QString::number(i)));
        for (int j = 0; j < i; ++j)
            QVERIFY2(!placed.at(j).shown || !placed.at(j).rect.intersects(p.rect),
                qPrintable(QStringLiteral("labels %1 and %2 overlap").arg(j).arg(i)));

        for (int j = 0; clear && j < labels.size(); ++j)
            QVERIFY2(!labels.at(j).object.intersects(p.rect),
                qPrintable(QStringLiteral("label %1 covers object %2").arg(i).arg(j)));

        // Tied to its object: beside it, or joined to it by a leader line.
        const double g = SchemeLabelPlacer::Gap + 1.0;
        if (p.leader.isNull()) {
            QVERIFY2(p.rect.adjusted(-g, -g, g, g).intersects(object),
                qPrintable(QStringLiteral("label %1 is away from its object").arg(i)));
            if (!p.brief)
                ++fullBeside;
        } else {
            QVERIFY(distance(p.leader.p1(), p.rect) < 0.01);
            QVERIFY(distance(p.leader.p2(), object) < 0.01);
            // The line starts at the label's edge, not inside it.
            const QRectF inner = p.rect.adjusted(0.01, 0.01, -0.01, -0.01);
            QVERIFY(!inner.contains(p.leader.p1()));
        }
    }
    QVERIFY2(shown >= minShown, qPrintable(QString::number(shown)));
    QVERIFY2(fullBeside >= minFullBeside, qPrintable(QString::number(fullBeside)));
}

QTEST_GUILESS_MAIN(TestSchemeLabelPlacer)
#include "tst_schemelabelplacer.moc"
