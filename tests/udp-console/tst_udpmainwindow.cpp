#include "advancedcombobox.h"
#include "catalogues.h"
#include "collapsiblegroupbox.h"
#include "foldermount.h"
#include "mainwindow.h"
#include "messagebytesdialog.h"
#include "mnemonics.h"
#include "repeatsender.h"
#include "rxmessagelistview.h"
#include "signalcloser.h"
#include "testfiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

#include <csignal>
#include <ctime>
#include <memory>

namespace {
const QString NoInfo = QStringLiteral("No info available");

QJsonObject ruleObject(const QString &name, const QString &text, const QString &type,
    const QString &info = QString(), bool csen = false)
{
    return QJsonObject { { "name", name }, { "text", text }, { "info", info }, { "csen", csen },
        { "type", type } };
}

QJsonObject filteringConfig(const QJsonArray &rules)
{
    return QJsonObject { { "rx_filtering", QJsonObject { { "rules", rules } } } };
}

} // namespace

class TestUdpMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithDefaults();
    void bindAndUnbind();
    void warnsWhenThePortIsTaken();
    void listsDatagramsNewestFirst();
    void headerShowsLocalTime();
    void dualStackSocketShowsIpv4Senders();
    void filtering_data();
    void filtering();
    void emptyTextDatagram();
    void displayLimitOfOneReplacesTheSelectedEntry();
    void displayLimitDialog();
    void jsonExpansionAndRuleInfo();
    void sendsFromTheBoundPort();
    void sendAddresses_data();
    void sendAddresses();
    void terminationSignalSavesConfiguration();
    void fitsASmallScreen_data();
    void fitsASmallScreen();
    void templateButtonsFillTheEditor();
    void gridIsFilledColumnByColumn();
    void loadingASecondFile();
    void configurationRoundTrip();
    void displayLimitFromFileIsBounded_data();
    void displayLimitFromFileIsBounded();
    void wrongTypesGiveConversionDefaults();
    void unparsableConfigIsBackedUp();
    void unsavableSettingsAreReportedAtExit();
    void signalWithAReportPendingStillSavesAndExits();
    void mnemonicsAreUnique_data();
    void mnemonicsAreUnique();
    void wholeMessageShowsEveryByte();
    void savesTheReceivedList();
    void repeatsUntilStopped();
    void receivesUtf8AndLatin1();
    void largestDatagrams();
    void burstWithoutLoss();

private:
    MainWindow *createWindow(const QJsonObject &config = QJsonObject());
    quint16 bind(MainWindow *window);
    void send(const QByteArray &payload, quint16 port);
    void sendFromEditor(
        MainWindow *window, const QString &address, quint16 port, const QString &text);
    void receive(MainWindow *window, quint16 port, const QList<QByteArray> &payloads);
    QStringList payloads(MainWindow *window);
    template<typename T> T *child(MainWindow *window, const char *name)
    {
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no child %s", name);
        return widget;
    }
    static quint16 freePort();
    // Closes the window, answering the box it shows at exit; returns that box's text.
    QString closeAndAnswer(MainWindow *window);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_configPath;
    std::unique_ptr<MainWindow> m_window;
    QUdpSocket m_sender;
};

void TestUdpMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_configPath = m_dir->filePath(".qel-udp-client_config.json");
    QVERIFY(m_sender.bind(QHostAddress(QHostAddress::LocalHost), 0));
}

void TestUdpMainWindow::cleanup()
{
    m_window.reset();
    m_sender.close();
    m_dir.reset();
}

MainWindow *TestUdpMainWindow::createWindow(const QJsonObject &config)
{
    if (!config.isEmpty() && !TestFiles::write(m_configPath, QJsonDocument(config).toJson()))
        qWarning("configuration not written");
    m_window = std::make_unique<MainWindow>(m_configPath);
    m_window->resize(1000, 700);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("window not exposed");
    return m_window.get();
}

quint16 TestUdpMainWindow::freePort()
{
    QUdpSocket probe;
    if (!probe.bind(QHostAddress(QHostAddress::LocalHost), 0, QAbstractSocket::DontShareAddress))
        return 0;
    return probe.localPort();
}

QString TestUdpMainWindow::closeAndAnswer(MainWindow *window)
{
    QString text;
    QTimer answer;
    connect(&answer, &QTimer::timeout, window, [window, &text] {
        if (auto *box = window->findChild<QMessageBox *>("exitMessageBox")) {
            text = box->text();
            box->accept();
        }
    });
    answer.start(10);
    if (!window->close())
        qWarning("window not closed");
    return text;
}

quint16 TestUdpMainWindow::bind(MainWindow *window)
{
    child<AdvancedComboBox>(window, "rxAddressCombo")
        ->setCurrentIndexByItemData(QHostAddress::LocalHost);
    // Another test running alongside may take the free port first: try a few.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const quint16 port = freePort();
        child<QSpinBox>(window, "rxPortSpin")->setValue(port);
        child<QPushButton>(window, "rxBindButton")->click();
        if (window->udpSocket().state() == QAbstractSocket::BoundState)
            return port;
        delete window->findChild<QMessageBox *>("warningBox");
    }
    return 0;
}

void TestUdpMainWindow::send(const QByteArray &payload, quint16 port)
{
    QCOMPARE(
        m_sender.writeDatagram(payload, QHostAddress::LocalHost, port), qint64(payload.size()));
}

void TestUdpMainWindow::sendFromEditor(
    MainWindow *window, const QString &address, quint16 port, const QString &text)
{
    child<QLineEdit>(window, "txAddressEdit")->setText(address);
    child<QSpinBox>(window, "txPortSpin")->setValue(port);
    child<QPlainTextEdit>(window, "txTextEdit")->setPlainText(text);
    child<QPushButton>(window, "txSendButton")->click();
}

// Sends the payloads to the window's port and waits until it has read and listed them.
void TestUdpMainWindow::receive(MainWindow *window, quint16 port, const QList<QByteArray> &payloads)
{
    const quint64 count = window->rxDatagramCount() + quint64(payloads.size());
    for (const QByteArray &payload : payloads)
        send(payload, port);
    QTRY_COMPARE_WITH_TIMEOUT(window->rxDatagramCount(), count, 10000);
    QTRY_COMPARE(window->pendingRxMessageCount(), 0);
}

QStringList TestUdpMainWindow::payloads(MainWindow *window)
{
    QStringList list;
    RxMessageModel *model = window->rxMessageModel();
    for (int row = 0; row < model->rowCount(); ++row)
        list << QString::fromUtf8(
            model->index(row).data(RxMessageModel::PayloadRole).toByteArray());
    return list;
}

