#include "canmessage.h"

#include <QtTest>

#include <memory>

class TestCanMessage : public QObject
{
    Q_OBJECT

private slots:
    void extract_data();
    void extract();
    void roundTrip_data();
    void roundTrip();
    void constructorClampsAndZeroes_data();
    void constructorClampsAndZeroes();
    void copyData();
    void outgoingWireOrder();
    void payloadIsBigEndianWireOrder();
};

void TestCanMessage::extract_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("extracted");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("length");
    QTest::addColumn<quint64>("payload");

    QTest::newRow("empty") << QByteArray() << false << 0 << 0 << quint64(0);
    QTest::newRow("two bytes") << QByteArray::fromHex("0610") << false << 0 << 0 << quint64(0);
    QTest::newRow("length 0 in three bytes")
        << QByteArray::fromHex("06ab00") << true << 0x6AB << 0 << quint64(0);
    QTest::newRow("length 9 refused")
        << QByteArray::fromHex("061009000102030405060708") << false << 0 << 0 << quint64(0);
    QTest::newRow("length 255 refused")
        << QByteArray::fromHex("0610ff00") << false << 0 << 0 << quint64(0);
    QTest::newRow("exactly length + 2 bytes")
        << QByteArray::fromHex("06100800010203040506") << false << 0 << 0 << quint64(0);
    QTest::newRow("length 8 whole") << QByteArray::fromHex("06100811223344556677 88") << true
                                    << 0x610 << 8 << Q_UINT64_C(0x1122334455667788);
    QTest::newRow("length 2 with trailing bytes")
        << QByteArray::fromHex("0500 02 abcd ffff") << true << 0x500 << 2 << quint64(0xABCD);
    QTest::newRow("identifier above 11 bits")
        << QByteArray::fromHex("ffff 01 7f") << true << 0xFFFF << 1 << quint64(0x7F);
}

void TestCanMessage::extract()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, extracted);
    QFETCH(int, id);
    QFETCH(int, length);
    QFETCH(quint64, payload);

    std::unique_ptr<CanMessage> message(
        CanMessage::extract(reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size()));
    QCOMPARE(bool(message), extracted);
    if (!message)
        return;
    QCOMPARE(int(message->id), id);
    QCOMPARE(int(message->length), length);
    QCOMPARE(message->payload(), payload);
}

void TestCanMessage::roundTrip_data()
{
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("length 0") << QByteArray::fromHex("03ff00");
    QTest::newRow("length 1") << QByteArray::fromHex("060101a5");
    QTest::newRow("length 5") << QByteArray::fromHex("0500050102030405");
    QTest::newRow("length 8") << QByteArray::fromHex("064f08f0e1d2c3b4a59687");
}

void TestCanMessage::roundTrip()
{
    QFETCH(QByteArray, wire);
    std::unique_ptr<CanMessage> message(
        CanMessage::extract(reinterpret_cast<const quint8 *>(wire.constData()), wire.size()));
    QVERIFY(message);
    QCOMPARE(message->serialize(), wire);
}

void TestCanMessage::constructorClampsAndZeroes_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("nullSource");
    QTest::addColumn<int>("expectedLength");
    QTest::addColumn<quint64>("payload");

    QTest::newRow("null source") << 8 << true << 8 << quint64(0);
    QTest::newRow("length 0") << 0 << false << 0 << quint64(0);
    QTest::newRow("length 12 clamped") << 12 << false << 8 << Q_UINT64_C(0x0102030405060708);
    QTest::newRow("length 8") << 8 << false << 8 << Q_UINT64_C(0x0102030405060708);
}

void TestCanMessage::constructorClampsAndZeroes()
{
    QFETCH(int, length);
    QFETCH(bool, nullSource);
    QFETCH(int, expectedLength);
    QFETCH(quint64, payload);

    const quint8 source[12] = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };
    const CanMessage message(0x123, quint8(length), nullSource ? nullptr : source, true);
    QCOMPARE(int(message.length), expectedLength);
    QCOMPARE(message.payload(), payload);
}

void TestCanMessage::copyData()
{
    const quint8 source[4] = { 1, 2, 3, 4 };
    quint8 straight[4] = {};
    quint8 reversed[4] = {};
    CanMessage::doCopyData(straight, source, 4, false);
    CanMessage::doCopyData(reversed, source, 4, true);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(straight), 4), QByteArray::fromHex("01020304"));
    QCOMPARE(QByteArray(reinterpret_cast<char *>(reversed), 4), QByteArray::fromHex("04030201"));
}

void TestCanMessage::outgoingWireOrder()
{
    // Outgoing frames are laid out in memory as data[0..7] and go out data[7] first.
    const quint8 memory[8] = { 0, 0x28, 0x02, 0, 0, 0x20, 0, 0 };
    const CanMessage message(0x4F2, 8, memory, false);
    QCOMPARE(message.serialize(), QByteArray::fromHex("04f2080000200000022800"));
}

void TestCanMessage::payloadIsBigEndianWireOrder()
{
    const QByteArray wire = QByteArray::fromHex("061008 8000000000000000 01");
    std::unique_ptr<CanMessage> message(
        CanMessage::extract(reinterpret_cast<const quint8 *>(wire.constData()), wire.size()));
    QVERIFY(message);
    QCOMPARE(message->payload(), Q_UINT64_C(0x8000000000000000));
    QCOMPARE(int(message->data[7]), 0x80);
    QCOMPARE(int(message->data[0]), 0x00);
}

QTEST_GUILESS_MAIN(TestCanMessage)
#include "tst_canmessage.moc"
