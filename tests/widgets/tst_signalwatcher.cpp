#include "signalwatcher.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

namespace {

volatile std::sig_atomic_t previousHandlerCalls = 0;
void previousHandler(int)
{
    previousHandlerCalls = previousHandlerCalls + 1;
}

} // namespace

class TestSignalWatcher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void reportsOnTheEventLoop_data();
    void reportsOnTheEventLoop();
    void oneWatcherAtATime();
};

void TestSignalWatcher::init()
{
    std::signal(SIGINT, &previousHandler);
    std::signal(SIGTERM, &previousHandler);
    previousHandlerCalls = 0;
}

void TestSignalWatcher::reportsOnTheEventLoop_data()
{
    QTest::addColumn<QList<int>>("raised");

    QTest::newRow("SIGINT") << QList<int> { SIGINT };
    QTest::newRow("SIGTERM") << QList<int> { SIGTERM };
    QTest::newRow("three at once: the last") << QList<int> { SIGINT, SIGTERM, SIGINT };
}

void TestSignalWatcher::reportsOnTheEventLoop()
{
    QFETCH(QList<int>, raised);
    {
        SignalWatcher watcher;
        QVERIFY(watcher.install());
        QSignalSpy requested(&watcher, &SignalWatcher::terminationRequested);
        for (int signalNumber : raised)
            std::raise(signalNumber);
        QCOMPARE(requested.count(), 0);

        QTRY_COMPARE(requested.count(), 1);
        QCOMPARE(requested.at(0).at(0).toInt(), raised.last());
        QCOMPARE(int(previousHandlerCalls), 0);
    }
    // With the watcher gone the handlers that were there before are back.
    std::raise(SIGINT);
    std::raise(SIGTERM);
    QCOMPARE(int(previousHandlerCalls), 2);
}

void TestSignalWatcher::oneWatcherAtATime()
{
    SignalWatcher first;
    QVERIFY(first.install());
    {
        SignalWatcher second;
        QVERIFY(!second.install());
        QVERIFY(!second.errorString().isEmpty());
    }
    // The refused watcher's end leaves the first one holding the signals.
    QSignalSpy requested(&first, &SignalWatcher::terminationRequested);
    std::raise(SIGTERM);
    QTRY_COMPARE(requested.count(), 1);
    QCOMPARE(int(previousHandlerCalls), 0);
}

QTEST_GUILESS_MAIN(TestSignalWatcher)
#include "tst_signalwatcher.moc"
