#include "objectcolor.h"

#include <QtTest>

class TestObjectColor : public QObject
{
    Q_OBJECT

private slots:
    void palette_data();
    void palette();
    void wrapsAround_data();
    void wrapsAround();
    void defaultIsInvalid();
};

void TestObjectColor::palette_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QColor>("body");
    QTest::addColumn<QColor>("label");

    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    const struct
    {
        QColor body;
        bool whiteText;
    } rows[ObjectColor::PaletteSize] = {
        { { 255, 255, 255 }, false },
        { { 255, 255, 0 }, false },
        { { 255, 0, 255 }, false },
        { { 0, 255, 255 }, false },
        { { 255, 0, 0 }, true },
        { { 0, 255, 0 }, false },
        { { 0, 0, 255 }, true },
        { { 255, 255, 127 }, false },
        { { 255, 127, 255 }, false },
        { { 127, 255, 255 }, false },
        { { 255, 127, 127 }, false },
        { { 127, 255, 127 }, false },
        { { 127, 127, 255 }, true },
        { { 255, 127, 0 }, false },
        { { 255, 0, 127 }, true },
        { { 0, 255, 127 }, false },
        { { 0, 127, 255 }, true },
        { { 127, 0, 255 }, true },
        { { 127, 255, 0 }, false },
        { { 159, 159, 159 }, false },
        { { 127, 127, 0 }, true },
        { { 127, 0, 127 }, true },
        { { 0, 127, 127 }, true },
        { { 127, 0, 0 }, true },
        { { 0, 127, 0 }, true },
    };
    for (int id = 0; id < ObjectColor::PaletteSize; ++id)
        QTest::addRow("id %d", id) << id << rows[id].body << (rows[id].whiteText ? white : black);
}

void TestObjectColor::palette()
{
    QFETCH(int, id);
    QFETCH(QColor, body);
    QFETCH(QColor, label);

    const ObjectColor &base = ObjectColor::base(quint8(id));
    QVERIFY(base.isValid());
    QCOMPARE(base.rgba(), body.rgba());
    QCOMPARE(base.alpha(), 255);
    const ObjectColor &text = ObjectColor::text(quint8(id));
    QCOMPARE(text.rgba(), label.rgba());
    QCOMPARE(text.alpha(), 255);
    QCOMPARE(&base, &ObjectColor::s_bColors[id]);
    QCOMPARE(&text, &ObjectColor::s_tColors[id]);
}

void TestObjectColor::wrapsAround_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("sameAs");

    QTest::newRow("25 as 0") << 25 << 0;
    QTest::newRow("50 as 0") << 50 << 0;
    QTest::newRow("31 as 6") << 31 << 6;
    QTest::newRow("249 as 24") << 249 << 24;
    QTest::newRow("255 as 5") << 255 << 5;
}

void TestObjectColor::wrapsAround()
{
    QFETCH(int, id);
    QFETCH(int, sameAs);

    QCOMPARE(ObjectColor::base(quint8(id)), ObjectColor::base(quint8(sameAs)));
    QCOMPARE(ObjectColor::text(quint8(id)), ObjectColor::text(quint8(sameAs)));
    QCOMPARE(&ObjectColor::base(quint8(id)), &ObjectColor::base(quint8(sameAs)));
}

void TestObjectColor::defaultIsInvalid()
{
    QVERIFY(!ObjectColor().isValid());
}

QTEST_GUILESS_MAIN(TestObjectColor)
#include "tst_objectcolor.moc"
