#include "mainwindow.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <algorithm>

#include <memory>
#include <vector>

namespace {

// The letter after a single "&", lower case, or a null QChar.
QChar mnemonicOf(const QString &text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) != QLatin1Char('&'))
            return text.at(i + 1).toLower();
        ++i;
    }
    return QChar();
}

// Every text with a mnemonic that root and the widgets inside it show, but for those
// inside the windows in skipped.
QStringList mnemonicTexts(QWidget *root, const QList<QWidget *> &skipped = {})
{
    QStringList texts;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : widgets) {
        bool inSkipped = false;
        for (QWidget *window : skipped)
            inSkipped = inSkipped || window == widget || window->isAncestorOf(widget);
        if (inSkipped)
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts.append(button->text());
        else if (auto *label = qobject_cast<QLabel *>(widget))
            texts.append(label->text());
        else if (auto *box = qobject_cast<QGroupBox *>(widget))
            texts.append(box->title());
        else if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts.append(tabs->tabText(i));
        } else if (auto *menuBar = qobject_cast<QMenuBar *>(widget)) {
            for (QAction *menu : menuBar->actions())
                texts.append(menu->text());
        }
    }
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                    [](const QString &text) { return mnemonicOf(text).isNull(); }),
        texts.end());
    return texts;
}

// The keys used more than once among texts, with the texts that share them.
QStringList clashes(const QStringList &texts)
{
    QMultiMap<QChar, QString> keys;
    for (const QString &text : texts)
        keys.insert(mnemonicOf(text), text);
    QStringList found;
    for (const QChar key : keys.uniqueKeys()) {
        if (keys.count(key) > 1)
            found.append(QStringLiteral("Alt+%1: %2").arg(key, keys.values(key).join(", ")));
    }
    return found;
}

} // namespace

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
    std::vector<std::unique_ptr<QTranslator>> translators;
    if (language != QLatin1String("en")) {
        for (const QString catalogue : { "vantor-road-app-gui", "vantor-widgets" }) {
            translators.push_back(std::make_unique<QTranslator>());
            QVERIFY(translators.back()->load(
                QStringLiteral("%1_%2").arg(catalogue, language), VANTOR_CATALOGUE_DIR));
            QCoreApplication::installTranslator(translators.back().get());
        }
    }
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
        const QStringList main = mnemonicTexts(&window, editors)
            + mnemonicTexts(window.projectionWidget()) + mnemonicTexts(window.historyTableWidget());
        QVERIFY2(clashes(main).isEmpty(), qPrintable(clashes(main).join('\n')));
        QVERIFY(main.size() >= 12);
        // An editor blocks the main window while open: it is in reach of its own keys alone.
        for (QWidget *editor : editors) {
            const QStringList own = mnemonicTexts(editor);
            QVERIFY2(clashes(own).isEmpty(), qPrintable(clashes(own).join('\n')));
        }
        window.close();
    }
    QDir::setCurrent(previousDir);
    for (const auto &translator : translators)
        QCoreApplication::removeTranslator(translator.get());
}

QTEST_MAIN(TestMnemonics)
#include "tst_mnemonics.moc"
