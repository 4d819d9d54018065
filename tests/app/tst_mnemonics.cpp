#include "catalogues.h"
#include "mainwindow.h"
#include "mnemonics.h"

#include <QTemporaryDir>
#include <QtTest>

// Qt cycles an Alt key shared by two widgets in reach of one window, the tool windows it
// owns included: every second press would do nothing. Each key is used once.
class TestMnemonics : public QObject
{
    Q_OBJECT

private slots:
    void unique_data();
    void unique();
};

void TestMnemonics::unique_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("ru") << "ru";
}

void TestMnemonics::unique()
{
    QFETCH(QString, language);
    Catalogues catalogues;
    if (language != QLatin1String("en"))
        QVERIFY(catalogues.add(
            { "vantor-road-app-gui", "vantor-widgets" }, language, VANTOR_CATALOGUE_DIR));
    QTemporaryDir dir;
    const QString previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The editors become tool windows of the main window when opened.
        window.form().actionConfigureRoad->trigger();
        window.form().actionConfigureTvms->trigger();
        window.form().actionSwitchProfile->trigger();

        const QList<QWidget *> editors = { window.findChild<RoadConfigWidget *>(),
            window.findChild<TvmsConfigWidget *>(), window.findChild<WorkProfileWidget *>() };
        QVERIFY(!editors.contains(nullptr));

        // The main window, its menus and the windows open beside it.
        const QList<Mnemonics::Text> main = Mnemonics::textsIn(&window, editors)
            + Mnemonics::textsIn(window.projectionWidget())
            + Mnemonics::textsIn(window.historyTableWidget());
        const QStringList clashes = Mnemonics::clashes(main);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join('\n')));
        QVERIFY(main.size() >= 12);
        // An editor blocks the main window while open: it is in reach of its own keys alone.
        for (QWidget *editor : editors) {
            const QStringList own = Mnemonics::clashes(Mnemonics::textsIn(editor));
            QVERIFY2(own.isEmpty(), qPrintable(own.join('\n')));
        }
        window.close();
    }
    QDir::setCurrent(previousDir);
}

QTEST_MAIN(TestMnemonics)
#include "tst_mnemonics.moc"
