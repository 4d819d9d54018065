#include "mainwindow.h"
#include "translationinstaller.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLocale>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Started with a Russian locale (set by CTest), the console shows its own texts, the
// widget kit's and Qt's standard ones in Russian.
class TestConsoleTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textsAreRussian_data();
    void textsAreRussian();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestConsoleTranslation::initTestCase()
{
    QCOMPARE(QLocale::system().language(), QLocale::Russian);
    const QStringList installed = TranslationInstaller::install(qApp,
        { QStringLiteral("qt"), QStringLiteral("vantor-widgets"),
            QStringLiteral("qel-udp-client") },
        QStringLiteral(VANTOR_BIN_DIR "/qel-udp-client"), QLocale::system().name());
    QCOMPARE(installed.size(), 3);
    m_window = std::make_unique<MainWindow>(m_dir.filePath(QStringLiteral("config.json")));
}

void TestConsoleTranslation::textsAreRussian_data()
{
    QTest::addColumn<QString>("text");
    for (QAction *menu : m_window->menuBar()->actions())
        QTest::newRow(qPrintable(QStringLiteral("menu %1").arg(menu->text()))) << menu->text();
    for (const QGroupBox *box : m_window->findChildren<QGroupBox *>()) {
        if (!box->title().trimmed().isEmpty())
            QTest::newRow(qPrintable(box->objectName())) << box->title();
    }
    // Any button still showing an English word is a text missing from the catalogue.
    for (const QAbstractButton *button : m_window->findChildren<QAbstractButton *>()) {
        if (button->text().contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}"))))
            QTest::newRow(qPrintable(button->objectName())) << button->text();
    }
    QTest::newRow("Qt's standard button")
        << QCoreApplication::translate("QPlatformTheme", "Cancel");
}

void TestConsoleTranslation::textsAreRussian()
{
    QFETCH(QString, text);
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("[А-Яа-яЁё]"))), qPrintable(text));
}

QTEST_MAIN(TestConsoleTranslation)
#include "tst_consoletranslation.moc"
