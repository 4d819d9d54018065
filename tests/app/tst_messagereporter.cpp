#include "mainwindow.h"
#include "messagereporter.h"
#include "signalcloser.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

const QString ConfigFile = QStringLiteral(".vantor-road-app-gui_config.json");
const QByteArray Unreadable = "{ \"profiles\": [ { \"name\": ";

QList<QMessageBox *> visibleBoxes()
{
    QList<QMessageBox *> boxes;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

// Sends what the program writes to stderr into a file for as long as it lives.
class StderrCapture
{
public:
    StderrCapture()
    {
        if (m_file.open()) {
            std::fflush(stderr);
            m_saved = dup(STDERR_FILENO);
            dup2(m_file.handle(), STDERR_FILENO);
        }
    }
    ~StderrCapture() { restore(); }

    QString text()
    {
        restore();
        m_file.seek(0);
        return QString::fromLocal8Bit(m_file.readAll());
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

} // namespace

// An unreadable configuration is reported when the window shows, and a termination signal
// never waits for a person to read a box.
class TestMessageReporter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void unreadableConfigurationIsReportedAtStart();
    void terminationSignalSavesAndExitsDespiteTheBox();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestMessageReporter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QFile file(ConfigFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(Unreadable), qint64(Unreadable.size()));
}

void TestMessageReporter::cleanup()
{
    qDeleteAll(visibleBoxes());
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestMessageReporter::unreadableConfigurationIsReportedAtStart()
{
    MainWindow window;
    // Nothing opens before the window does.
    QVERIFY(visibleBoxes().isEmpty());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(visibleBoxes().size(), 1);
    const QString text = visibleBoxes().first()->text();
    QVERIFY2(text.contains(QDir(m_dir->path()).absoluteFilePath(ConfigFile)), qPrintable(text));
    QVERIFY2(text.contains("default profile"), qPrintable(text));
    QCOMPARE(window.profileHandler()->profileNames(), QStringList { "Default profile" });
    // Still the user's file, untouched until the profiles are saved.
    QFile file(ConfigFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), Unreadable);
}

void TestMessageReporter::terminationSignalSavesAndExitsDespiteTheBox()
{
    StderrCapture capture;
    bool blocked = false;
    {
        MainWindow window;
        SignalCloser *closer = SignalCloser::closeOnTerminationSignals(&window);
        QVERIFY(closer);
        connect(closer, &SignalCloser::terminationSignalReceived, window.messageReporter(),
            &MessageReporter::onTerminationSignal);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(visibleBoxes().size(), 1);

        // A box waiting for a person would hold the close here; take it away and fail.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [&blocked] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                blocked = true;
                modal->close();
            }
        });
        guard.start(10000);
        QCOMPARE(std::raise(SIGTERM), 0);
        QTRY_VERIFY(!window.isVisible());
    }
    const QString written = capture.text();

    QVERIFY(!blocked);
    QVERIFY(visibleBoxes().isEmpty());
    // Saved: the profiles replace the unreadable file, kept beside it first.
    QFile file(ConfigFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QJsonDocument::fromJson(file.readAll()).object().contains("profiles"));
    const QStringList backups
        = QDir().entryList({ ConfigFile + ".*.bak" }, QDir::Files | QDir::Hidden);
    QCOMPARE(backups.size(), 1);
    QFile backup(backups.first());
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QCOMPARE(backup.readAll(), Unreadable);
    // Both messages are on stderr: the one still open and the backup's.
    QVERIFY2(written.contains("default profile"), qPrintable(written));
    QVERIFY2(written.contains(backups.first()), qPrintable(written));
}

QTEST_MAIN(TestMessageReporter)
#include "tst_messagereporter.moc"
