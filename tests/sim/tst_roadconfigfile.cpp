#include "roadconfigfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRoadConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void missingFile();
    void defaultRoadHasTwoLanesEachWay();
};

void TestRoadConfigFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("originOffset");

    QTest::newRow("road configuration")
        << QByteArray(R"({"origin_offset": 4, "parts": {"0": {"width": 1}}, "sections": []})")
        << true << 4.0;
    QTest::newRow("work-profile file, second profile current")
        << QByteArray(R"({"current_id": 1, "profiles": [
               {"view": {"traffic_scheme": {"road_config": {"origin_offset": 1, "parts": {}}}}},
               {"view": {"traffic_scheme": {"road_config": {"origin_offset": 2, "parts": {}}}}}]})")
        << true << 2.0;
    QTest::newRow("current_id out of range")
        << QByteArray(R"({"current_id": 5, "profiles": [{"view": {}}]})") << false << 0.0;
    QTest::newRow("current profile without road")
        << QByteArray(R"({"current_id": 0, "profiles": [{"name": "x"}]})") << false << 0.0;
    QTest::newRow("neither road nor profiles") << QByteArray(R"({"camera": 1})") << false << 0.0;
    QTest::newRow("JSON array") << QByteArray("[1, 2]") << false << 0.0;
    QTest::newRow("not JSON") << QByteArray("parts: 0") << false << 0.0;
    QTest::newRow("empty file") << QByteArray() << false << 0.0;
}

void TestRoadConfigFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, ok);
    QFETCH(double, originOffset);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("road.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();

    QJsonObject road { { "untouched", true } };
    QString error;
    QCOMPARE(RoadConfigFile::read(path, &road, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    if (ok)
        QCOMPARE(road.value(QStringLiteral("origin_offset")).toDouble(), originOffset);
    else
        QVERIFY(road.value(QStringLiteral("untouched")).toBool());
}

void TestRoadConfigFile::missingFile()
{
    QTemporaryDir dir;
    QJsonObject road;
    QString error;
    QVERIFY(!RoadConfigFile::read(dir.filePath(QStringLiteral("none.json")), &road, &error));
    QVERIFY(error.contains(QLatin1String("none.json")));
}

void TestRoadConfigFile::defaultRoadHasTwoLanesEachWay()
{
    const QJsonObject parts
        = RoadConfigFile::defaultRoad().value(QStringLiteral("parts")).toObject();
    int lanesLeft = 0;
    int lanesRight = 0;
    for (auto it = parts.constBegin(); it != parts.constEnd(); ++it) {
        if (!it.value().toObject().value(QStringLiteral("is_lane")).toBool())
            continue;
        (it.key().toInt() < 0 ? lanesRight : lanesLeft) += 1;
    }
    QCOMPARE(lanesLeft, 2);
    QCOMPARE(lanesRight, 2);
}

QTEST_GUILESS_MAIN(TestRoadConfigFile)
#include "tst_roadconfigfile.moc"
