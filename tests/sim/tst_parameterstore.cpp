#include "parameterstore.h"

#include <QJsonArray>
#include <QTest>

using PS = ParameterStore;

class TestParameterStore : public QObject
{
    Q_OBJECT

private slots:
    void write_data();
    void write();
    void saveAndRevert();
    void revertPolygons();
    void jsonRoundTrip();
    void loadSavedRefuses_data();
    void loadSavedRefuses();
    void loadSavedSkipsBadEntries();
};

void TestParameterStore::write_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("number");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("error");

    QTest::newRow("sensitivity 100") << 148 << 4 << qint64(100) << int(PS::NoError);
    QTest::newRow("sensitivity 101") << 148 << 4 << qint64(101) << int(PS::ValueOutOfRange);
    QTest::newRow("sensitivity -1") << 148 << 4 << qint64(-1) << int(PS::ValueOutOfRange);
    QTest::newRow("frequency index 15") << 65 << 36 << qint64(15) << int(PS::NoError);
    QTest::newRow("sensitivity under another number")
        << 148 << 5 << qint64(1) << int(PS::UnknownParameter);
    QTest::newRow("treat parameter of polygon 7, param 1")
        << 70 << 25 << qint64(255) << int(PS::NoError);
    QTest::newRow("number 26 is no treat parameter")
        << 70 << 26 << qint64(1) << int(PS::UnknownParameter);
    QTest::newRow("speed parameter 3 of polygon 7")
        << 70 << 89 << qint64(-300000000) << int(PS::NoError);
    QTest::newRow("number 42 is no speed parameter")
        << 70 << 42 << qint64(1) << int(PS::UnknownParameter);
    QTest::newRow("point parameter 15 of polygon 7")
        << 71 << 191 << qint64(2000000000) << int(PS::NoError);
    QTest::newRow("number 64 is no point parameter")
        << 71 << 64 << qint64(1) << int(PS::UnknownParameter);
    QTest::newRow("calibration state is read-only")
        << 254 << 1 << qint64(1) << int(PS::ReadOnlyParameter);
    QTest::newRow("current calibration is read-only")
        << 254 << 16 << qint64(1) << int(PS::ReadOnlyParameter);
    QTest::newRow("last calibration parameter")
        << 254 << 12 << qint64(-2147483648LL) << int(PS::NoError);
    QTest::newRow("debug variable 200") << 255 << 200 << qint64(2147483647) << int(PS::NoError);
    QTest::newRow("unknown action 77") << 77 << 0 << qint64(0) << int(PS::UnknownParameter);
}

void TestParameterStore::write()
{
    QFETCH(int, action);
    QFETCH(int, number);
    QFETCH(qint64, value);
    QFETCH(int, error);
    PS store;
    QCOMPARE(int(store.write(quint8(action), quint8(number), value)), error);
    qint32 read = 0;
    const PS::Error readError = store.read(quint8(action), quint8(number), &read);
    if (error == PS::NoError)
        QCOMPARE(qint64(read), value);
    else if (error == PS::UnknownParameter)
        QCOMPARE(readError, PS::UnknownParameter);
    else
        QVERIFY(qint64(read) != value);
}

void TestParameterStore::saveAndRevert()
{
    PS store;
    QCOMPARE(store.value(148, 4), 50);
    QCOMPARE(store.write(148, 4, 40), PS::NoError);
    QCOMPARE(store.write(151, 0, 3), PS::NoError);
    RadarPosition p;
    p.azimuth = 9000;
    store.setPosition(p);
    store.save();
    QCOMPARE(store.write(148, 4, 77), PS::NoError);
    p.azimuth = 100;
    store.setPosition(p);
    store.revertToSaved();
    QCOMPARE(store.value(148, 4), 40);
    QCOMPARE(store.position().azimuth, quint16(9000));
    // Operating modes are never saved.
    QCOMPARE(store.value(151, 0), 0);
}

void TestParameterStore::revertPolygons()
{
    PS store;
    QCOMPARE(store.write(70, 2, 9), PS::NoError);
    store.save();
    QCOMPARE(store.write(70, 2, 10), PS::NoError);
    QCOMPARE(store.write(71, 5, 123), PS::NoError);
    QCOMPARE(store.write(148, 4, 60), PS::NoError);
    store.revertPolygons();
    QCOMPARE(store.value(70, 2), 9);
    QCOMPARE(store.value(71, 5), 0);
    QCOMPARE(store.value(148, 4), 60);
}

void TestParameterStore::jsonRoundTrip()
{
    PS store;
    QCOMPARE(store.write(65, 36, 7), PS::NoError);
    QCOMPARE(store.write(71, 130, -1234567), PS::NoError);
    QCOMPARE(store.write(255, 3, 99), PS::NoError);
    RadarPosition p;
    p.height = -300;
    p.yOffset = 250;
    p.roll = 35999;
    store.setPosition(p);
    store.save();

    PS loaded;
    QString error;
    int skipped = -1;
    QVERIFY2(loaded.loadSaved(store.savedToJson(), &error, &skipped), qPrintable(error));
    QCOMPARE(skipped, 0);
    QCOMPARE(loaded.value(65, 36), 7);
    QCOMPARE(loaded.value(71, 130), -1234567);
    QCOMPARE(loaded.value(255, 3), 0); // debug variables are volatile
    QVERIFY(loaded.position() == p);
}

void TestParameterStore::loadSavedRefuses_data()
{
    QTest::addColumn<QJsonObject>("document");
    QTest::newRow("empty object") << QJsonObject();
    QTest::newRow("foreign format")
        << QJsonObject { { "format", "something else" }, { "version", 1 } };
    QTest::newRow("future version")
        << QJsonObject { { "format", "vantor-radar-sim state" }, { "version", 2 } };
}

void TestParameterStore::loadSavedRefuses()
{
    QFETCH(QJsonObject, document);
    PS store;
    QCOMPARE(store.write(148, 4, 42), PS::NoError);
    QString error;
    QVERIFY(!store.loadSaved(document, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(store.value(148, 4), 42);
}

void TestParameterStore::loadSavedSkipsBadEntries()
{
    const QJsonObject parameters { { "148/4", 30 }, { "148/4/1", 1 }, { "65/36", 16 },
        { "65/36.5", 1 }, { "x/y", 1 }, { "70/2", 1.5 }, { "70/3", "7" }, { "151/0", 2 },
        { "300/1", 1 }, { "254/8", QJsonArray() } };
    const QJsonObject position { { "height", 200000 }, { "azimuth", 18000 }, { "roll", -1 } };
    const QJsonObject document { { "format", "vantor-radar-sim state" }, { "version", 1 },
        { "parameters", parameters }, { "position", position } };
    PS store;
    QString error;
    int skipped = 0;
    QVERIFY2(store.loadSaved(document, &error, &skipped), qPrintable(error));
    QCOMPARE(skipped, 11);
    QCOMPARE(store.value(148, 4), 30);
    QCOMPARE(store.value(65, 36), 3);
    QCOMPARE(store.position().azimuth, quint16(18000));
    QCOMPARE(store.position().height, RadarPosition().height);
    QCOMPARE(store.position().roll, quint16(0));
}

QTEST_GUILESS_MAIN(TestParameterStore)
#include "tst_parameterstore.moc"
