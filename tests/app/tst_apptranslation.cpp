#include "collapsiblegroupbox.h"
#include "mainwindow.h"
#include "radarstatewidget.h"
#include "translationinstaller.h"

#include <QAbstractButton>
#include <QDir>
#include <QLocale>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Started with a Russian locale (set by CTest), the program shows its own texts, the
// widget kit's and Qt's standard ones in Russian.
class TestAppTranslation : public QObject
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

static bool isRussian(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("[А-Яа-яЁё]")));
}

void TestAppTranslation::initTestCase()
{
    QCOMPARE(QLocale::system().language(), QLocale::Russian);
    const QStringList installed = TranslationInstaller::install(qApp,
        { QStringLiteral("qt"), QStringLiteral("vantor-widgets"),
            QStringLiteral("vantor-road-app-gui") },
        QStringLiteral(VANTOR_BIN_DIR "/vantor-road-app-gui"), QLocale::system().name());
    QCOMPARE(installed.size(), 3);
    QVERIFY(QDir::setCurrent(m_dir.path()));
    m_window = std::make_unique<MainWindow>();
}

void TestAppTranslation::textsAreRussian_data()
{
    QTest::addColumn<QString>("text");
    for (QAction *menu : m_window->menuBar()->actions())
        QTest::newRow(qPrintable(QStringLiteral("menu %1").arg(menu->text()))) << menu->text();
    const auto *box = m_window->findChild<CollapsibleGroupBox *>(QStringLiteral("sendCommandsBox"));
    QTest::newRow("panel title") << box->title();
    QTest::newRow("collapsed hint") << box->findChild<QLabel *>()->text();
    QTest::newRow("radar state") << m_window->findChild<RadarStateWidget *>()->text();
    // Any button still showing an English word is a text missing from the catalogue.
    for (const QAbstractButton *button : m_window->findChildren<QAbstractButton *>()) {
        if (button->text().contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}"))))
            QTest::newRow(qPrintable(button->objectName())) << button->text();
    }
    QTest::newRow("Qt's standard button")
        << QCoreApplication::translate("QPlatformTheme", "Cancel");
}

void TestAppTranslation::textsAreRussian()
{
    QFETCH(QString, text);
    QVERIFY2(isRussian(text), qPrintable(text));
}

QTEST_MAIN(TestAppTranslation)
#include "tst_apptranslation.moc"
