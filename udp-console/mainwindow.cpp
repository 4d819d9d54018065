#include "mainwindow.h"

#include "advancedcombobox.h"
#include "advancedscrollarea.h"
#include "collapsiblegroupbox.h"
#include "jsonconfigfile.h"
#include "payloadtext.h"
#include "rxmessagelistview.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHostInfo>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTime>
#include <QVBoxLayout>

namespace {
const QString ApplicationVersion = QStringLiteral("v1.2.2-0-g6fd602f");
const QString BuildDate = QStringLiteral("2024-10-31");

const char TextProperty[] = "u#text";
const char InfoProperty[] = "u#info";
const char IndexProperty[] = "u#idx";

// Reading stops after this long even while datagrams keep arriving, so that a sender
// faster than the window cannot freeze it; the socket notifier fires again at once for
// the rest.
constexpr qint64 ReadBudgetMsecs = 20;
constexpr int MaxDatagramSize = 65536;

constexpr int DefaultColumnCount = 5;
constexpr int DefaultPort = 9999;
constexpr int DefaultAddress = QHostAddress::Any;

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : MainWindow(defaultConfigPath(), parent)
{
    if (!QFileInfo(QCoreApplication::applicationDirPath()).isWritable())
        statusBar()->showMessage(tr("Settings are kept in %1").arg(m_configPath));
}

MainWindow::MainWindow(const QString &configPath, QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
    , m_configPath(configPath)
    , m_rxModel(new RxMessageModel(this))
{
    setUpForm();
    connectSignals();
    loadConfigFromFile(m_configPath);
    arrangeDynamicControls();
    setUpMenus();
}

MainWindow::~MainWindow() = default;

QString MainWindow::defaultConfigPath()
{
    return configPathFor(QCoreApplication::applicationDirPath());
}

QString MainWindow::configPathFor(const QString &programDir)
{
    const QString name = QStringLiteral(".%1_config.json").arg(QStringLiteral("qel-udp-client"));
    if (QFileInfo(programDir).isWritable())
        return QDir(programDir).filePath(name);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(name);
}

void MainWindow::setUpForm()
{
    m_ui->setupUi(this);
    // The designed content of the boxes moves into their containers before anything is
    // added to them.
    for (CollapsibleGroupBox *group :
        { m_ui->rxFilteringGroup, m_ui->rxInfoGroup, m_ui->txTemplatesGroup, m_ui->txInfoGroup })
        group->containerWidget();
    m_ui->splitter->setStretchFactor(0, 3);
    m_ui->splitter->setStretchFactor(1, 2);
    // Made now, so that the first message does not resize the window's content.
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    setWindowTitle(QStringLiteral("%1 %2 %3")
                       .arg(QCoreApplication::applicationName(), ApplicationVersion, BuildDate));

    const QList<QPair<QString, QHostAddress::SpecialAddress>> addresses {
        { tr("localhost IPv4"), QHostAddress::LocalHost },
        { tr("localhost IPv6"), QHostAddress::LocalHostIPv6 },
        { tr("any IPv4"), QHostAddress::AnyIPv4 },
        { tr("any IPv6"), QHostAddress::AnyIPv6 },
        { tr("any IPv4/v6"), QHostAddress::Any },
    };
    for (const auto &address : addresses)
        m_ui->rxAddressCombo->addItem(address.first, static_cast<int>(address.second));
    for (int columns = 1; columns <= 9; ++columns) {
        m_ui->rxFilteringColCountCombo->addItem(QString::number(columns), columns);
        m_ui->txTemplatesColCountCombo->addItem(QString::number(columns), columns);
    }
    m_ui->rxFilteringIfNoRuleCombo->addItem(tr("show"), static_cast<int>(TextFilter::Rule::Show));
    m_ui->rxFilteringIfNoRuleCombo->addItem(tr("hide"), static_cast<int>(TextFilter::Rule::Hide));

    m_ui->rxFilteringGroup->setCollapsed(true);
    m_ui->rxInfoGroup->setCollapsed(true);
    m_ui->txTemplatesGroup->setCollapsed(true);
    m_ui->txInfoGroup->setCollapsed(true);

    m_ui->rxAddressCombo->setCurrentIndexByItemData(DefaultAddress);
    m_ui->rxPortSpin->setValue(DefaultPort);
    m_ui->rxFilteringColCountCombo->setCurrentIndexByItemData(DefaultColumnCount);
    m_ui->rxFilteringIfNoRuleCombo->setCurrentIndexByItemData(
        static_cast<int>(TextFilter::Rule::Show));
    m_ui->txAddressEdit->setText(QStringLiteral("127.0.0.1"));
    m_ui->txPortSpin->setValue(DefaultPort);
    m_ui->txTemplatesColCountCombo->setCurrentIndexByItemData(DefaultColumnCount);
    setBindButtonText(false);
    setTxTemplateFields(QString(), QString());
    setInfoText(m_ui->rxInfoLabel, QString());

    m_ui->rxTextList->setMessageModel(m_rxModel);
    auto *copy = new QAction(tr("&Copy message"), m_ui->rxTextList);
    copy->setObjectName(QStringLiteral("copyRxMessageAction"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &MainWindow::onCopyRxMessageActionTriggered);
    auto *show = new QAction(tr("&Show whole message"), m_ui->rxTextList);
    show->setObjectName(QStringLiteral("showRxMessageAction"));
    connect(show, &QAction::triggered, this, &MainWindow::onShowRxMessageActionTriggered);
    connect(m_ui->rxTextList, &QAbstractItemView::activated, this,
        &MainWindow::onShowRxMessageActionTriggered);
    m_ui->rxTextList->addAction(copy);
    m_ui->rxTextList->addAction(show);
    m_ui->rxTextList->setContextMenuPolicy(Qt::ActionsContextMenu);

    m_flushTimer.setSingleShot(true);
    m_sinceFlush.start();
}

void MainWindow::setUpMenus()
{
    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    QAction *load = fileMenu->addAction(tr("&Load configuration"));
    load->setObjectName(QStringLiteral("loadConfigAction"));
    connect(load, &QAction::triggered, this, &MainWindow::onLoadConfigActionClicked);
    fileMenu->addSeparator();
    QAction *exit = fileMenu->addAction(tr("&Exit"));
    exit->setObjectName(QStringLiteral("exitAction"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *viewMenu = menuBar()->addMenu(tr("&View"));
    QAction *limit = viewMenu->addAction(tr("&Change received messages display limit"));
    limit->setObjectName(QStringLiteral("changeRxDisplayLimitAction"));
    connect(limit, &QAction::triggered, this, &MainWindow::onChangeRxDisplayLimitActionClicked);
    m_wordWrapAction = viewMenu->addAction(tr("&Enable word wrapping in received messages"));
    m_wordWrapAction->setObjectName(QStringLiteral("enableRxWordWrappingAction"));
    m_wordWrapAction->setCheckable(true);
    m_wordWrapAction->setChecked(m_ui->rxTextList->wordWrap());
    connect(m_wordWrapAction, &QAction::triggered, this,
        &MainWindow::onEnableRxWordWrappingActionTriggered);
}

void MainWindow::connectSignals()
{
    connect(m_ui->rxBindButton, &QPushButton::toggled, this, &MainWindow::setBindButtonText);
    connect(m_ui->rxBindButton, &QPushButton::clicked, this, &MainWindow::onRxBindButtonClicked);
    connect(m_ui->rxClearButton, &QPushButton::clicked, this, &MainWindow::onRxClearButtonClicked);
    connect(m_ui->rxFilteringColCountCombo, QOverload<int>::of(&QComboBox::currentIndexChanged),
        this, &MainWindow::onRxFilteringColCountComboIndexChanged);
    connect(m_ui->rxFilteringIfNoRuleCombo, QOverload<int>::of(&QComboBox::currentIndexChanged),
        this, &MainWindow::onRxFilteringIfNoRuleComboIndexChanged);
    connect(m_ui->rxFilteringShowAllButton, &QPushButton::clicked, this,
        &MainWindow::onRxFilteringShowAllButtonClicked);
    connect(m_ui->rxFilteringHideAllButton, &QPushButton::clicked, this,
        &MainWindow::onRxFilteringHideAllButtonClicked);
    connect(m_ui->rxTextList->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &MainWindow::onRxTextListCurrentItemChanged);
    connect(m_ui->rxInfoScrollArea, &AdvancedScrollArea::innerAreaSizeChanged, this,
        &MainWindow::adjustRxMessageInfoSize);
    connect(m_ui->txSendButton, &QPushButton::clicked, this, &MainWindow::onTxSendButtonClicked);
    connect(m_ui->txClearButton, &QPushButton::clicked, this, &MainWindow::onTxClearButtonClicked);
    connect(m_ui->txTemplatesColCountCombo, QOverload<int>::of(&QComboBox::currentIndexChanged),
        this, &MainWindow::onTxTemplatesColCountComboIndexChanged);
    connect(m_ui->txInfoScrollArea, &AdvancedScrollArea::innerAreaSizeChanged, this,
        &MainWindow::adjustTxTemplateInfoSize);
    connect(&m_udpSocket, &QUdpSocket::readyRead, this, &MainWindow::onUdpSocketReadyRead);
    connect(&m_flushTimer, &QTimer::timeout, this, &MainWindow::flushRxMessages);
}

void MainWindow::setRxDisplayLimit(int limit)
{
    m_rxDisplayLimit = qBound(MinRxDisplayLimit, limit, MaxRxDisplayLimit);
}

void MainWindow::loadConfigFromFile(const QString &path)
{
    QJsonObject config;
    if (JsonConfigFile(MaxConfigSize).read(path, &config) != JsonConfigFile::Content::Object)
        return;

    if (config.contains(QLatin1String("rx_display_limit")))
        setRxDisplayLimit(
            config.value(QLatin1String("rx_display_limit")).toInt(DefaultRxDisplayLimit));
    if (config.contains(QLatin1String("rx_word_wrapping")))
        m_ui->rxTextList->setEntriesWrapped(
            config.value(QLatin1String("rx_word_wrapping")).toBool());

    if (config.contains(QLatin1String("rx_endpoint"))) {
        const QJsonObject endpoint = config.value(QLatin1String("rx_endpoint")).toObject();
        if (endpoint.contains(QLatin1String("address")))
            m_ui->rxAddressCombo->setCurrentIndexByItemData(
                endpoint.value(QLatin1String("address")).toInt(DefaultAddress));
        if (endpoint.contains(QLatin1String("port")))
            m_ui->rxPortSpin->setValue(endpoint.value(QLatin1String("port")).toInt());
    }

    if (config.contains(QLatin1String("rx_filtering"))) {
        const QJsonObject filtering = config.value(QLatin1String("rx_filtering")).toObject();
        if (filtering.contains(QLatin1String("column_count")))
            m_ui->rxFilteringColCountCombo->setCurrentIndexByItemData(
                filtering.value(QLatin1String("column_count")).toInt(DefaultColumnCount));
        if (filtering.contains(QLatin1String("if_no_rule_matches"))) {
            const auto type = TextFilter::Rule::stringToType(
                filtering.value(QLatin1String("if_no_rule_matches")).toString());
            m_ui->rxFilteringIfNoRuleCombo->setCurrentIndexByItemData(static_cast<int>(type));
        }
        if (filtering.contains(QLatin1String("rules")))
            createRxFilteringRuleChecks(filtering.value(QLatin1String("rules")).toArray());
    }

    if (config.contains(QLatin1String("tx_endpoint"))) {
        const QJsonObject endpoint = config.value(QLatin1String("tx_endpoint")).toObject();
        if (endpoint.contains(QLatin1String("address")))
            m_ui->txAddressEdit->setText(endpoint.value(QLatin1String("address")).toString());
        if (endpoint.contains(QLatin1String("port")))
            m_ui->txPortSpin->setValue(endpoint.value(QLatin1String("port")).toInt());
    }

    if (config.contains(QLatin1String("tx_templates"))) {
        const QJsonObject templates = config.value(QLatin1String("tx_templates")).toObject();
        if (templates.contains(QLatin1String("column_count")))
            m_ui->txTemplatesColCountCombo->setCurrentIndexByItemData(
                templates.value(QLatin1String("column_count")).toInt(DefaultColumnCount));
        if (templates.contains(QLatin1String("items")))
            createTxTemplateItemButtons(templates.value(QLatin1String("items")).toArray());
    }
}

void MainWindow::saveConfigToFile(const QString &path)
{
    QJsonArray items;
    for (QPushButton *button : qAsConst(m_templateButtons)) {
        items.append(QJsonObject {
            { QStringLiteral("name"), button->text() },
            { QStringLiteral("text"), button->property(TextProperty).toString() },
            { QStringLiteral("info"), button->property(InfoProperty).toString() },
        });
    }
    const auto ifNoRuleMatches = static_cast<TextFilter::Rule::Type>(
        m_ui->rxFilteringIfNoRuleCombo->currentData().toInt());

    const QJsonObject config {
        { QStringLiteral("rx_display_limit"), m_rxDisplayLimit },
        { QStringLiteral("rx_word_wrapping"), m_ui->rxTextList->wordWrap() },
        { QStringLiteral("rx_endpoint"),
            QJsonObject {
                { QStringLiteral("address"), m_ui->rxAddressCombo->currentData().toInt() },
                { QStringLiteral("port"), m_ui->rxPortSpin->value() },
            } },
        { QStringLiteral("rx_filtering"),
            QJsonObject {
                { QStringLiteral("column_count"),
                    m_ui->rxFilteringColCountCombo->currentData().toInt() },
                { QStringLiteral("if_no_rule_matches"),
                    TextFilter::Rule::typeToString(ifNoRuleMatches) },
                { QStringLiteral("rules"), m_textFilter.rulesAsJsonArray() },
            } },
        { QStringLiteral("tx_endpoint"),
            QJsonObject {
                { QStringLiteral("address"), m_ui->txAddressEdit->text() },
                { QStringLiteral("port"), m_ui->txPortSpin->value() },
            } },
        { QStringLiteral("tx_templates"),
            QJsonObject {
                { QStringLiteral("column_count"),
                    m_ui->txTemplatesColCountCombo->currentData().toInt() },
                { QStringLiteral("items"), items },
            } },
    };
    JsonConfigFile(MaxConfigSize).write(path, config);
}

bool MainWindow::bindUdpSocket(const QHostAddress &address, quint16 port)
{
    unbindUdpSocket();
    if (!m_udpSocket.bind(address, port))
        return false;
    m_udpSocket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, ReceiveBufferSize);
    return true;
}

void MainWindow::unbindUdpSocket()
{
    if (m_udpSocket.state() == QAbstractSocket::BoundState)
        m_udpSocket.close();
    else if (m_udpSocket.state() != QAbstractSocket::UnconnectedState)
        m_udpSocket.abort();
}

void MainWindow::addRxMessageToLog(
    const QHostAddress &address, int port, const QByteArray &payload, int ruleIndex)
{
    queueRxMessage(
        address, static_cast<quint16>(port), payload, PayloadText::decode(payload), ruleIndex);
    flushRxMessages();
}

void MainWindow::queueRxMessage(
    const QHostAddress &address, quint16 port, QByteArray payload, QString text, int ruleIndex)
{
    RxMessageModel::Entry entry;
    entry.header = rxMessageHeader(address, port);
    entry.payload = std::move(payload);
    entry.text = std::move(text);
    entry.ruleIndex = ruleIndex;
    m_pendingEntries.append(std::move(entry));
}

QString MainWindow::rxMessageHeader(const QHostAddress &address, quint16 port)
{
    // Local time costs a time zone lookup (a stat() of /etc/localtime) on every call, so
    // the offset from UTC is looked up once a second and the clock read as UTC.
    const qint64 utcMsecs = QDateTime::currentMSecsSinceEpoch();
    if (utcMsecs / 1000 != m_headerUtcSecond) {
        m_headerUtcSecond = utcMsecs / 1000;
        m_headerUtcOffsetMsecs
            = qint64(QDateTime::fromMSecsSinceEpoch(utcMsecs).offsetFromUtc()) * 1000;
    }
    if (utcMsecs != m_headerMsecs) {
        m_headerMsecs = utcMsecs;
        constexpr qint64 MsecsPerDay = 24 * 3600 * 1000;
        const qint64 local
            = ((utcMsecs + m_headerUtcOffsetMsecs) % MsecsPerDay + MsecsPerDay) % MsecsPerDay;
        m_headerTime = QTime::fromMSecsSinceStartOfDay(static_cast<int>(local))
                           .toString(QStringLiteral("hh:mm:ss.zzz"));
    }
    if (address != m_headerAddress || m_headerAddressText.isNull()) {
        m_headerAddress = address;
        // A dual-stack socket reports IPv4 senders as "::ffff:a.b.c.d"; show them as IPv4.
        bool isIpv4 = false;
        const quint32 ipv4 = address.toIPv4Address(&isIpv4);
        m_headerAddressText = isIpv4 ? QHostAddress(ipv4).toString() : address.toString();
    }
    return tr("%1 from %2:%3").arg(m_headerTime, m_headerAddressText).arg(port);
}

void MainWindow::flushRxMessages()
{
    m_flushTimer.stop();
    m_sinceFlush.restart();
    if (m_pendingEntries.isEmpty())
        return;
    QVector<RxMessageModel::Entry> entries;
    entries.swap(m_pendingEntries);
    m_rxModel->prependEntries(std::move(entries));
    trimRxMessages();
}

void MainWindow::trimRxMessages()
{
    const int excess
        = qMax(m_rxModel->rowCount() - m_rxDisplayLimit, m_rxModel->rowsOverBudget(RxByteBudget));
    if (excess <= 0)
        return;
    // Qt would move the current entry to a neighbour; the selection is dropped instead.
    if (m_ui->rxTextList->currentIndex().row() >= m_rxModel->rowCount() - excess)
        m_ui->rxTextList->selectionModel()->clear();
    m_rxModel->removeLastRows(excess);
}

void MainWindow::setRxMessageExpanded(const QModelIndex &index, bool expanded)
{
    if (!index.isValid() || index.model() != m_rxModel)
        return;
    const bool wasExpanded = m_rxModel->isExpanded(index.row());
    m_rxModel->setExpanded(index.row(), expanded);
    if (wasExpanded != m_rxModel->isExpanded(index.row()))
        m_ui->rxTextList->scheduleEntriesLayout();
}

void MainWindow::setRxMessageInfo(const QModelIndex &index)
{
    QString info;
    if (index.isValid()) {
        const int ruleIndex = index.data(RxMessageModel::RuleIndexRole).toInt();
        if (ruleIndex >= 0 && ruleIndex < m_textFilter.ruleCount())
            info = m_textFilter.ruleAt(ruleIndex).info;
    }
    setInfoText(m_ui->rxInfoLabel, info);
    adjustRxMessageInfoSize();
}

void MainWindow::setTxTemplateFields(const QString &text, const QString &info)
{
    m_ui->txTextEdit->setPlainText(text);
    setInfoText(m_ui->txInfoLabel, info);
    adjustTxTemplateInfoSize();
}

void MainWindow::setInfoText(QLabel *label, const QString &info)
{
    if (info.isEmpty()) {
        label->setText(tr("No info available"));
        label->setAlignment(Qt::AlignCenter);
    } else {
        label->setText(info);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void MainWindow::createRxFilteringRuleChecks(const QJsonArray &rules)
{
    const int first = m_textFilter.ruleCount();
    m_textFilter.appendRulesFromJsonArray(rules);
    QWidget *container = m_ui->rxFilteringGroup->containerWidget();
    for (int i = first; i < m_textFilter.ruleCount(); ++i) {
        const TextFilter::Rule &rule = m_textFilter.ruleAt(i);
        if (rule.type == TextFilter::Rule::NoType)
            continue;
        auto *check = new QCheckBox(rule.name, container);
        check->setToolTip(rule.text);
        check->setChecked(rule.type == TextFilter::Rule::Show);
        check->setProperty(IndexProperty, i);
        connect(check, &QCheckBox::toggled, this, &MainWindow::onRxFilteringRuleCheckToggled);
        m_ruleChecks.append(check);
    }
}

void MainWindow::createTxTemplateItemButtons(const QJsonArray &items)
{
    QWidget *container = m_ui->txTemplatesGroup->containerWidget();
    for (const QJsonValue &value : items) {
        if (!value.isObject())
            continue;
        const QJsonObject item = value.toObject();
        const QString name = item.value(QLatin1String("name")).toString();
        const QString text = item.value(QLatin1String("text")).toString();
        if (name.isEmpty() || text.isEmpty())
            continue;
        auto *button = new QPushButton(name, container);
        button->setProperty(TextProperty, text);
        button->setProperty(InfoProperty, item.value(QLatin1String("info")).toString());
        connect(button, &QPushButton::clicked, this, &MainWindow::onTxTemplateItemButtonClicked);
        m_templateButtons.append(button);
    }
}

void MainWindow::arrangeInGrid(
    QGridLayout *grid, const QList<QWidget *> &controls, QLabel *emptyLabel, int columnCount)
{
    while (grid->count() > 0)
        delete grid->takeAt(0);
    if (controls.isEmpty()) {
        grid->addWidget(emptyLabel, 0, 0);
        emptyLabel->show();
        return;
    }
    emptyLabel->hide();
    const int columns = qMax(1, columnCount);
    const int rows = (controls.size() + columns - 1) / columns;
    // Filled column by column.
    for (int i = 0; i < controls.size(); ++i) {
        grid->addWidget(controls.at(i), i % rows, i / rows);
        controls.at(i)->show();
    }
}

void MainWindow::arrangeRxFilteringRuleChecks(int columnCount)
{
    QList<QWidget *> controls;
    for (QCheckBox *check : qAsConst(m_ruleChecks))
        controls.append(check);
    arrangeInGrid(m_ui->rxFilteringGrid, controls, m_ui->rxFilteringNoRulesLabel, columnCount);
}

void MainWindow::arrangeTxTemplateItemButtons(int columnCount)
{
    QList<QWidget *> controls;
    for (QPushButton *button : qAsConst(m_templateButtons))
        controls.append(button);
    arrangeInGrid(m_ui->txTemplatesGrid, controls, m_ui->txTemplatesNoItemsLabel, columnCount);
}

void MainWindow::arrangeDynamicControls()
{
    arrangeRxFilteringRuleChecks(m_ui->rxFilteringColCountCombo->currentData().toInt());
    arrangeTxTemplateItemButtons(m_ui->txTemplatesColCountCombo->currentData().toInt());
}

void MainWindow::deleteRxFilteringRuleChecks()
{
    m_textFilter.removeAllRules();
    for (QCheckBox *check : qAsConst(m_ruleChecks)) {
        m_ui->rxFilteringGrid->removeWidget(check);
        check->hide();
        check->deleteLater();
    }
    m_ruleChecks.clear();
}

void MainWindow::deleteTxTemplateItemButtons()
{
    for (QPushButton *button : qAsConst(m_templateButtons)) {
        m_ui->txTemplatesGrid->removeWidget(button);
        button->hide();
        button->deleteLater();
    }
    m_templateButtons.clear();
}

void MainWindow::deleteDynamicControls()
{
    deleteRxFilteringRuleChecks();
    deleteTxTemplateItemButtons();
}

void MainWindow::onLoadConfigActionClicked()
{
    auto *dialog = new QFileDialog(this, tr("Select a configuration file"),
        QCoreApplication::applicationDirPath(), tr("Configuration files (*.json)"));
    dialog->setObjectName(QStringLiteral("loadConfigDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // A hidden file such as ".qel-udp-client_config.json" must be selectable.
    dialog->setFilter(dialog->filter() | QDir::Hidden);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        if (path.isEmpty())
            return;
        deleteDynamicControls();
        onRxClearButtonClicked();
        setTxTemplateFields(QString(), QString());
        loadConfigFromFile(path);
        arrangeDynamicControls();
        // The new file may switch word wrapping; the menu item follows the list.
        m_wordWrapAction->setChecked(m_ui->rxTextList->wordWrap());
    });
    dialog->open();
}

void MainWindow::onChangeRxDisplayLimitActionClicked()
{
    auto *dialog = new QInputDialog(this);
    dialog->setObjectName(QStringLiteral("rxDisplayLimitDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setInputMode(QInputDialog::IntInput);
    dialog->setWindowTitle(tr("Enter a value"));
    dialog->setLabelText(tr("Received messages display limit"));
    dialog->setIntRange(MinRxDisplayLimit, MaxRxDisplayLimit);
    dialog->setIntStep(1);
    dialog->setIntValue(m_rxDisplayLimit);
    connect(dialog, &QInputDialog::intValueSelected, this, &MainWindow::setRxDisplayLimit);
    dialog->open();
}

void MainWindow::onEnableRxWordWrappingActionTriggered(bool enabled)
{
    m_ui->rxTextList->setEntriesWrapped(enabled);
}

void MainWindow::setBindButtonText(bool checked)
{
    m_ui->rxBindButton->setText(checked ? tr("Unbind") : tr("Bind"));
}

void MainWindow::onRxBindButtonClicked(bool checked)
{
    unbindUdpSocket();
    if (!checked) {
        m_ui->rxAddressPortWidget->setEnabled(true);
        return;
    }
    const auto address
        = static_cast<QHostAddress::SpecialAddress>(m_ui->rxAddressCombo->currentData().toInt());
    if (bindUdpSocket(QHostAddress(address), static_cast<quint16>(m_ui->rxPortSpin->value()))) {
        m_ui->rxAddressPortWidget->setEnabled(false);
        return;
    }
    m_ui->rxBindButton->setChecked(false);
    m_ui->rxAddressPortWidget->setEnabled(true);
    showWarning(tr("Unable to bind. Probably the specified port number is already in use."));
}

void MainWindow::showWarning(const QString &text)
{
    // Window-modal but not blocking: the socket and the list keep running meanwhile.
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Warning"), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("warningBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::onRxClearButtonClicked()
{
    m_pendingEntries.clear();
    // A model reset drops the current entry without a currentChanged() signal.
    m_rxModel->clear();
    setRxMessageInfo(QModelIndex());
}

void MainWindow::onRxFilteringColCountComboIndexChanged(int index)
{
    arrangeRxFilteringRuleChecks(m_ui->rxFilteringColCountCombo->itemData(index).toInt());
}

void MainWindow::onRxFilteringIfNoRuleComboIndexChanged(int index)
{
    m_showIfNoRuleMatches = m_ui->rxFilteringIfNoRuleCombo->itemData(index).toInt()
        == static_cast<int>(TextFilter::Rule::Show);
}

void MainWindow::onRxFilteringShowAllButtonClicked()
{
    for (QCheckBox *check : qAsConst(m_ruleChecks))
        check->setChecked(true);
}

void MainWindow::onRxFilteringHideAllButtonClicked()
{
    for (QCheckBox *check : qAsConst(m_ruleChecks))
        check->setChecked(false);
}

void MainWindow::onRxFilteringRuleCheckToggled(bool checked)
{
    const QObject *check = sender();
    if (!check)
        return;
    m_textFilter.changeRuleType(check->property(IndexProperty).toInt(),
        checked ? TextFilter::Rule::Show : TextFilter::Rule::Hide);
}

void MainWindow::onRxTextListCurrentItemChanged(
    const QModelIndex &current, const QModelIndex &previous)
{
    setRxMessageExpanded(previous, false);
    setRxMessageExpanded(current, true);
    setRxMessageInfo(current);
}

void MainWindow::adjustInfoArea(
    QObject *context, AdvancedScrollArea *area, QWidget *inner, QLabel *label)
{
    area->setWidgetResizable(true);
    QTimer::singleShot(1, context, [area, inner, label] {
        area->setWidgetResizable(false);
        const QMargins margins = inner->layout()->contentsMargins();
        inner->resize(inner->width(), label->height() + margins.top() + margins.bottom());
    });
}

void MainWindow::adjustRxMessageInfoSize()
{
    adjustInfoArea(this, m_ui->rxInfoScrollArea, m_ui->rxInfoInner, m_ui->rxInfoLabel);
}

void MainWindow::onTxSendButtonClicked()
{
    statusBar()->clearMessage();
    const QString text = m_ui->txAddressEdit->text().trimmed();
    const QByteArray datagram = m_ui->txTextEdit->toPlainText().toUtf8();
    const auto port = static_cast<quint16>(m_ui->txPortSpin->value());
    QHostAddress address;
    if (address.setAddress(text)) {
        doSendDatagram(datagram, address, port);
        return;
    }
    // Anything else that could be a host name is looked up without blocking the window.
    static const QRegularExpression hostName(
        QStringLiteral("^[A-Za-z0-9_]([A-Za-z0-9_-]*[A-Za-z0-9_])?"
                       "(\\.[A-Za-z0-9_]([A-Za-z0-9_-]*[A-Za-z0-9_])?)*\\.?$"));
    if (text.size() > 253 || !hostName.match(text).hasMatch()) {
        statusBar()->showMessage(
            tr("Not sent: \"%1\" is neither an IP address nor a host name.").arg(text));
        return;
    }
    doSendToHost(text, datagram, port);
}

void MainWindow::doSendToHost(const QString &host, const QByteArray &datagram, quint16 port)
{
    statusBar()->showMessage(tr("Looking up %1 ...").arg(host));
    QHostInfo::lookupHost(host, this, [this, host, datagram, port](const QHostInfo &info) {
        // An IPv4-only socket cannot send to IPv6 and the other way round.
        const QAbstractSocket::NetworkLayerProtocol bound
            = m_udpSocket.state() == QAbstractSocket::BoundState
            ? m_udpSocket.localAddress().protocol()
            : QAbstractSocket::AnyIPProtocol;
        QHostAddress target;
        for (const QHostAddress &candidate : info.addresses()) {
            if (bound != QAbstractSocket::AnyIPProtocol && candidate.protocol() != bound)
                continue;
            if (target.isNull()
                || (candidate.protocol() == QAbstractSocket::IPv4Protocol
                    && target.protocol() != QAbstractSocket::IPv4Protocol))
                target = candidate;
        }
        if (target.isNull()) {
            const QString reason = info.error() != QHostInfo::NoError
                ? info.errorString()
                : tr("no address the socket can send to");
            statusBar()->showMessage(tr("Not sent: cannot resolve %1: %2").arg(host, reason));
            return;
        }
        statusBar()->clearMessage();
        doSendDatagram(datagram, target, port);
    });
}

void MainWindow::doSendDatagram(
    const QByteArray &datagram, const QHostAddress &address, quint16 port)
{
    if (m_udpSocket.writeDatagram(datagram, address, port) < 0) {
        statusBar()->showMessage(tr("Not sent to %1:%2: %3")
                                     .arg(address.toString())
                                     .arg(port)
                                     .arg(m_udpSocket.errorString()));
    }
}

QString MainWindow::currentRxMessageText() const
{
    const QModelIndex index = m_ui->rxTextList->currentIndex();
    if (!index.isValid())
        return QString();
    return PayloadText::decode(index.data(RxMessageModel::PayloadRole).toByteArray());
}

void MainWindow::onCopyRxMessageActionTriggered()
{
    if (m_ui->rxTextList->currentIndex().isValid())
        QGuiApplication::clipboard()->setText(currentRxMessageText());
}

void MainWindow::onShowRxMessageActionTriggered()
{
    const QModelIndex index = m_ui->rxTextList->currentIndex();
    if (!index.isValid())
        return;
    auto *dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("rxMessageDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(index.data(RxMessageModel::HeaderRole).toString());
    auto *layout = new QVBoxLayout(dialog);
    auto *text = new QPlainTextEdit(dialog);
    text->setObjectName(QStringLiteral("rxMessageText"));
    text->setReadOnly(true);
    text->setPlainText(currentRxMessageText());
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    // Half the window, so that it fits wherever the window does.
    dialog->resize(qMax(400, width() / 2), qMax(300, height() * 2 / 3));
    dialog->open();
}

void MainWindow::onTxClearButtonClicked()
{
    m_ui->txTextEdit->clear();
}

void MainWindow::onTxTemplatesColCountComboIndexChanged(int index)
{
    arrangeTxTemplateItemButtons(m_ui->txTemplatesColCountCombo->itemData(index).toInt());
}

void MainWindow::onTxTemplateItemButtonClicked()
{
    const QObject *button = sender();
    if (!button)
        return;
    setTxTemplateFields(
        button->property(TextProperty).toString(), button->property(InfoProperty).toString());
}

void MainWindow::adjustTxTemplateInfoSize()
{
    adjustInfoArea(this, m_ui->txInfoScrollArea, m_ui->txInfoInner, m_ui->txInfoLabel);
}

void MainWindow::onUdpSocketReadyRead()
{
    QElapsedTimer budget;
    budget.start();
    QByteArray buffer(MaxDatagramSize, Qt::Uninitialized);
    while (m_udpSocket.hasPendingDatagrams()) {
        QHostAddress address;
        quint16 port = 0;
        const qint64 size = m_udpSocket.readDatagram(buffer.data(), buffer.size(), &address, &port);
        if (size >= 0)
            ++m_rxDatagramCount;
        if (size > 0) {
            QByteArray payload(buffer.constData(), static_cast<int>(size));
            QString text = PayloadText::decode(payload);
            int ruleIndex = -1;
            if (m_textFilter.shouldShow(text, m_showIfNoRuleMatches, &ruleIndex))
                queueRxMessage(address, port, std::move(payload), std::move(text), ruleIndex);
        }
        if (size < 0 || budget.elapsed() >= ReadBudgetMsecs)
            break;
    }
    if (m_sinceFlush.elapsed() >= FlushInterval)
        flushRxMessages();
    else if (!m_pendingEntries.isEmpty() && !m_flushTimer.isActive())
        m_flushTimer.start(FlushInterval - static_cast<int>(m_sinceFlush.elapsed()));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveConfigToFile(m_configPath);
    QMainWindow::closeEvent(event);
}