void TestUdpMainWindow::startsWithDefaults()
{
    MainWindow *w = createWindow();
    QCOMPARE(w->windowTitle(),
        QString("%1 v1.2.2-0-g6fd602f 2024-10-31").arg(QCoreApplication::applicationName()));
    QCOMPARE(w->font().family(), QString("Sans"));
    QCOMPARE(w->font().pointSize(), 9);
    QCOMPARE(child<QLabel>(w, "rxHeaderLabel")->text(), QString("RECEIVING"));
    QCOMPARE(child<QLabel>(w, "rxHeaderLabel")->font().pointSize(), 12);
    QCOMPARE(child<QLabel>(w, "txHeaderLabel")->text(), QString("SENDING"));
    QCOMPARE(child<QLabel>(w, "txHeaderLabel")->font().pointSize(), 12);
    QCOMPARE(child<QSplitter>(w, "splitter")->handleWidth(), 0);

    for (const char *name :
        { "rxFilteringGroup", "rxInfoGroup", "txTemplatesGroup", "txInfoGroup" })
        QVERIFY2(child<CollapsibleGroupBox>(w, name)->isCollapsed(), name);

    auto *address = child<AdvancedComboBox>(w, "rxAddressCombo");
    QCOMPARE(address->count(), 5);
    const QList<int> addressData { 2, 3, 6, 5, 4 };
    const QStringList addressTexts { "localhost IPv4", "localhost IPv6", "any IPv4", "any IPv6",
        "any IPv4/v6" };
    for (int i = 0; i < address->count(); ++i) {
        QCOMPARE(address->itemData(i).toInt(), addressData.at(i));
        QCOMPARE(address->itemText(i), addressTexts.at(i));
    }
    QCOMPARE(address->currentData().toInt(), int(QHostAddress::Any));
    QCOMPARE(child<QSpinBox>(w, "rxPortSpin")->value(), 9999);
    QCOMPARE(child<QSpinBox>(w, "rxPortSpin")->minimum(), 1);
    QCOMPARE(child<QSpinBox>(w, "rxPortSpin")->maximum(), 65535);
    QCOMPARE(child<AdvancedComboBox>(w, "rxFilteringColCountCombo")->count(), 9);
    QCOMPARE(child<AdvancedComboBox>(w, "rxFilteringColCountCombo")->currentData().toInt(), 5);
    QCOMPARE(child<AdvancedComboBox>(w, "txTemplatesColCountCombo")->currentData().toInt(), 5);
    QCOMPARE(
        child<AdvancedComboBox>(w, "rxFilteringIfNoRuleCombo")->currentText(), QString("show"));
    QCOMPARE(child<QLineEdit>(w, "txAddressEdit")->text(), QString("127.0.0.1"));
    QCOMPARE(child<QSpinBox>(w, "txPortSpin")->value(), 9999);
    QCOMPARE(child<QPushButton>(w, "rxBindButton")->text(), QString("&Bind"));
    QVERIFY(child<QPlainTextEdit>(w, "txTextEdit")->tabChangesFocus());
    QCOMPARE(child<QLabel>(w, "txInfoLabel")->text(), NoInfo);
    QCOMPARE(child<QLabel>(w, "rxFilteringNoRulesLabel")->text(), QString("No filtering rules"));
    QCOMPARE(child<QLabel>(w, "txTemplatesNoItemsLabel")->text(), QString("No message templates"));
    QCOMPARE(w->rxDisplayLimit(), 100);

    auto *list = child<RxMessageListView>(w, "rxTextList");
    QCOMPARE(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(list->verticalScrollMode(), QAbstractItemView::ScrollPerPixel);

    const QList<QAction *> menus = w->menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus.at(0)->text(), QString("&File"));
    QCOMPARE(menus.at(1)->text(), QString("&View"));
    QStringList fileItems;
    for (QAction *action : menus.at(0)->menu()->actions())
        fileItems << (action->isSeparator() ? QString("-") : action->text());
    QCOMPARE(fileItems,
        QStringList({ "&Load configuration", "&Save received messages...", "-", "&Exit" }));
    auto *wrap = child<QAction>(w, "enableRxWordWrappingAction");
    QVERIFY(wrap->isCheckable());
    QVERIFY(!wrap->isChecked());
    QCOMPARE(child<QAction>(w, "changeRxDisplayLimitAction")->text(),
        QString("&Change received messages display limit"));
}

void TestUdpMainWindow::bindAndUnbind()
{
    MainWindow *w = createWindow();
    auto *button = child<QPushButton>(w, "rxBindButton");
    auto *addressPort = child<QWidget>(w, "rxAddressPortWidget");
    const quint16 port = bind(w);
    QVERIFY(port != 0);
    QCOMPARE(w->udpSocket().localPort(), port);
    QCOMPARE(w->udpSocket().localAddress(), QHostAddress(QHostAddress::LocalHost));
    QVERIFY(button->isChecked());
    QCOMPARE(button->text(), QString("&Unbind"));
    QVERIFY(!addressPort->isEnabled());

    button->click();
    QCOMPARE(w->udpSocket().state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(button->text(), QString("&Bind"));
    QVERIFY(addressPort->isEnabled());

    // The port is free again.
    QUdpSocket again;
    QVERIFY(
        again.bind(QHostAddress(QHostAddress::LocalHost), port, QAbstractSocket::DontShareAddress));
}

void TestUdpMainWindow::warnsWhenThePortIsTaken()
{
    MainWindow *w = createWindow();
    QUdpSocket blocker;
    QVERIFY(
        blocker.bind(QHostAddress(QHostAddress::LocalHost), 0, QAbstractSocket::DontShareAddress));
    child<AdvancedComboBox>(w, "rxAddressCombo")
        ->setCurrentIndexByItemData(QHostAddress::LocalHost);
    child<QSpinBox>(w, "rxPortSpin")->setValue(blocker.localPort());
    auto *button = child<QPushButton>(w, "rxBindButton");
    button->click();

    QCOMPARE(w->udpSocket().state(), QAbstractSocket::UnconnectedState);
    QVERIFY(!button->isChecked());
    QCOMPARE(button->text(), QString("&Bind"));
    QVERIFY(child<QWidget>(w, "rxAddressPortWidget")->isEnabled());
    QMessageBox *box = w->findChild<QMessageBox *>("warningBox");
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QString("Warning"));
    QCOMPARE(box->text(),
        QString("Unable to bind. Probably the specified port number is already in use."));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    box->accept();
}

void TestUdpMainWindow::listsDatagramsNewestFirst()
{
    MainWindow *w = createWindow();
    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port, { "first\r\n", "second" });

    QCOMPARE(payloads(w), QStringList({ "second", "first\r\n" }));
    const QModelIndex newest = w->rxMessageModel()->index(0);
    const QString header = newest.data(Qt::UserRole).toString();
    const QRegularExpression pattern(
        QString("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d from 127\\.0\\.0\\.1:%1$")
            .arg(m_sender.localPort()));
    QVERIFY2(pattern.match(header).hasMatch(), qPrintable(header));
    QCOMPARE(newest.data(Qt::ToolTipRole).toString(), QString("second"));
    QCOMPARE(newest.data().toString(), header + "     second");
    QCOMPARE(newest.data(Qt::UserRole + 2).toInt(), -1);
    const QModelIndex oldest = w->rxMessageModel()->index(1);
    QCOMPARE(oldest.data().toString(), oldest.data(Qt::UserRole).toString() + "     first");

    child<QPushButton>(w, "rxClearButton")->click();
    QCOMPARE(w->rxMessageModel()->rowCount(), 0);
}

