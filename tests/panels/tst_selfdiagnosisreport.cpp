#include "selfdiagnosisreport.h"

#include <QTest>

class TestSelfDiagnosisReport : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
};

void TestSelfDiagnosisReport::text_data()
{
    QTest::addColumn<quint16>("result");
    QTest::addColumn<QString>("text");

    const QString head = "Self-diagnosis completed.\n";
    QTest::newRow("normal") << quint16(0x01) << head + "Radar is functioning normally";
    QTest::newRow("normal, stray unit bits")
        << quint16(0x1F) << head + "Radar is functioning normally";
    QTest::newRow("AMP2 and PADC")
        << quint16(0x0C)
        << head + "Radar is functioning wrong\nAMP1: OK\nAMP2: failure\nPADC: failure\nTRSC: OK";
    QTest::newRow("no unit named") << quint16(
        0x00) << head + "Radar is functioning wrong\nAMP1: OK\nAMP2: OK\nPADC: OK\nTRSC: OK";
    QTest::newRow("PLLC and beyond") << quint16(0x8020)
                                     << head
            + "Radar is functioning wrong\nAMP1: OK\nAMP2: OK\nPADC: OK\nTRSC: OK\n"
              "PLLC: failure\nUnit 15: failure";
}

void TestSelfDiagnosisReport::text()
{
    QFETCH(quint16, result);
    QFETCH(QString, text);
    QCOMPARE(SelfDiagnosisReport::text(result), text);
}

QTEST_APPLESS_MAIN(TestSelfDiagnosisReport)
#include "tst_selfdiagnosisreport.moc"
