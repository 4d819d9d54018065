#include "rxpipeline.h"
#include "textfilter.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QUdpSocket>
#include <QtTest>

class TestRxPipeline : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsShownDatagramsNewestFirst();
    void keepsTheTimeAndSender();
    void takesABurstInFewBatches();
    void trimsToTheDisplayLimit();
    void byteBudgetKeepsTheNewestEntry();
    void addedMessagesAreListedAtOnce();
    void clearDropsPendingDatagrams();

private:
    quint16 bind();
    void receive(const QList<QByteArray> &payloads);
    QList<QByteArray> payloads() const;

    QUdpSocket m_socket;
    QUdpSocket m_sender;
    TextFilter m_filter;
    std::unique_ptr<RxMessageModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
    std::unique_ptr<RxPipeline> m_pipeline;
};

void TestRxPipeline::init()
{
    m_filter.removeAllRules();
    m_model = std::make_unique<RxMessageModel>();
    m_tester = std::make_unique<QAbstractItemModelTester>(
        m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_pipeline = std::make_unique<RxPipeline>(&m_socket, &m_filter, m_model.get());
    connect(&m_socket, &QUdpSocket::readyRead, m_pipeline.get(), &RxPipeline::readPendingDatagrams);
    QVERIFY(m_sender.bind(QHostAddress(QHostAddress::LocalHost), 0));
}

void TestRxPipeline::cleanup()
{
    m_pipeline.reset();
    m_socket.close();
    m_sender.close();
    m_tester.reset();
    m_model.reset();
}

quint16 TestRxPipeline::bind()
{
    return m_pipeline->bind(QHostAddress(QHostAddress::LocalHost), 0) ? m_socket.localPort() : 0;
}

// Sends the payloads and waits until the pipeline has read them and the list has them.
void TestRxPipeline::receive(const QList<QByteArray> &payloads)
{
    const quint64 count = m_pipeline->datagramCount() + quint64(payloads.size());
    for (const QByteArray &payload : payloads) {
        QCOMPARE(m_sender.writeDatagram(payload, QHostAddress::LocalHost, m_socket.localPort()),
            qint64(payload.size()));
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_pipeline->datagramCount(), count, 10000);
    QTRY_COMPARE(m_pipeline->pendingCount(), 0);
}

QList<QByteArray> TestRxPipeline::payloads() const
{
    QList<QByteArray> list;
    for (int row = 0; row < m_model->rowCount(); ++row)
        list << m_model->index(row).data(RxMessageModel::PayloadRole).toByteArray();
    return list;
}

void TestRxPipeline::listsShownDatagramsNewestFirst()
{
    m_filter.appendRule("Noise", "noise", QString(), false, TextFilter::Rule::Hide);
    m_filter.appendRule("Status", "status", QString(), false, TextFilter::Rule::Show);
    QVERIFY(bind());
    receive({ "status ok", "noise", QByteArray(), "other", QByteArray("\0status", 7) });

    // The empty datagram and the hidden one are counted but not listed; the one that
    // starts with a zero byte is filtered as empty text.
    QCOMPARE(m_pipeline->datagramCount(), quint64(5));
    QCOMPARE(payloads(), QList<QByteArray>({ QByteArray("\0status", 7), "other", "status ok" }));
    QCOMPARE(m_model->index(0).data(RxMessageModel::RuleIndexRole).toInt(), -1);
    QCOMPARE(m_model->index(2).data(RxMessageModel::RuleIndexRole).toInt(), 1);

    m_pipeline->setShowIfNoRuleMatches(false);
    receive({ "unmatched", "status 2" });
    QCOMPARE(payloads().first(), QByteArray("status 2"));
    QCOMPARE(m_model->rowCount(), 4);
}

void TestRxPipeline::keepsTheTimeAndSender()
{
    QVERIFY(bind());
    const QDateTime before = QDateTime::currentDateTime();
    receive({ "hello" });
    const QDateTime after = QDateTime::currentDateTime();

    const QModelIndex index = m_model->index(0);
    const QDateTime received = index.data(RxMessageModel::ReceivedAtRole).toDateTime();
    QVERIFY(received >= before.addMSecs(-1) && received <= after);
    QCOMPARE(index.data(RxMessageModel::SenderAddressRole).toString(), QString("127.0.0.1"));
    QCOMPARE(index.data(RxMessageModel::SenderPortRole).toInt(), int(m_sender.localPort()));
    QCOMPARE(index.data(RxMessageModel::HeaderRole).toString(),
        QString("%1 from 127.0.0.1:%2")
            .arg(received.toString("hh:mm:ss.zzz"))
            .arg(m_sender.localPort()));
}

void TestRxPipeline::takesABurstInFewBatches()
{
    m_pipeline->setDisplayLimit(10000);
    QVERIFY(bind());
    QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
    const int count = 500;
    QList<QByteArray> burst;
    for (int i = 0; i < count; ++i)
        burst << QByteArray::number(i);
    receive(burst);

    QCOMPARE(m_model->rowCount(), count);
    for (int row = 0; row < count; ++row)
        QCOMPARE(m_model->index(row).data(RxMessageModel::PayloadRole).toByteArray(),
            QByteArray::number(count - 1 - row));
    // Sent before the pipeline read anything: a handful of batches, not one insert each.
    QVERIFY2(inserted.count() <= 10, qPrintable(QString::number(inserted.count())));
}

void TestRxPipeline::trimsToTheDisplayLimit()
{
    m_pipeline->setDisplayLimit(3);
    QVERIFY(bind());
    QSignalSpy trimmed(m_pipeline.get(), &RxPipeline::rowsAboutToBeTrimmed);
    receive({ "1", "2" });
    QCOMPARE(trimmed.count(), 0);
    receive({ "3", "4", "5" });
    QCOMPARE(payloads(), QList<QByteArray>({ "5", "4", "3" }));
    QCOMPARE(trimmed.count(), 1);
    QCOMPARE(trimmed.first().first().toInt(), 3);

    m_pipeline->setDisplayLimit(0);
    QCOMPARE(m_pipeline->displayLimit(), 1);
    m_pipeline->setDisplayLimit(20000);
    QCOMPARE(m_pipeline->displayLimit(), 10000);
}

void TestRxPipeline::byteBudgetKeepsTheNewestEntry()
{
    QVERIFY(bind());
    receive({ QByteArray(1000, 'a'), QByteArray(1000, 'b') });
    QCOMPARE(m_model->rowCount(), 2);
    m_pipeline->setByteBudget(1);
    receive({ QByteArray(1000, 'c') });
    QCOMPARE(payloads(), QList<QByteArray>({ QByteArray(1000, 'c') }));
}

void TestRxPipeline::addedMessagesAreListedAtOnce()
{
    m_pipeline->addMessage(QHostAddress("::ffff:10.0.0.7"), 5000, "direct", 2);
    QCOMPARE(m_model->rowCount(), 1);
    const QModelIndex index = m_model->index(0);
    QCOMPARE(index.data(RxMessageModel::SenderAddressRole).toString(), QString("10.0.0.7"));
    QCOMPARE(index.data(RxMessageModel::SenderPortRole).toInt(), 5000);
    QCOMPARE(index.data(RxMessageModel::RuleIndexRole).toInt(), 2);
    QVERIFY(index.data(RxMessageModel::HeaderRole).toString().endsWith(" from 10.0.0.7:5000"));
    QCOMPARE(m_pipeline->datagramCount(), quint64(0));
}

void TestRxPipeline::clearDropsPendingDatagrams()
{
    QVERIFY(bind());
    receive({ "a" });
    // Just after a flush the next datagram waits for the flush interval.
    m_pipeline->flush();
    QCOMPARE(m_sender.writeDatagram("b", QHostAddress::LocalHost, m_socket.localPort()), 1);
    QVERIFY(m_socket.waitForReadyRead(5000));
    m_pipeline->clear();
    QCOMPARE(m_pipeline->pendingCount(), 0);
    QCOMPARE(m_model->rowCount(), 0);
    QTest::qWait(2 * RxPipeline::FlushInterval);
    QCOMPARE(m_model->rowCount(), 0);
}

QTEST_MAIN(TestRxPipeline)
#include "tst_rxpipeline.moc"