void TestUdpMainWindow::headerShowsLocalTime()
{
    // Seven hours east of UTC, so that a header in UTC would be far off.
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "XYZ-7");
    tzset();
    MainWindow *w = createWindow();
    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port, { "now" });
    const QTime now = QTime::currentTime();
    const QString header = w->rxMessageModel()->index(0).data(Qt::UserRole).toString();
    if (oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldTz);
    tzset();

    const QTime shown = QTime::fromString(header.left(12), "hh:mm:ss.zzz");
    QVERIFY2(shown.isValid(), qPrintable(header));
    const int apart = qAbs(shown.msecsTo(now));
    QVERIFY2(qMin(apart, 86400000 - apart) < 60000, qPrintable(header + " vs " + now.toString()));
}

void TestUdpMainWindow::dualStackSocketShowsIpv4Senders()
{
    MainWindow *w = createWindow();
    const quint16 port = freePort();
    QCOMPARE(child<AdvancedComboBox>(w, "rxAddressCombo")->currentData().toInt(),
        int(QHostAddress::Any));
    child<QSpinBox>(w, "rxPortSpin")->setValue(port);
    child<QPushButton>(w, "rxBindButton")->click();
    QCOMPARE(w->udpSocket().state(), QAbstractSocket::BoundState);
    receive(w, port, { "mapped" });
    const QString header = w->rxMessageModel()->index(0).data(Qt::UserRole).toString();
    QVERIFY2(header.endsWith(QString(" from 127.0.0.1:%1").arg(m_sender.localPort())),
        qPrintable(header));
}

void TestUdpMainWindow::filtering_data()
{
    QTest::addColumn<QString>("ifNoRule");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QList<int>>("ruleIndexes");

    // Rules: 0 show "alpha", 1 hide "beta", 2 show "Gamma" case-sensitive.
    // Messages, in order: alpha, beta, alpha beta, gamma, Gamma, delta.
    QTest::newRow("last match decides, no match shows")
        << "show"
        << "" << QStringList { "delta", "Gamma", "gamma", "alpha" } << QList<int> { -1, 2, -1, 0 };
    QTest::newRow("no match hides")
        << "hide"
        << "" << QStringList { "Gamma", "alpha" } << QList<int> { 2, 0 };
    QTest::newRow("unchecked rule hides")
        << "show"
        << "uncheck alpha" << QStringList { "delta", "Gamma", "gamma" } << QList<int> { -1, 2, -1 };
    QTest::newRow("show all") << "hide"
                              << "show all"
                              << QStringList { "Gamma", "alpha beta", "beta", "alpha" }
                              << QList<int> { 2, 1, 1, 0 };
    QTest::newRow("hide all") << "show"
                              << "hide all" << QStringList { "delta", "gamma" }
                              << QList<int> { -1, -1 };
}

void TestUdpMainWindow::filtering()
{
    QFETCH(QString, ifNoRule);
    QFETCH(QString, action);
    QFETCH(QStringList, shown);
    QFETCH(QList<int>, ruleIndexes);

    const QJsonArray rules { ruleObject("Alpha", "alpha", "show"),
        ruleObject("Beta", "beta", "hide"), ruleObject("Gamma", "Gamma", "show", QString(), true) };
    MainWindow *w = createWindow(QJsonObject { { "rx_filtering",
        QJsonObject { { "rules", rules }, { "if_no_rule_matches", ifNoRule } } } });
    QCOMPARE(w->showIfNoRuleMatches(), ifNoRule == "show");
    const QList<QCheckBox *> checks = w->rxFilteringRuleChecks();
    QCOMPARE(checks.size(), 3);
    QCOMPARE(checks.at(1)->text(), QString("Beta"));
    QCOMPARE(checks.at(1)->toolTip(), QString("beta"));
    QVERIFY(checks.at(0)->isChecked());
    QVERIFY(!checks.at(1)->isChecked());

    if (action == "uncheck alpha")
        checks.at(0)->click();
    else if (action == "show all")
        child<QPushButton>(w, "rxFilteringShowAllButton")->click();
    else if (action == "hide all")
        child<QPushButton>(w, "rxFilteringHideAllButton")->click();
    if (action == "show all")
        QCOMPARE(w->textFilter().ruleAt(1).type, TextFilter::Rule::Show);
    if (action == "hide all")
        QCOMPARE(w->textFilter().ruleAt(0).type, TextFilter::Rule::Hide);

    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port, { "alpha", "beta", "alpha beta", "gamma", "Gamma", "delta" });

    QCOMPARE(payloads(w), shown);
    QList<int> indexes;
    for (int row = 0; row < w->rxMessageModel()->rowCount(); ++row)
        indexes << w->rxMessageModel()->index(row).data(Qt::UserRole + 2).toInt();
    QCOMPARE(indexes, ruleIndexes);
}

void TestUdpMainWindow::emptyTextDatagram()
{
    const QJsonArray rules { ruleObject("Abc", "abc", "hide") };
    MainWindow *w = createWindow(filteringConfig(rules));
    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port, { QByteArray(), QByteArray("\0abc", 4) });

    // The empty datagram is skipped; the one that starts with a zero byte is filtered as
    // empty text, so the "abc" rule does not hide it.
    QCOMPARE(w->rxMessageModel()->rowCount(), 1);
    const QModelIndex index = w->rxMessageModel()->index(0);
    QCOMPARE(index.data(Qt::UserRole + 1).toByteArray(), QByteArray("\0abc", 4));
    QCOMPARE(index.data(Qt::ToolTipRole).toString(), QString());
    QCOMPARE(index.data(Qt::UserRole + 2).toInt(), -1);
    QCOMPARE(index.data().toString(), index.data(Qt::UserRole).toString() + "     ");
}

void TestUdpMainWindow::displayLimitOfOneReplacesTheSelectedEntry()
{
    const QJsonArray rules { ruleObject("A", "A", "show", "Rule A") };
    QJsonObject config = filteringConfig(rules);
    config.insert("rx_display_limit", 1);
    MainWindow *w = createWindow(config);
    QCOMPARE(w->rxDisplayLimit(), 1);
    const quint16 port = bind(w);
    QVERIFY(port);
    auto *list = child<RxMessageListView>(w, "rxTextList");
    auto *info = child<QLabel>(w, "rxInfoLabel");

    receive(w, port, { "A" });
    list->setCurrentIndex(w->rxMessageModel()->index(0));
    QCOMPARE(info->text(), QString("Rule A"));
    QCOMPARE(info->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    QSignalSpy current(list->selectionModel(), &QItemSelectionModel::currentChanged);

    receive(w, port, { "B" });
    QCOMPARE(payloads(w), QStringList({ "B" }));
    QVERIFY(!list->currentIndex().isValid());
    QVERIFY(!list->selectionModel()->hasSelection());
    QCOMPARE(current.count(), 1);
    QCOMPARE(info->text(), NoInfo);
    QCOMPARE(info->alignment(), Qt::AlignCenter);

    // An entry that is not selected is replaced without touching the selection.
    receive(w, port, { "C" });
    QCOMPARE(payloads(w), QStringList({ "C" }));
    QCOMPARE(current.count(), 1);
}

void TestUdpMainWindow::displayLimitDialog()
{
    MainWindow *w = createWindow();
    child<QAction>(w, "changeRxDisplayLimitAction")->trigger();
    auto *dialog = w->findChild<QInputDialog *>("rxDisplayLimitDialog");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("Enter a value"));
    QCOMPARE(dialog->labelText(), QString("Received messages display limit"));
    QCOMPARE(dialog->intValue(), 100);
    QCOMPARE(dialog->intMinimum(), 1);
    QCOMPARE(dialog->intMaximum(), 10000);
    dialog->setIntValue(3);
    dialog->reject();
    QCOMPARE(w->rxDisplayLimit(), 100);

    child<QAction>(w, "changeRxDisplayLimitAction")->trigger();
    QTRY_VERIFY(
        (dialog = w->findChild<QInputDialog *>("rxDisplayLimitDialog")) && dialog->isVisible());
    dialog->setIntValue(3);
    dialog->accept();
    QCOMPARE(w->rxDisplayLimit(), 3);

    // A lowered limit takes effect with the next datagram.
    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port, { "1", "2", "3", "4", "5" });
    QCOMPARE(payloads(w), QStringList({ "5", "4", "3" }));
}

