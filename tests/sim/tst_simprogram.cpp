#include "vantorserialqelprotocolclient.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

constexpr int Wait = 10000;

QString program()
{
    return QStringLiteral(VANTOR_SIM_PROGRAM);
}

} // namespace

class TestSimProgram : public QObject
{
    Q_OBJECT

private slots:
    void helpListsTheOptions();
    void badCommandLine_data();
    void badCommandLine();
    void cannotStart_data();
    void cannotStart();
    void servesAndStopsOnSignal_data();
    void servesAndStopsOnSignal();
};

void TestSimProgram::helpListsTheOptions()
{
    QProcess p;
    p.start(program(), { QStringLiteral("--help") });
    QVERIFY(p.waitForFinished(Wait));
    QCOMPARE(p.exitCode(), 0);
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    for (const char *name :
        { "--port", "--listen", "--protocol", "--cycle-ms", "--road", "--max-load", "--state",
            "--refuse-pings", "--proxy", "--record", "--replay", "--loop" })
        QVERIFY2(help.contains(QLatin1String(name)), name);
}

void TestSimProgram::badCommandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown option") << QStringList { "--bogus" };
    QTest::newRow("bad port") << QStringList { "--port", "-1" };
    QTest::newRow("record without proxy") << QStringList { "--record", "x.jsonl" };
}

void TestSimProgram::badCommandLine()
{
    QFETCH(QStringList, args);
    QProcess p;
    p.start(program(), args);
    QVERIFY(p.waitForFinished(Wait));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(p.readAllStandardError().contains("--help"));
}

void TestSimProgram::cannotStart_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("option");
    QTest::newRow("state file of another program")
        << "state.json" << QByteArray("{\"a\":1}") << "--state";
    QTest::newRow("state file not JSON") << "state.json" << QByteArray("\x01\x02") << "--state";
    QTest::newRow("road file not JSON") << "road.json" << QByteArray("road") << "--road";
    QTest::newRow("recording not a recording") << "r.jsonl" << QByteArray("{}\n") << "--replay";
    QTest::newRow("port in use") << QString() << QByteArray() << "--port";
}

void TestSimProgram::cannotStart()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, option);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QTcpServer blocker;
    QStringList args { QStringLiteral("--state-step-ms"), QStringLiteral("0") };
    if (fileName.isEmpty()) {
        QVERIFY(blocker.listen(QHostAddress::LocalHost, 0));
        args << option << QString::number(blocker.serverPort());
    } else {
        QFile file(dir.filePath(fileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
        file.close();
        args << QStringLiteral("--port") << QStringLiteral("0") << option << file.fileName();
    }
    QProcess p;
    p.start(program(), args);
    QVERIFY(p.waitForFinished(Wait));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardError().contains("Cannot start"));
    if (!fileName.isEmpty() && option == QLatin1String("--state")) {
        // A state file that could not be read is left as it was.
        QFile file(dir.filePath(fileName));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void TestSimProgram::servesAndStopsOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT (Ctrl-C)") << int(SIGINT);
}

void TestSimProgram::servesAndStopsOnSignal()
{
    QFETCH(int, signalNumber);
    QProcess p;
    QByteArray log;
    connect(&p, &QProcess::readyReadStandardError, this, [&] { log += p.readAllStandardError(); });
    p.start(program(), { "--port", "0", "--state-step-ms", "0", "--cycle-ms", "20" });
    QVERIFY(p.waitForStarted(Wait));
    const QRegularExpression listening(QStringLiteral("Listening on (ws://\\S+)"));
    QTRY_VERIFY_WITH_TIMEOUT(listening.match(QString::fromUtf8(log)).hasMatch(), Wait);
    const QUrl url(listening.match(QString::fromUtf8(log)).captured(1));
    // Every log line starts with a UTC time stamp.
    QVERIFY(
        QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z "))
            .match(QString::fromUtf8(log))
            .hasMatch());

    VantorSerialQelProtocolClient client;
    QVERIFY(client.connectToServer(url, 200));
    QTRY_COMPARE_WITH_TIMEOUT(client.radarState(), 2, Wait);

    ::kill(pid_t(p.processId()), signalNumber);
    QVERIFY(p.waitForFinished(Wait));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    log += p.readAllStandardError();
    QVERIFY(log.contains("shutting down"));
    QVERIFY(log.contains("Stopped"));
}

QTEST_GUILESS_MAIN(TestSimProgram)
#include "tst_simprogram.moc"
