#include "signalcloser.h"

#include <QCloseEvent>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include <csignal>

namespace {

class CountingWindow : public QWidget
{
public:
    int closeEvents = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closeEvents;
        QWidget::closeEvent(event);
    }
};

volatile std::sig_atomic_t previousHandlerCalls = 0;
void previousHandler(int)
{
    previousHandlerCalls = previousHandlerCalls + 1;
}

} // namespace

class TestSignalCloser : public QObject
{
    Q_OBJECT

private slots:
    void signalClosesWindowOnce_data();
    void signalClosesWindowOnce();
};

void TestSignalCloser::signalClosesWindowOnce_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<int>("count");

    QTest::newRow("SIGINT") << SIGINT << 1;
    QTest::newRow("SIGTERM") << SIGTERM << 1;
    QTest::newRow("both at once") << SIGTERM << 3;
}

void TestSignalCloser::signalClosesWindowOnce()
{
    QFETCH(int, signalNumber);
    QFETCH(int, count);
    std::signal(SIGINT, &previousHandler);
    std::signal(SIGTERM, &previousHandler);
    previousHandlerCalls = 0;
    {
        CountingWindow window;
        window.show();
        SignalCloser *closer = SignalCloser::closeOnTerminationSignals(&window);
        QVERIFY(closer);
        QSignalSpy received(closer, &SignalCloser::terminationSignalReceived);
        for (int i = 0; i < count; ++i)
            std::raise(i + 1 < count ? SIGINT : signalNumber);

        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(window.closeEvents, 1);
        QCOMPARE(received.count(), 1);
        QCOMPARE(received.at(0).at(0).toInt(), signalNumber);
        QCOMPARE(int(previousHandlerCalls), 0);
    }
    // With the window gone the handlers that were there before are back.
    std::raise(SIGINT);
    std::raise(SIGTERM);
    QCOMPARE(int(previousHandlerCalls), 2);
}

QTEST_MAIN(TestSignalCloser)
#include "tst_signalcloser.moc"
