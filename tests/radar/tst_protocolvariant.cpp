#include "protocolvariant.h"

#include <QtTest>

class TestProtocolVariant : public QObject
{
    Q_OBJECT

private slots:
    void byNumber_data();
    void byNumber();
};

void TestProtocolVariant::byNumber_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QList<int>>("canIds");

    // Synchronisation, sensor control, object control, first and last object frame,
    // response part, position setting, command, acknowledgement.
    QTest::newRow("0 is type Q") << 0 << "SerQ"
                                 << QList<int> { 0x3FF, 0x600, 0x601, 0x610, 0x64F, 0x500, 0x4A0,
                                        0x4F2, 0x4F0 };
    QTest::newRow("1 is type P") << 1 << "SerP"
                                 << QList<int> { 0x2FF, 0x500, 0x501, 0x510, 0x54F, 0x400, 0x3A0,
                                        0x3F2, 0x3F0 };
    QTest::newRow("2 is none") << 2 << QString() << QList<int>();
    QTest::newRow("-1 is none") << -1 << QString() << QList<int>();
}

void TestProtocolVariant::byNumber()
{
    QFETCH(int, number);
    QFETCH(QString, label);
    QFETCH(QList<int>, canIds);

    const ProtocolVariant *v = ProtocolVariant::byNumber(number);
    QCOMPARE(v != nullptr, !label.isEmpty());
    if (!v)
        return;
    QCOMPARE(v->number, number);
    QCOMPARE(QString::fromLatin1(v->label), label);
    const QList<int> ids { v->synchronizationCanId, v->sensorControlCanId, v->objectControlCanId,
        v->roadObjectCanIdMin, v->roadObjectCanIdMax, v->udtResponseCanId, v->radarSetupCanId,
        v->commandCanId, v->ackMessageCanId };
    QCOMPARE(ids, canIds);
}

QTEST_GUILESS_MAIN(TestProtocolVariant)
#include "tst_protocolvariant.moc"