void TestUdpMainWindow::jsonExpansionAndRuleInfo()
{
    const QJsonArray rules { ruleObject("Status", "status", "show", "Device status report"),
        ruleObject("Plain", "plain", "show") };
    MainWindow *w = createWindow(filteringConfig(rules));
    const quint16 port = bind(w);
    QVERIFY(port);
    const QByteArray json = R"({"status":"ok","temp":[21.5,22]})"
                            "\r\n";
    receive(w, port, { json, "plain text" });

    auto *list = child<RxMessageListView>(w, "rxTextList");
    auto *info = child<QLabel>(w, "rxInfoLabel");
    const QModelIndex jsonIndex = w->rxMessageModel()->index(1);
    const QModelIndex plainIndex = w->rxMessageModel()->index(0);
    const QString header = jsonIndex.data(Qt::UserRole).toString();
    const QString collapsed = jsonIndex.data().toString();
    QCOMPARE(collapsed, header + "     " + QString::fromUtf8(json).trimmed());
    const int collapsedHeight = list->visualRect(jsonIndex).height();

    list->setCurrentIndex(jsonIndex);
    const QString indented
        = QString::fromUtf8(QJsonDocument::fromJson(json).toJson(QJsonDocument::Indented))
              .trimmed();
    QCOMPARE(jsonIndex.data().toString(), header + "\n" + indented);
    QCOMPARE(info->text(), QString("Device status report"));
    QTRY_VERIFY(list->visualRect(jsonIndex).height() > 4 * collapsedHeight);
    // The lines below the header are painted: the selected entry is not plain highlight.
    list->scrollTo(jsonIndex, QAbstractItemView::PositionAtTop);
    const QImage image = list->viewport()->grab().toImage();
    const QRect body = list->visualRect(jsonIndex)
                           .adjusted(0, 2 * collapsedHeight, 0, 0)
                           .intersected(list->viewport()->rect());
    QVERIFY(body.height() > 3 * collapsedHeight);
    const QRgb highlight = image.pixel(body.right() - 2, body.bottom() - 2);
    int textPixels = 0;
    for (int y = body.top(); y <= body.bottom(); ++y) {
        for (int x = body.left(); x <= body.right(); ++x)
            textPixels += image.pixel(x, y) != highlight;
    }
    QVERIFY2(textPixels > 200, qPrintable(QString::number(textPixels)));

    list->setCurrentIndex(plainIndex);
    QCOMPARE(jsonIndex.data().toString(), collapsed);
    // Not JSON: the same text expanded and collapsed; its rule has no info.
    QCOMPARE(
        plainIndex.data().toString(), plainIndex.data(Qt::UserRole).toString() + "     plain text");
    QCOMPARE(info->text(), NoInfo);
    QTRY_COMPARE(list->visualRect(jsonIndex).height(), collapsedHeight);
}

void TestUdpMainWindow::sendsFromTheBoundPort()
{
    MainWindow *w = createWindow();
    const quint16 port = bind(w);
    QVERIFY(port);
    QUdpSocket receiver;
    QVERIFY(receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
    const QString text = QString::fromUtf8("Привет, radar\nline 2");
    sendFromEditor(w, "127.0.0.1", receiver.localPort(), text);

    QTRY_VERIFY(receiver.hasPendingDatagrams());
    const QNetworkDatagram datagram = receiver.receiveDatagram();
    QCOMPARE(datagram.data(), text.toUtf8());
    QCOMPARE(datagram.senderPort(), int(port));
}

void TestUdpMainWindow::sendAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("delivered");

    QTest::newRow("IPv4 address") << "127.0.0.1" << true;
    QTest::newRow("host name") << "localhost" << true;
    QTest::newRow("host name with blanks around") << " localhost " << true;
    QTest::newRow("neither address nor name") << "not an address" << false;
    QTest::newRow("unknown host") << "no-such-host.invalid" << false;
}

void TestUdpMainWindow::sendAddresses()
{
    QFETCH(QString, address);
    QFETCH(bool, delivered);
    MainWindow *w = createWindow();
    QUdpSocket receiver;
    QVERIFY(receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
    sendFromEditor(w, address, receiver.localPort(), "payload");
    if (delivered) {
        QTRY_VERIFY(receiver.hasPendingDatagrams());
        QCOMPARE(receiver.receiveDatagram().data(), QByteArray("payload"));
        QVERIFY(w->statusBar()->currentMessage().isEmpty());
        return;
    }
    // Never a silent no-op: the status line says why nothing was sent.
    QTRY_VERIFY_WITH_TIMEOUT(w->statusBar()->currentMessage().startsWith("Not sent"), 30000);
    QVERIFY(w->statusBar()->currentMessage().contains(address));
    sendFromEditor(w, "127.0.0.1", receiver.localPort(), "marker");
    QTRY_VERIFY(receiver.hasPendingDatagrams());
    QCOMPARE(receiver.receiveDatagram().data(), QByteArray("marker"));
}

void TestUdpMainWindow::terminationSignalSavesConfiguration()
{
    MainWindow *w = createWindow();
    SignalCloser::closeOnTerminationSignals(w);
    w->setRxDisplayLimit(7);
    QVERIFY(!QFile::exists(m_configPath));
    std::raise(SIGTERM);
    QTRY_VERIFY(!w->isVisible());
    const QJsonObject saved = QJsonDocument::fromJson(TestFiles::read(m_configPath)).object();
    QCOMPARE(saved.value("rx_display_limit").toInt(), 7);
}

void TestUdpMainWindow::fitsASmallScreen_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("expanded");
    QTest::addColumn<int>("rules");

    for (const QString language : { "en", "ru" }) {
        QTest::addRow("%s, collapsed", qPrintable(language)) << language << false << 0;
        QTest::addRow("%s, expanded", qPrintable(language)) << language << true << 0;
        QTest::addRow("%s, expanded with rules", qPrintable(language)) << language << true << 12;
    }
}

