#include "ackmessage.h"
#include "canmessage.h"
#include "framearea.h"

#include <QtTest>

class TestFrameArea : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
};

void TestFrameArea::split_data()
{
    QTest::addColumn<QByteArray>("area");
    QTest::addColumn<QList<quint16>>("ackIds");
    QTest::addColumn<QStringList>("expected"); // "A:<hex>" or "F:<hex>" in wire order
    QTest::addColumn<int>("consumed");

    const QList<quint16> q { 0x4F0 };
    const QList<quint16> p { 0x3F0 };
    QTest::newRow("empty") << QByteArray() << q << QStringList() << 0;
    QTest::newRow("single frame") << QByteArray::fromHex("03ff080102030405060708") << q
                                  << QStringList { "F:03ff080102030405060708" } << 11;
    QTest::newRow("ack identifier is never a frame")
        << QByteArray::fromHex("04f00000") << q << QStringList { "A:04f00000" } << 4;
    QTest::newRow("same bytes in type P are a frame")
        << QByteArray::fromHex("04f00000") << p << QStringList { "F:04f000" } << 3;
    QTest::newRow("acks before and between frames")
        << QByteArray::fromHex("04f000ff 0601 01aa 04f00003 04f00000 0600 00") << q
        << QStringList { "A:04f000ff", "F:060101aa", "A:04f00003", "A:04f00000", "F:060000" } << 19;
    QTest::newRow("three-byte remainder is an empty frame")
        << QByteArray::fromHex("0601 01aa 0612 00") << q << QStringList { "F:060101aa", "F:061200" }
        << 7;
    QTest::newRow("truncated tail ignored") << QByteArray::fromHex("0601 01aa 0612 08 0102030405")
                                            << q << QStringList { "F:060101aa" } << 4;
    QTest::newRow("remainder of length + 2 ignored")
        << QByteArray::fromHex("0612 02 01") << q << QStringList() << 0;
    QTest::newRow("length above 8 ends parsing")
        << QByteArray::fromHex("0601 01aa 0612 09 010203040506070809 0600 00") << q
        << QStringList { "F:060101aa" } << 4;
    QTest::newRow("one or two bytes left")
        << QByteArray::fromHex("0600 00 06") << q << QStringList { "F:060000" } << 3;
    QTest::newRow("ack needs four bytes") << QByteArray::fromHex("0600 00 04f000") << q
                                          << QStringList { "F:060000", "F:04f000" } << 6;
}

void TestFrameArea::split()
{
    QFETCH(QByteArray, area);
    QFETCH(QList<quint16>, ackIds);
    QFETCH(QStringList, expected);
    QFETCH(int, consumed);

    QList<AckMessage *> acks;
    QList<CanMessage *> frames;
    const int used = FrameArea::split(
        reinterpret_cast<const quint8 *>(area.constData()), area.size(), ackIds, acks, frames);
    QCOMPARE(used, consumed);

    // Rebuild the wire order from the two lists to prove what went where.
    QStringList got;
    int ackIndex = 0;
    int frameIndex = 0;
    int position = 0;
    while (position < used) {
        if (ackIndex < acks.size() && area.mid(position, 4) == acks.at(ackIndex)->serialize()) {
            got << "A:" + acks.at(ackIndex++)->serialize().toHex();
            position += 4;
        } else if (frameIndex < frames.size()) {
            const QByteArray wire = frames.at(frameIndex++)->serialize();
            got << "F:" + wire.toHex();
            position += wire.size();
        } else {
            break;
        }
    }
    QCOMPARE(got, expected);
    QCOMPARE(acks.size() + frames.size(), expected.size());
    qDeleteAll(acks);
    qDeleteAll(frames);
}

QTEST_GUILESS_MAIN(TestFrameArea)
#include "tst_framearea.moc"
