#include "translationinstaller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

class TestTranslationInstaller : public QObject
{
    Q_OBJECT

private slots:
    void findsCatalogue_data();
    void findsCatalogue();

private:
    static void writeFile(const QString &path, const QByteArray &content);
};

// The header of a compiled catalogue; QTranslator accepts one that holds no messages.
static const QByteArray qmMagic = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd");

void TestTranslationInstaller::writeFile(const QString &path, const QByteArray &content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

void TestTranslationInstaller::findsCatalogue_data()
{
    QTest::addColumn<QStringList>("catalogueFiles");
    QTest::addColumn<QStringList>("otherFiles");
    QTest::addColumn<QString>("loadedFile");

    // The program is <prefix>/bin/vantor-road-app-gui, the locale ru_RU, the catalogue
    // "vantor-widgets".
    const QString next = QStringLiteral("bin/translations/vantor-widgets_ru.qm");
    const QString installed
        = QStringLiteral("share/vantor-road-app-gui/translations/vantor-widgets_ru.qm");
    QTest::newRow("next to the program") << QStringList { next } << QStringList() << next;
    QTest::newRow("installed data folder")
        << QStringList { installed } << QStringList() << installed;
    QTest::newRow("next to the program before the installed one")
        << QStringList { installed, next } << QStringList() << next;
    QTest::newRow("folder next to the program without this catalogue")
        << QStringList { QStringLiteral("bin/translations/qel-udp-client_ru.qm"), installed }
        << QStringList() << installed;
    QTest::newRow("broken file next to the program")
        << QStringList { installed } << QStringList { next } << installed;
    QTest::newRow("another program's data folder")
        << QStringList { QStringLiteral("share/qel-udp-client/translations/vantor-widgets_ru.qm") }
        << QStringList() << QString();
    QTest::newRow("nothing anywhere") << QStringList() << QStringList() << QString();
}

void TestTranslationInstaller::findsCatalogue()
{
    QFETCH(QStringList, catalogueFiles);
    QFETCH(QStringList, otherFiles);
    QFETCH(QString, loadedFile);

    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    for (const QString &file : catalogueFiles)
        writeFile(prefix.filePath(file), qmMagic);
    for (const QString &file : otherFiles)
        writeFile(prefix.filePath(file), "not a catalogue");

    const QStringList installed = TranslationInstaller::install(QCoreApplication::instance(),
        { QStringLiteral("vantor-widgets") },
        prefix.filePath(QStringLiteral("bin/vantor-road-app-gui")), QStringLiteral("ru_RU"));

    const QList<QTranslator *> translators
        = QCoreApplication::instance()->findChildren<QTranslator *>(
            QString(), Qt::FindDirectChildrenOnly);
    QStringList loaded;
    for (QTranslator *translator : translators)
        loaded << QDir(prefix.path()).relativeFilePath(translator->filePath());
    qDeleteAll(translators);

    QCOMPARE(installed, loadedFile.isEmpty() ? QStringList() : QStringList { "vantor-widgets" });
    QCOMPARE(loaded, loadedFile.isEmpty() ? QStringList() : QStringList { loadedFile });
}

QTEST_GUILESS_MAIN(TestTranslationInstaller)

#include "tst_translationinstaller.moc"