void TestUdpMainWindow::fitsASmallScreen()
{
    QFETCH(QString, language);
    QFETCH(bool, expanded);
    QFETCH(int, rules);
    // A 1366 x 768 laptop screen less a desktop panel and the window frame.
    const QSize available(1366 - 16, 768 - 40 - 32);
    Catalogues catalogues;
    if (language != QLatin1String("en"))
        QVERIFY(
            catalogues.add({ "qel-udp-client", "vantor-widgets" }, language, VANTOR_CATALOGUE_DIR));
    QJsonArray ruleArray;
    for (int i = 0; i < rules; ++i)
        ruleArray.append(ruleObject(QStringLiteral("Radar state %1").arg(i), "x", "show"));
    m_window = std::make_unique<MainWindow>(m_configPath);
    if (rules > 0)
        m_window->createRxFilteringRuleChecks(ruleArray);
    m_window->arrangeDynamicControls();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const QSize initial = m_window->size();
    for (auto *group : m_window->findChildren<CollapsibleGroupBox *>())
        group->setCollapsed(!expanded);
    QCoreApplication::processEvents();

    QVERIFY2(m_window->minimumSizeHint().width() <= available.width(),
        qPrintable(QString::number(m_window->minimumSizeHint().width())));
    QVERIFY2(m_window->minimumSizeHint().height() <= available.height(),
        qPrintable(QString::number(m_window->minimumSizeHint().height())));
    QVERIFY(initial.width() <= available.width() && initial.height() <= available.height());
    QCOMPARE(m_window->size(), initial);
}

void TestUdpMainWindow::templateButtonsFillTheEditor()
{
    const QJsonArray items { QJsonObject { { "name", "Ping" }, { "text", "ping" },
                                 { "info", "Asks for a pong" } },
        QJsonObject { { "name", "Empty" }, { "text", "" }, { "info", "x" } },
        QJsonObject { { "name", "" }, { "text", "nameless" } }, 42,
        QJsonObject { { "name", "Status" }, { "text", "{\"cmd\":\"status\"}" } } };
    MainWindow *w
        = createWindow(QJsonObject { { "tx_templates", QJsonObject { { "items", items } } } });
    const QList<QPushButton *> buttons = w->txTemplateItemButtons();
    QCOMPARE(buttons.size(), 2);
    QCOMPARE(buttons.at(0)->text(), QString("Ping"));
    QCOMPARE(buttons.at(1)->text(), QString("Status"));
    QVERIFY(!child<QLabel>(w, "txTemplatesNoItemsLabel")
                 ->isVisibleTo(w->findChild<QWidget *>("txTemplatesGroup")));

    auto *editor = child<QPlainTextEdit>(w, "txTextEdit");
    auto *info = child<QLabel>(w, "txInfoLabel");
    buttons.at(0)->click();
    QCOMPARE(editor->toPlainText(), QString("ping"));
    QCOMPARE(info->text(), QString("Asks for a pong"));
    QCOMPARE(info->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    buttons.at(1)->click();
    QCOMPARE(editor->toPlainText(), QString("{\"cmd\":\"status\"}"));
    QCOMPARE(info->text(), NoInfo);
    QCOMPARE(info->alignment(), Qt::AlignCenter);
    child<QPushButton>(w, "txClearButton")->click();
    QVERIFY(editor->toPlainText().isEmpty());
}

void TestUdpMainWindow::gridIsFilledColumnByColumn()
{
    QJsonArray rules;
    for (int i = 0; i < 7; ++i)
        rules.append(ruleObject(QString("R%1").arg(i), QString("r%1").arg(i), "show"));
    rules.insert(3, ruleObject("Untyped", "u", "maybe"));
    MainWindow *w = createWindow(QJsonObject {
        { "rx_filtering", QJsonObject { { "rules", rules }, { "column_count", 3 } } } });
    const QList<QCheckBox *> checks = w->rxFilteringRuleChecks();
    QCOMPARE(checks.size(), 7);
    QCOMPARE(checks.at(3)->property("u#idx").toInt(), 4);
    auto *grid = w->findChild<QGridLayout *>("rxFilteringGrid");
    QVERIFY(grid);

    auto cellOf = [grid](QWidget *widget) {
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        const int index = grid->indexOf(widget);
        if (index >= 0)
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        return QPoint(column, row);
    };
    const QList<QPoint> expected { { 0, 0 }, { 0, 1 }, { 0, 2 }, { 1, 0 }, { 1, 1 }, { 1, 2 },
        { 2, 0 } };
    for (int i = 0; i < checks.size(); ++i)
        QCOMPARE(cellOf(checks.at(i)), expected.at(i));
    QCOMPARE(grid->count(), 7);

    child<AdvancedComboBox>(w, "rxFilteringColCountCombo")->setCurrentIndexByItemData(1);
    for (int i = 0; i < checks.size(); ++i)
        QCOMPARE(cellOf(checks.at(i)), QPoint(0, i));
    child<AdvancedComboBox>(w, "rxFilteringColCountCombo")->setCurrentIndexByItemData(9);
    for (int i = 0; i < checks.size(); ++i)
        QCOMPARE(cellOf(checks.at(i)), QPoint(i, 0));

    // Without templates the hint label sits alone in the grid.
    auto *templateGrid = w->findChild<QGridLayout *>("txTemplatesGrid");
    QCOMPARE(templateGrid->count(), 1);
    QCOMPARE(templateGrid->itemAt(0)->widget(), child<QLabel>(w, "txTemplatesNoItemsLabel"));
}

void TestUdpMainWindow::loadingASecondFile()
{
    MainWindow *w = createWindow(QJsonObject {
        { "rx_filtering",
            QJsonObject { { "rules", QJsonArray { ruleObject("Old", "old", "show") } } } },
        { "tx_templates",
            QJsonObject {
                { "items", QJsonArray { QJsonObject { { "name", "Old" }, { "text", "o" } } } } } },
        { "tx_endpoint", QJsonObject { { "address", "10.0.0.1" }, { "port", 1234 } } } });
    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port, { "hello" });
    w->txTemplateItemButtons().at(0)->click();

    const QString second = m_dir->filePath("second.json");
    QJsonObject secondConfig = filteringConfig(
        QJsonArray { ruleObject("New 1", "n1", "hide"), ruleObject("New 2", "n2", "show") });
    secondConfig.insert("tx_templates", QJsonObject { { "items", QJsonArray {} } });
    secondConfig.insert("tx_endpoint", QJsonObject { { "port", 4321 } });
    secondConfig.insert("rx_word_wrapping", true);
    const QByteArray secondBytes = QJsonDocument(secondConfig).toJson();
    QVERIFY(TestFiles::write(second, secondBytes));
    child<QAction>(w, "loadConfigAction")->trigger();
    auto *dialog = w->findChild<QFileDialog *>("loadConfigDialog");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("Select a configuration file"));
    QCOMPARE(dialog->nameFilters(), QStringList({ "Configuration files (*.json)" }));
    dialog->selectFile(second);
    static_cast<QDialog *>(dialog)->accept();

    QCOMPARE(w->textFilter().ruleCount(), 2);
    QCOMPARE(w->textFilter().ruleAt(0).name, QString("New 1"));
    QTRY_COMPARE(w->findChildren<QCheckBox *>().size(), 2);
    QCOMPARE(w->rxFilteringRuleChecks().size(), 2);
    QVERIFY(w->txTemplateItemButtons().isEmpty());
    const auto hasOldButton = [w] {
        const QList<QPushButton *> buttons = w->findChildren<QPushButton *>();
        return std::any_of(
            buttons.cbegin(), buttons.cend(), [](QPushButton *b) { return b->text() == "Old"; });
    };
    QTRY_VERIFY(!hasOldButton());
    QCOMPARE(w->rxMessageModel()->rowCount(), 0);
    QVERIFY(child<QPlainTextEdit>(w, "txTextEdit")->toPlainText().isEmpty());
    QCOMPARE(child<QLabel>(w, "txInfoLabel")->text(), NoInfo);
    QCOMPARE(child<QLineEdit>(w, "txAddressEdit")->text(), QString("10.0.0.1"));
    QCOMPARE(child<QSpinBox>(w, "txPortSpin")->value(), 4321);
    QVERIFY(child<RxMessageListView>(w, "rxTextList")->wordWrap());
    QVERIFY(child<QAction>(w, "enableRxWordWrappingAction")->isChecked());

    // Closing writes the default path, not the chosen one.
    w->close();
    QCOMPARE(TestFiles::read(second), secondBytes);
    const QJsonObject saved = QJsonDocument::fromJson(TestFiles::read(m_configPath)).object();
    QCOMPARE(saved["rx_filtering"].toObject()["rules"].toArray().size(), 2);
}

