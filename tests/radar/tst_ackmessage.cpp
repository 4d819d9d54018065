#include "ackmessage.h"

#include <QtTest>

#include <memory>

class TestAckMessage : public QObject
{
    Q_OBJECT

private slots:
    void extract_data();
    void extract();
    void serializeRoundTrip();
};

void TestAckMessage::extract_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<quint16>>("ids");
    QTest::addColumn<bool>("extracted");
    QTest::addColumn<int>("byte2");
    QTest::addColumn<int>("result");

    const QList<quint16> typeQ { 0x4F0 };
    QTest::newRow("accepted type Q") << QByteArray::fromHex("04f00000") << typeQ << true << 0 << 0;
    QTest::newRow("busy") << QByteArray::fromHex("04f012ff") << typeQ << true << 0x12 << 255;
    QTest::newRow("error code") << QByteArray::fromHex("04f00007 0610") << typeQ << true << 0 << 7;
    QTest::newRow("three bytes") << QByteArray::fromHex("04f000") << typeQ << false << 0 << 0;
    QTest::newRow("identifier not listed")
        << QByteArray::fromHex("03f00000") << typeQ << false << 0 << 0;
    QTest::newRow("empty list accepts any")
        << QByteArray::fromHex("06100801") << QList<quint16>() << true << 8 << 1;
}

void TestAckMessage::extract()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<quint16>, ids);
    QFETCH(bool, extracted);
    QFETCH(int, byte2);
    QFETCH(int, result);

    std::unique_ptr<AckMessage> ack(AckMessage::extract(
        reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size(), ids));
    QCOMPARE(bool(ack), extracted);
    if (!ack)
        return;
    QCOMPARE(int(ack->byte2), byte2);
    QCOMPARE(int(ack->result), result);
    QCOMPARE(ack->serialize(), bytes.left(4));
}

void TestAckMessage::serializeRoundTrip()
{
    const AckMessage ack(0x3F0, 0x5A, 0xFF);
    QCOMPARE(ack.serialize(), QByteArray::fromHex("03f05aff"));
    QVERIFY(!AckMessage::extract(nullptr, 4, {}));
}

QTEST_GUILESS_MAIN(TestAckMessage)
#include "tst_ackmessage.moc"