void TestUdpMainWindow::configurationRoundTrip()
{
    const QJsonObject config {
        { "rx_display_limit", 250 },
        { "rx_word_wrapping", true },
        { "rx_endpoint", QJsonObject { { "address", 6 }, { "port", 5000 } } },
        { "rx_filtering",
            QJsonObject { { "column_count", 2 }, { "if_no_rule_matches", "hide" },
                { "rules",
                    QJsonArray { ruleObject("A", "a", "show", "info a", true),
                        ruleObject("Odd", "o", "sometimes"), ruleObject("B", "b", "hide") } } } },
        { "tx_endpoint", QJsonObject { { "address", "192.0.2.7" }, { "port", 6000 } } },
        { "tx_templates",
            QJsonObject { { "column_count", 7 },
                { "items",
                    QJsonArray { QJsonObject { { "name", "T" }, { "text", "t" }, { "info", "i" } },
                        QJsonObject { { "name", "Gone" }, { "text", "" } },
                        QJsonObject { { "name", "" }, { "text", "nameless" } },
                        "not an item" } } } },
    };
    MainWindow *w = createWindow(config);
    QCOMPARE(w->rxDisplayLimit(), 250);
    QVERIFY(child<RxMessageListView>(w, "rxTextList")->wordWrap());
    QVERIFY(child<QAction>(w, "enableRxWordWrappingAction")->isChecked());
    QCOMPARE(child<AdvancedComboBox>(w, "rxAddressCombo")->currentData().toInt(), 6);
    QCOMPARE(child<QSpinBox>(w, "rxPortSpin")->value(), 5000);
    QCOMPARE(child<AdvancedComboBox>(w, "rxFilteringColCountCombo")->currentData().toInt(), 2);
    QVERIFY(!w->showIfNoRuleMatches());
    QCOMPARE(w->rxFilteringRuleChecks().size(), 2);
    QCOMPARE(child<QLineEdit>(w, "txAddressEdit")->text(), QString("192.0.2.7"));
    QCOMPARE(child<QSpinBox>(w, "txPortSpin")->value(), 6000);
    QCOMPARE(child<AdvancedComboBox>(w, "txTemplatesColCountCombo")->currentData().toInt(), 7);
    QCOMPARE(w->txTemplateItemButtons().size(), 1);

    // Changes made in the window are written back.
    w->rxFilteringRuleChecks().at(1)->click();
    child<QAction>(w, "enableRxWordWrappingAction")->trigger();
    QVERIFY(!child<RxMessageListView>(w, "rxTextList")->wordWrap());
    QVERIFY(w->close());

    const QJsonObject saved = QJsonDocument::fromJson(TestFiles::read(m_configPath)).object();
    // The unknown type is written empty, and only the items that made a button are kept.
    const QJsonArray rules { ruleObject("A", "a", "show", "info a", true),
        ruleObject("Odd", "o", ""), ruleObject("B", "b", "show") };
    QJsonObject filtering = config["rx_filtering"].toObject();
    filtering["rules"] = rules;
    QJsonObject templates = config["tx_templates"].toObject();
    templates["items"]
        = QJsonArray { QJsonObject { { "name", "T" }, { "text", "t" }, { "info", "i" } } };
    QJsonObject expected = config;
    expected["rx_word_wrapping"] = false;
    expected["tx_repeat_interval"] = 1000;
    expected["rx_filtering"] = filtering;
    expected["tx_templates"] = templates;
    QCOMPARE(saved, expected);

    // A new window reads back what the last one wrote.
    m_window.reset();
    w = createWindow();
    QCOMPARE(w->textFilter().rulesAsJsonArray(), rules);
    QCOMPARE(w->rxDisplayLimit(), 250);
}

void TestUdpMainWindow::displayLimitFromFileIsBounded_data()
{
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<int>("limit");
    QTest::newRow("zero") << QJsonValue(0) << 1;
    QTest::newRow("negative") << QJsonValue(-5) << 1;
    QTest::newRow("too large") << QJsonValue(20000) << 10000;
    QTest::newRow("huge") << QJsonValue(1e12) << 100;
    QTest::newRow("fraction") << QJsonValue(2.5) << 100;
    QTest::newRow("string") << QJsonValue("50") << 100;
    QTest::newRow("in range") << QJsonValue(10000) << 10000;
}

void TestUdpMainWindow::displayLimitFromFileIsBounded()
{
    QFETCH(QJsonValue, value);
    QFETCH(int, limit);
    MainWindow *w = createWindow(QJsonObject { { "rx_display_limit", value } });
    QCOMPARE(w->rxDisplayLimit(), limit);
}

void TestUdpMainWindow::wrongTypesGiveConversionDefaults()
{
    MainWindow *w = createWindow(QJsonObject { { "rx_word_wrapping", "yes" },
        { "rx_endpoint", QJsonObject { { "address", "any IPv4" }, { "port", "5000" } } },
        { "rx_filtering",
            QJsonObject { { "column_count", "2" }, { "if_no_rule_matches", 1 },
                { "rules", QJsonObject { { "name", "A" } } } } },
        { "tx_endpoint", QJsonObject { { "address", 127 }, { "port", true } } },
        { "tx_templates", QJsonObject { { "column_count", 2.5 }, { "items", "T" } } } });
    QVERIFY(!child<RxMessageListView>(w, "rxTextList")->wordWrap());
    QCOMPARE(child<AdvancedComboBox>(w, "rxAddressCombo")->currentData().toInt(),
        int(QHostAddress::Any));
    // Ports convert to 0, which the port fields raise to their minimum.
    QCOMPARE(child<QSpinBox>(w, "rxPortSpin")->value(), 1);
    QCOMPARE(child<QSpinBox>(w, "txPortSpin")->value(), 1);
    QCOMPARE(child<AdvancedComboBox>(w, "rxFilteringColCountCombo")->currentData().toInt(), 5);
    QCOMPARE(child<AdvancedComboBox>(w, "txTemplatesColCountCombo")->currentData().toInt(), 5);
    // An empty name matches no choice: the selection stays.
    QVERIFY(w->showIfNoRuleMatches());
    QCOMPARE(w->textFilter().ruleCount(), 0);
    QVERIFY(w->txTemplateItemButtons().isEmpty());
    QCOMPARE(child<QLineEdit>(w, "txAddressEdit")->text(), QString());
}

void TestUdpMainWindow::unparsableConfigIsBackedUp()
{
    const QByteArray broken = "{ \"rx_display_limit\": 7, oops }";
    QVERIFY(TestFiles::write(m_configPath, broken));
    MainWindow *w = createWindow();
    QCOMPARE(w->rxDisplayLimit(), 100);
    // Said once the window shows, not only at exit.
    QTRY_VERIFY(w->findChild<QMessageBox *>("warningBox"));
    QCOMPARE(w->findChild<QMessageBox *>("warningBox")->text(),
        QString("The settings file %1 cannot be read as settings. The console starts with its "
                "default settings and keeps the file as a .bak copy when it saves them.")
            .arg(m_configPath));
    delete w->findChild<QMessageBox *>("warningBox");
    const QString report = closeAndAnswer(w);

    const QStringList backups
        = QDir(m_dir->path()).entryList({ "*.bak" }, QDir::Files | QDir::Hidden);
    QCOMPARE(backups.size(), 1);
    const QString backup = m_dir->filePath(backups.first());
    QCOMPARE(TestFiles::read(backup), broken);
    QVERIFY(QJsonDocument::fromJson(TestFiles::read(m_configPath)).isObject());
    QCOMPARE(report,
        QString("The settings file could not be read. It was kept as %1 and replaced with the "
                "current settings.")
            .arg(backup));
}

void TestUdpMainWindow::unsavableSettingsAreReportedAtExit()
{
    QVERIFY(TestFiles::write(m_configPath, R"({"rx_display_limit": 7})"));
    MainWindow *w = createWindow();
    QCOMPARE(w->rxDisplayLimit(), 7);
    w->setRxDisplayLimit(8);
    QString why;
    auto mount = FolderMount::readOnly(m_dir->path(), &why);
    if (!mount)
        QSKIP(qPrintable(why));
    const QString report = closeAndAnswer(w);
    QVERIFY2(
        report.startsWith(QString("The settings could not be saved to %1: ").arg(m_configPath)),
        qPrintable(report));
    QCOMPARE(TestFiles::read(m_configPath), QByteArray(R"({"rx_display_limit": 7})"));
}

void TestUdpMainWindow::signalWithAReportPendingStillSavesAndExits()
{
    QVERIFY(TestFiles::write(m_configPath, "{ oops"));
    MainWindow *w = createWindow();
    SignalCloser *closer = SignalCloser::closeOnTerminationSignals(w);
    QVERIFY(closer);
    connect(closer, &SignalCloser::terminationSignalReceived, w,
        &MainWindow::onTerminationSignalReceived);
    w->setRxDisplayLimit(9);
    std::raise(SIGTERM);
    // No box waits for a person who may not be there.
    QTRY_VERIFY(!w->isVisible());
    QVERIFY(!w->findChild<QMessageBox *>("exitMessageBox"));
    QCOMPARE(
        QJsonDocument::fromJson(TestFiles::read(m_configPath)).object().value("rx_display_limit"),
        QJsonValue(9));
    const QStringList backups
        = QDir(m_dir->path()).entryList({ "*.bak" }, QDir::Files | QDir::Hidden);
    QCOMPARE(backups.size(), 1);
    QCOMPARE(TestFiles::read(m_dir->filePath(backups.first())), QByteArray("{ oops"));
}

void TestUdpMainWindow::mnemonicsAreUnique_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("ru") << "ru";
}

void TestUdpMainWindow::mnemonicsAreUnique()
{
    QFETCH(QString, language);
    Catalogues catalogues;
    if (language != QLatin1String("en"))
        QVERIFY(
            catalogues.add({ "qel-udp-client", "vantor-widgets" }, language, VANTOR_CATALOGUE_DIR));
    MainWindow *w = createWindow();
    // A button may change its text when checked, not its key.
    QList<Mnemonics::Text> texts = Mnemonics::textsIn(w);
    auto *bind = child<QPushButton>(w, "rxBindButton");
    bind->setChecked(true);
    texts.append({ bind, bind->text() });
    bind->setChecked(false);
    child<QSpinBox>(w, "txPortSpin")->setValue(freePort());
    auto *repeat = child<QPushButton>(w, "txRepeatButton");
    repeat->setChecked(true);
    texts.append({ repeat, repeat->text() });
    repeat->setChecked(false);

    const QStringList clashes = Mnemonics::clashes(texts);
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join('\n')));
    QVERIFY(Mnemonics::keyCount(texts) >= 10);
}

void TestUdpMainWindow::wholeMessageShowsEveryByte()
{
    MainWindow *w = createWindow();
    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port, { QByteArray("ab\0\xff\r", 5) });
    // The list cuts the payload at the zero byte; the dialog shows it all.
    QCOMPARE(payloads(w), QStringList({ "ab" }));
    auto *list = child<RxMessageListView>(w, "rxTextList");
    list->setCurrentIndex(w->rxMessageModel()->index(0));
    child<QPushButton>(w, "rxShowBytesButton")->click();
    auto *dialog = child<MessageBytesDialog>(w, "rxMessageDialog");
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), w->rxMessageModel()->index(0).data(Qt::UserRole).toString());
    QCOMPARE(dialog->findChild<QLabel *>("sizeLabel")->text(), QString("Bytes: 5"));
    QCOMPARE(dialog->findChild<QPlainTextEdit *>("rxMessageText")->toPlainText(),
        QString::fromUtf8("ab\u2400\u00ff\u240d"));
    QCOMPARE(dialog->findChild<QPlainTextEdit *>("rxMessageHex")->toPlainText(),
        QString("0000  61 62 00 ff 0d                                    |ab...|"));

    // It follows the selection, and says when there is none.
    child<QPushButton>(w, "rxClearButton")->click();
    QCOMPARE(dialog->findChild<QLabel *>("sizeLabel")->text(), QString("No message is selected."));
    QVERIFY(dialog->findChild<QPlainTextEdit *>("rxMessageHex")->toPlainText().isEmpty());
}

void TestUdpMainWindow::savesTheReceivedList()
{
    MainWindow *w = createWindow();
    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port, { "first", QByteArray("second\0\t", 8) });
    const QString path = m_dir->filePath("received.txt");
    QVERIFY(w->saveRxMessagesToFile(path));
    QCOMPARE(w->statusBar()->currentMessage(), QString("Messages saved to %1: 2").arg(path));

    const QList<QByteArray> lines = TestFiles::read(path).split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), QByteArray("time\tsender\tpayload"));
    const QByteArray sender = "127.0.0.1:" + QByteArray::number(m_sender.localPort());
    const QRegularExpression time("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}");
    QVERIFY(time.match(QString::fromLatin1(lines.at(1))).hasMatch());
    QVERIFY(lines.at(1).endsWith("\t" + sender + "\tfirst"));
    QVERIFY(lines.at(2).endsWith("\t" + sender + "\tsecond\\x00\\t"));
    QVERIFY(lines.at(3).isEmpty());

    // A file that cannot be written is said so, and the list stays.
    QVERIFY(!w->saveRxMessagesToFile(m_dir->path()));
    auto *box = w->findChild<QMessageBox *>("warningBox");
    QVERIFY(box);
    QVERIFY2(box->text().startsWith(
                 QString("The received messages could not be saved to %1: ").arg(m_dir->path())),
        qPrintable(box->text()));
    QCOMPARE(w->rxMessageModel()->rowCount(), 2);
}

void TestUdpMainWindow::repeatsUntilStopped()
{
    QUdpSocket receiver;
    QVERIFY(receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
    MainWindow *w = createWindow();
    const quint16 port = bind(w);
    QVERIFY(port);
    child<QLineEdit>(w, "txAddressEdit")->setText("127.0.0.1");
    child<QSpinBox>(w, "txPortSpin")->setValue(receiver.localPort());
    child<QPlainTextEdit>(w, "txTextEdit")->setPlainText("tick");
    child<QSpinBox>(w, "txRepeatIntervalSpin")->setValue(10);
    auto *button = child<QPushButton>(w, "txRepeatButton");
    button->click();
    QVERIFY(button->isChecked());
    QCOMPARE(button->text(), QString("Sto&p"));
    QVERIFY(!child<QSpinBox>(w, "txRepeatIntervalSpin")->isEnabled());

    QList<QNetworkDatagram> datagrams;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            while (receiver.hasPendingDatagrams())
                datagrams << receiver.receiveDatagram();
            return datagrams.size() >= 3;
        }(),
        10000);
    for (const QNetworkDatagram &datagram : datagrams) {
        QCOMPARE(datagram.data(), QByteArray("tick"));
        QCOMPARE(datagram.senderPort(), int(port));
    }
    button->click();
    QVERIFY(!w->repeatSender().isActive());
    QCOMPARE(button->text(), QString("Re&peat"));
    QVERIFY(child<QSpinBox>(w, "txRepeatIntervalSpin")->isEnabled());
    QCOMPARE(child<QLabel>(w, "txRepeatCountLabel")->text(),
        QString("Sent: %1").arg(w->repeatSender().sentCount()));

    // Unbinding stops it, with the reason.
    button->click();
    QVERIFY(w->repeatSender().isActive());
    child<QPushButton>(w, "rxBindButton")->click();
    QVERIFY(!button->isChecked());
    auto *box = w->findChild<QMessageBox *>("warningBox");
    QVERIFY(box);
    QCOMPARE(box->text(),
        QString("Repeated sending stopped: the socket was unbound, so the messages would leave "
                "from another port."));
}

void TestUdpMainWindow::receivesUtf8AndLatin1()
{
    const QJsonArray rules { ruleObject(
                                 QString::fromUtf8("Привет"), QString::fromUtf8("привет"), "hide"),
        ruleObject("Cafe", QString::fromLatin1("caf\xe9"), "show", "latin") };
    MainWindow *w = createWindow(filteringConfig(rules));
    const quint16 port = bind(w);
    QVERIFY(port);
    receive(w, port,
        { QString::fromUtf8("ПРИВЕТ").toUtf8(), QString::fromUtf8("Ёлка").toUtf8(), "caf\xe9" });

    QCOMPARE(w->rxMessageModel()->rowCount(), 2);
    const QModelIndex latin = w->rxMessageModel()->index(0);
    QCOMPARE(latin.data(Qt::ToolTipRole).toString(), QString::fromLatin1("caf\xe9"));
    QCOMPARE(latin.data(Qt::UserRole + 2).toInt(), 1);
    const QModelIndex utf8 = w->rxMessageModel()->index(1);
    QCOMPARE(utf8.data(Qt::ToolTipRole).toString(), QString::fromUtf8("Ёлка"));
    QVERIFY(utf8.data().toString().endsWith(QString::fromUtf8("     Ёлка")));
}

void TestUdpMainWindow::largestDatagrams()
{
    MainWindow *w = createWindow();
    const quint16 port = bind(w);
    QVERIFY(port);

    QByteArray binary(65507, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7 + 1) % 256);
    QByteArray text(65507, 'x');
    for (int i = 50; i < text.size(); i += 80)
        text[i] = i % 160 == 50 ? '\n' : ' ';
    QByteArray json = "[";
    while (json.size() < 65400)
        json += "{\"k\":[1,2,{\"n\":\"v\"}]},";
    json += "0]";
    QVERIFY(json.size() <= 65507);

    receive(w, port, { binary, text, json });
    RxMessageModel *model = w->rxMessageModel();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(2).data(Qt::UserRole + 1).toByteArray(), binary);
    QCOMPARE(model->index(1).data(Qt::UserRole + 1).toByteArray(), text);
    QCOMPARE(model->index(0).data(Qt::UserRole + 1).toByteArray(), json);
    for (int row = 0; row < 3; ++row)
        QVERIFY(
            model->index(row).data().toString().size() <= RxMessageModel::MaxCollapsedChars + 1);

    auto *list = child<RxMessageListView>(w, "rxTextList");
    list->setCurrentIndex(model->index(0));
    const QString expanded = model->index(0).data().toString();
    QVERIFY(expanded.startsWith(model->index(0).data(Qt::UserRole).toString() + "\n[\n    {\n"));
    QVERIFY(expanded.count('\n') > 10000);
    QTRY_VERIFY(list->visualRect(model->index(0)).height() > 10000);
    list->scrollTo(model->index(1));
    QVERIFY(!list->grab().isNull());
    list->setCurrentIndex(model->index(2));
    QVERIFY(!model->isExpanded(0));
    QVERIFY(!list->grab().isNull());

    // The whole text, not the 1024 characters the list shows, can be copied and read.
    list->setCurrentIndex(model->index(1));
    list->setFocus();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromLatin1(text));
    child<QAction>(w, "showRxMessageAction")->trigger();
    QCOMPARE(child<QPlainTextEdit>(w, "rxMessageText")->toPlainText(), QString::fromLatin1(text));
}

void TestUdpMainWindow::burstWithoutLoss()
{
    MainWindow *w = createWindow(QJsonObject { { "rx_display_limit", 10000 } });
    const quint16 port = bind(w);
    QVERIFY(port);
    // The burst is sent before the window reads anything, so it has to fit into the
    // enlarged receive buffer.
    const int count = 1000;
    QList<QByteArray> burst;
    for (int i = 0; i < count; ++i)
        burst << QByteArray::number(i);
    receive(w, port, burst);
    QCOMPARE(w->rxMessageModel()->rowCount(), count);
    for (int row = 0; row < count; ++row)
        QCOMPARE(w->rxMessageModel()->index(row).data(Qt::UserRole + 1).toByteArray(),
            QByteArray::number(count - 1 - row));
}

QTEST_MAIN(TestUdpMainWindow)
#include "tst_udpmainwindow.moc"
