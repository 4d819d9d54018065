#include "mainwindow.h"

#include "advancedcombobox.h"
#include "advancedscrollarea.h"
#include "collapsiblegroupbox.h"
#include "infoarea.h"
#include "messagebytesdialog.h"
#include "payloadtext.h"
#include "repeatsender.h"
#include "rxlogfile.h"
#include "rxmessagelistview.h"
#include "rxpipeline.h"
#include "txaddressresolver.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>

namespace {
const QString ApplicationVersion = QStringLiteral("v1.2.2-0-g6fd602f");
const QString BuildDate = QStringLiteral("2024-10-31");

const char TextProperty[] = "u#text";
const char InfoProperty[] = "u#info";
const char IndexProperty[] = "u#idx";

// Names from the configuration are shown as they are: an "&" in them is no mnemonic.
QString withoutMnemonic(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString fromButtonText(const QString &text)
{
    return QString(text).replace(QLatin1String("&&"), QLatin1String("&"));
}

ConsoleConfigFile::Location defaultLocation()
{
    return ConsoleConfigFile::locate(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : MainWindow(defaultLocation(), parent)
{ }

MainWindow::MainWindow(const QString &configPath, QWidget *parent)
    : MainWindow(ConsoleConfigFile::Location { configPath, QString() }, parent)
{ }

MainWindow::MainWindow(const ConsoleConfigFile::Location &location, QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainWindow>())
    , m_configPath(location.path)
    , m_configNotice(location.notice)
    , m_rxModel(new RxMessageModel(this))
    , m_rxPipeline(new RxPipeline(&m_udpSocket, &m_textFilter, m_rxModel, this))
    , m_repeatSender(new RepeatSender(&m_udpSocket, this))
{
    setUpForm();
    connectSignals();
    doLoadStartUpConfig();
    arrangeDynamicControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::setUpForm()
{
    m_ui->setupUi(this);
    // The designed content of the boxes moves into their containers before anything is
    // added to them.
    for (CollapsibleGroupBox *group :
        { m_ui->rxFilteringGroup, m_ui->rxInfoGroup, m_ui->txTemplatesGroup, m_ui->txInfoGroup })
        group->containerWidget();
    m_ruleChecks.setGrid(m_ui->rxFilteringGrid, m_ui->rxFilteringNoRulesLabel);
    m_templateButtons.setGrid(m_ui->txTemplatesGrid, m_ui->txTemplatesNoItemsLabel);
    m_ui->splitter->setStretchFactor(0, 3);
    m_ui->splitter->setStretchFactor(1, 2);
    // Made now, so that the first message does not resize the window's content.
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    setWindowTitle(QStringLiteral("%1 %2 %3")
                       .arg(QCoreApplication::applicationName(), ApplicationVersion, BuildDate));

    for (QHostAddress::SpecialAddress address : ConsoleConfig::rxAddressChoices())
        m_ui->rxAddressCombo->addItem(
            ConsoleConfig::rxAddressName(address), static_cast<int>(address));
    for (int columns = ConsoleConfig::MinColumnCount; columns <= ConsoleConfig::MaxColumnCount;
         ++columns) {
        m_ui->rxFilteringColCountCombo->addItem(QString::number(columns), columns);
        m_ui->txTemplatesColCountCombo->addItem(QString::number(columns), columns);
    }
    m_ui->rxFilteringIfNoRuleCombo->addItem(tr("show"), static_cast<int>(TextFilter::Rule::Show));
    m_ui->rxFilteringIfNoRuleCombo->addItem(tr("hide"), static_cast<int>(TextFilter::Rule::Hide));
    m_ui->txRepeatIntervalSpin->setRange(
        ConsoleConfig::MinRepeatInterval, ConsoleConfig::MaxRepeatInterval);
    m_ui->txRepeatCountLabel->hide();

    m_ui->rxFilteringGroup->setCollapsed(true);
    m_ui->rxInfoGroup->setCollapsed(true);
    m_ui->txTemplatesGroup->setCollapsed(true);
    m_ui->txInfoGroup->setCollapsed(true);

    setBindButtonText(false);
    onTxRepeatButtonToggled(false);
    setTxTemplateFields(QString(), QString());
    InfoArea::setText(m_ui->rxInfoLabel, QString());

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

    // The defaults are the settings of an empty configuration.
    applyConfig(ConsoleConfig());
}

void MainWindow::connectSignals()
{
    connect(
        m_ui->loadConfigAction, &QAction::triggered, this, &MainWindow::onLoadConfigActionClicked);
    connect(
        m_ui->saveRxMessagesAction, &QAction::triggered, this, &MainWindow::onRxSaveButtonClicked);
    connect(m_ui->exitAction, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->changeRxDisplayLimitAction, &QAction::triggered, this,
        &MainWindow::onChangeRxDisplayLimitActionClicked);
    connect(m_ui->enableRxWordWrappingAction, &QAction::triggered, this,
        &MainWindow::onEnableRxWordWrappingActionTriggered);
    connect(m_ui->rxBindButton, &QPushButton::toggled, this, &MainWindow::setBindButtonText);
    connect(m_ui->rxBindButton, &QPushButton::clicked, this, &MainWindow::onRxBindButtonClicked);
    connect(m_ui->rxClearButton, &QPushButton::clicked, this, &MainWindow::onRxClearButtonClicked);
    connect(m_ui->rxShowBytesButton, &QPushButton::clicked, this,
        &MainWindow::onShowRxMessageActionTriggered);
    connect(m_ui->rxSaveButton, &QPushButton::clicked, this, &MainWindow::onRxSaveButtonClicked);
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
    connect(
        m_ui->txRepeatButton, &QPushButton::toggled, this, &MainWindow::onTxRepeatButtonToggled);
    connect(m_ui->txTemplatesColCountCombo, QOverload<int>::of(&QComboBox::currentIndexChanged),
        this, &MainWindow::onTxTemplatesColCountComboIndexChanged);
    connect(m_ui->txInfoScrollArea, &AdvancedScrollArea::innerAreaSizeChanged, this,
        &MainWindow::adjustTxTemplateInfoSize);
    connect(&m_udpSocket, &QUdpSocket::readyRead, this, &MainWindow::onUdpSocketReadyRead);
    connect(
        m_rxPipeline, &RxPipeline::rowsAboutToBeTrimmed, this, &MainWindow::doClearRxSelectionFrom);
    connect(m_repeatSender, &RepeatSender::sentCountChanged, this, &MainWindow::showTxRepeatCount);
    connect(m_repeatSender, &RepeatSender::stopped, this, &MainWindow::onRepeatSenderStopped);
}

int MainWindow::rxDisplayLimit() const
{
    return m_rxPipeline->displayLimit();
}

void MainWindow::setRxDisplayLimit(int limit)
{
    m_rxPipeline->setDisplayLimit(limit);
}

bool MainWindow::showIfNoRuleMatches() const
{
    return m_rxPipeline->showIfNoRuleMatches();
}

quint64 MainWindow::rxDatagramCount() const
{
    return m_rxPipeline->datagramCount();
}

int MainWindow::pendingRxMessageCount() const
{
    return m_rxPipeline->pendingCount();
}

ConsoleConfig MainWindow::currentConfig() const
{
    ConsoleConfig config;
    config.rxDisplayLimit = rxDisplayLimit();
    config.rxWordWrapping = m_ui->rxTextList->wordWrap();
    config.rxAddress
        = static_cast<QHostAddress::SpecialAddress>(m_ui->rxAddressCombo->currentData().toInt());
    config.rxPort = m_ui->rxPortSpin->value();
    config.rxFilteringColumnCount = m_ui->rxFilteringColCountCombo->currentData().toInt();
    config.showIfNoRuleMatches = showIfNoRuleMatches();
    config.rules = m_textFilter;
    config.txAddress = m_ui->txAddressEdit->text();
    config.txPort = m_ui->txPortSpin->value();
    config.txTemplatesColumnCount = m_ui->txTemplatesColCountCombo->currentData().toInt();
    for (const QPushButton *button : m_templateButtons.controls()) {
        config.templates.append({ fromButtonText(button->text()),
            button->property(TextProperty).toString(), button->property(InfoProperty).toString() });
    }
    config.txRepeatInterval = m_ui->txRepeatIntervalSpin->value();
    return config;
}

void MainWindow::applyConfig(const ConsoleConfig &config)
{
    setRxDisplayLimit(config.rxDisplayLimit);
    m_ui->rxTextList->setEntriesWrapped(config.rxWordWrapping);
    m_ui->enableRxWordWrappingAction->setChecked(config.rxWordWrapping);
    m_ui->rxAddressCombo->setCurrentIndexByItemData(static_cast<int>(config.rxAddress));
    m_ui->rxPortSpin->setValue(config.rxPort);
    m_ui->rxFilteringColCountCombo->setCurrentIndexByItemData(config.rxFilteringColumnCount);
    m_ui->rxFilteringIfNoRuleCombo->setCurrentIndexByItemData(static_cast<int>(
        config.showIfNoRuleMatches ? TextFilter::Rule::Show : TextFilter::Rule::Hide));
    m_rxPipeline->setShowIfNoRuleMatches(config.showIfNoRuleMatches);
    m_ui->txAddressEdit->setText(config.txAddress);
    m_ui->txPortSpin->setValue(config.txPort);
    m_ui->txTemplatesColCountCombo->setCurrentIndexByItemData(config.txTemplatesColumnCount);
    m_ui->txRepeatIntervalSpin->setValue(config.txRepeatInterval);

    deleteDynamicControls();
    m_textFilter = config.rules;
    doCreateRuleChecks(0);
    for (const ConsoleConfig::Template &item : config.templates)
        doCreateTemplateButton(item);
    arrangeDynamicControls();
}

void MainWindow::loadConfigFromFile(const QString &path)
{
    // The default file's reader remembers an unreadable file, to keep a copy before saving.
    ConsoleConfigFile otherFile;
    doLoadConfig(path == m_configPath ? m_configFile : otherFile, path);
}

ConsoleConfigFile::ReadResult MainWindow::doLoadConfig(ConsoleConfigFile &file, const QString &path)
{
    QJsonObject json;
    const ConsoleConfigFile::ReadResult result = file.read(path, &json);
    if (result == ConsoleConfigFile::ReadResult::Read)
        doApplyJson(json);
    return result;
}

void MainWindow::doApplyJson(const QJsonObject &json)
{
    ConsoleConfig config = currentConfig();
    config.apply(json);
    applyConfig(config);
}

void MainWindow::doLoadStartUpConfig()
{
    const ConsoleConfigFile::ReadResult result = doLoadConfig(m_configFile, m_configPath);
    if (result == ConsoleConfigFile::ReadResult::Unusable) {
        m_startUpWarning = m_configFile.message() + QLatin1Char(' ')
            + tr("The console starts with its default settings and keeps the file as a .bak "
                 "copy when it saves them.");
    } else if (result == ConsoleConfigFile::ReadResult::NotRegularFile) {
        m_startUpWarning = m_configFile.message() + QLatin1Char(' ')
            + tr("The console starts with its default settings and cannot save them there.");
    }
}

bool MainWindow::saveConfigToFile(const QString &path)
{
    return m_configFile.write(path, currentConfig().toJson());
}

bool MainWindow::saveRxMessagesToFile(const QString &path)
{
    m_rxPipeline->flush();
    QString error;
    if (!RxLogFile::save(path, *m_rxModel, &error)) {
        showWarning(tr("The received messages could not be saved to %1: %2")
                        .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    statusBar()->showMessage(tr("Messages saved to %1: %2")
                                 .arg(QDir::toNativeSeparators(path))
                                 .arg(m_rxModel->rowCount()));
    return true;
}

bool MainWindow::bindUdpSocket(const QHostAddress &address, quint16 port)
{
    return m_rxPipeline->bind(address, port);
}

void MainWindow::unbindUdpSocket()
{
    m_rxPipeline->unbind();
}

void MainWindow::addRxMessageToLog(
    const QHostAddress &address, int port, const QByteArray &payload, int ruleIndex)
{
    m_rxPipeline->addMessage(address, static_cast<quint16>(port), payload, ruleIndex);
}

void MainWindow::onUdpSocketReadyRead()
{
    m_rxPipeline->readPendingDatagrams();
}

void MainWindow::doClearRxSelectionFrom(int firstRow)
{
    // Qt would move the current entry to a neighbour; the selection is dropped instead.
    if (m_ui->rxTextList->currentIndex().row() >= firstRow)
        m_ui->rxTextList->selectionModel()->clear();
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
    InfoArea::setText(m_ui->rxInfoLabel, info);
    adjustRxMessageInfoSize();
}

void MainWindow::setTxTemplateFields(const QString &text, const QString &info)
{
    m_ui->txTextEdit->setPlainText(text);
    InfoArea::setText(m_ui->txInfoLabel, info);
    adjustTxTemplateInfoSize();
}

void MainWindow::createRxFilteringRuleChecks(const QJsonArray &rules)
{
    const int first = m_textFilter.ruleCount();
    m_textFilter.appendRulesFromJsonArray(rules);
    doCreateRuleChecks(first);
}

void MainWindow::doCreateRuleChecks(int firstRule)
{
    QWidget *container = m_ui->rxFilteringGroup->containerWidget();
    for (int i = firstRule; i < m_textFilter.ruleCount(); ++i) {
        const TextFilter::Rule &rule = m_textFilter.ruleAt(i);
        if (rule.type == TextFilter::Rule::NoType)
            continue;
        auto *check = new QCheckBox(withoutMnemonic(rule.name), container);
        check->setToolTip(rule.text);
        check->setChecked(rule.type == TextFilter::Rule::Show);
        check->setProperty(IndexProperty, i);
        connect(check, &QCheckBox::toggled, this, &MainWindow::onRxFilteringRuleCheckToggled);
        m_ruleChecks.append(check);
    }
}

void MainWindow::createTxTemplateItemButtons(const QJsonArray &items)
{
    for (const ConsoleConfig::Template &item : ConsoleConfig::templatesFromJson(items))
        doCreateTemplateButton(item);
}

void MainWindow::doCreateTemplateButton(const ConsoleConfig::Template &item)
{
    auto *button
        = new QPushButton(withoutMnemonic(item.name), m_ui->txTemplatesGroup->containerWidget());
    button->setProperty(TextProperty, item.text);
    button->setProperty(InfoProperty, item.info);
    connect(button, &QPushButton::clicked, this, &MainWindow::onTxTemplateItemButtonClicked);
    m_templateButtons.append(button);
}

void MainWindow::arrangeRxFilteringRuleChecks(int columnCount)
{
    m_ruleChecks.arrange(columnCount);
}

void MainWindow::arrangeTxTemplateItemButtons(int columnCount)
{
    m_templateButtons.arrange(columnCount);
}

void MainWindow::arrangeDynamicControls()
{
    arrangeRxFilteringRuleChecks(m_ui->rxFilteringColCountCombo->currentData().toInt());
    arrangeTxTemplateItemButtons(m_ui->txTemplatesColCountCombo->currentData().toInt());
}

void MainWindow::deleteRxFilteringRuleChecks()
{
    m_textFilter.removeAllRules();
    m_ruleChecks.clear();
}

void MainWindow::deleteTxTemplateItemButtons()
{
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
        // Read first: a file that cannot be used leaves the window as it is.
        ConsoleConfigFile file;
        QJsonObject json;
        if (file.read(path, &json) != ConsoleConfigFile::ReadResult::Read) {
            const QString problem = file.message().isEmpty()
                ? tr("The file %1 does not exist.").arg(QDir::toNativeSeparators(path))
                : file.message();
            showWarning(problem + QLatin1Char(' ') + tr("Nothing was loaded."));
            return;
        }
        deleteDynamicControls();
        onRxClearButtonClicked();
        setTxTemplateFields(QString(), QString());
        doApplyJson(json);
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
    dialog->setIntValue(rxDisplayLimit());
    connect(dialog, &QInputDialog::intValueSelected, this, &MainWindow::setRxDisplayLimit);
    dialog->open();
}

void MainWindow::onEnableRxWordWrappingActionTriggered(bool enabled)
{
    m_ui->rxTextList->setEntriesWrapped(enabled);
}

void MainWindow::setBindButtonText(bool checked)
{
    m_ui->rxBindButton->setText(checked ? tr("&Unbind") : tr("&Bind"));
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
    // A model reset drops the current entry without a currentChanged() signal.
    m_rxPipeline->clear();
    setRxMessageInfo(QModelIndex());
    doShowCurrentRxMessageBytes();
}

void MainWindow::onRxFilteringColCountComboIndexChanged(int index)
{
    arrangeRxFilteringRuleChecks(m_ui->rxFilteringColCountCombo->itemData(index).toInt());
}

void MainWindow::onRxFilteringIfNoRuleComboIndexChanged(int index)
{
    m_rxPipeline->setShowIfNoRuleMatches(m_ui->rxFilteringIfNoRuleCombo->itemData(index).toInt()
        == static_cast<int>(TextFilter::Rule::Show));
}

void MainWindow::onRxFilteringShowAllButtonClicked()
{
    for (QCheckBox *check : m_ruleChecks.controls())
        check->setChecked(true);
}

void MainWindow::onRxFilteringHideAllButtonClicked()
{
    for (QCheckBox *check : m_ruleChecks.controls())
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
    doShowCurrentRxMessageBytes();
}

void MainWindow::adjustRxMessageInfoSize()
{
    InfoArea::fitToLabel(this, m_ui->rxInfoScrollArea, m_ui->rxInfoInner, m_ui->rxInfoLabel);
}

void MainWindow::onTxSendButtonClicked()
{
    statusBar()->clearMessage();
    const QByteArray datagram = m_ui->txTextEdit->toPlainText().toUtf8();
    const auto port = static_cast<quint16>(m_ui->txPortSpin->value());
    doResolveTxAddress([this, datagram, port](const QHostAddress &address) {
        doSendDatagram(datagram, address, port);
    });
}

void MainWindow::doResolveTxAddress(const std::function<void(const QHostAddress &)> &onResolved,
    const std::function<void()> &onFailed)
{
    const QString text = m_ui->txAddressEdit->text().trimmed();
    const QAbstractSocket::NetworkLayerProtocol bound
        = m_udpSocket.state() == QAbstractSocket::BoundState ? m_udpSocket.localAddress().protocol()
                                                             : QAbstractSocket::AnyIPProtocol;
    const auto resolved = [this, onResolved](const QHostAddress &address) {
        statusBar()->clearMessage();
        onResolved(address);
    };
    const auto failed = [this, onFailed](const QString &message) {
        statusBar()->showMessage(message);
        if (onFailed)
            onFailed();
    };
    if (TxAddressResolver::resolve(this, text, bound, resolved, failed))
        statusBar()->showMessage(tr("Looking up %1 ...").arg(text));
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

void MainWindow::onTxRepeatButtonToggled(bool checked)
{
    m_ui->txRepeatButton->setText(checked ? tr("Sto&p") : tr("Re&peat"));
    m_ui->txRepeatIntervalSpin->setEnabled(!checked);
    const int request = ++m_repeatRequest;
    if (!checked) {
        m_repeatSender->stop();
        return;
    }
    statusBar()->clearMessage();
    const QByteArray datagram = m_ui->txTextEdit->toPlainText().toUtf8();
    const auto port = static_cast<quint16>(m_ui->txPortSpin->value());
    const int interval = m_ui->txRepeatIntervalSpin->value();
    doResolveTxAddress(
        [this, request, datagram, port, interval](const QHostAddress &address) {
            if (request != m_repeatRequest)
                return;
            m_ui->txRepeatCountLabel->show();
            m_repeatSender->start(datagram, address, port, interval);
        },
        [this, request] {
            if (request == m_repeatRequest)
                m_ui->txRepeatButton->setChecked(false);
        });
}

void MainWindow::showTxRepeatCount(int count)
{
    m_ui->txRepeatCountLabel->setText(tr("Sent: %1").arg(count));
}

void MainWindow::onRepeatSenderStopped(const QString &reason)
{
    m_ui->txRepeatButton->setChecked(false);
    if (!reason.isEmpty())
        showWarning(tr("Repeated sending stopped: %1.").arg(reason));
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
    if (!m_bytesDialog)
        m_bytesDialog = new MessageBytesDialog(this);
    m_bytesDialog->show();
    doShowCurrentRxMessageBytes();
    m_bytesDialog->raise();
    m_bytesDialog->activateWindow();
}

void MainWindow::doShowCurrentRxMessageBytes()
{
    if (!m_bytesDialog || !m_bytesDialog->isVisible())
        return;
    const QModelIndex index = m_ui->rxTextList->currentIndex();
    if (index.isValid()) {
        m_bytesDialog->showMessage(index.data(RxMessageModel::HeaderRole).toString(),
            index.data(RxMessageModel::PayloadRole).toByteArray());
    } else {
        m_bytesDialog->showNoMessage();
    }
}

void MainWindow::onRxSaveButtonClicked()
{
    if (m_rxSaveFolder.isEmpty())
        m_rxSaveFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    auto *dialog = new QFileDialog(this, tr("Save received messages"),
        QDir(m_rxSaveFolder).filePath(RxLogFile::defaultFileName(QDateTime::currentDateTime())),
        tr("Text files (*.txt);;All files (*)"));
    dialog->setObjectName(QStringLiteral("saveRxMessagesDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &path) {
        if (path.isEmpty())
            return;
        m_rxSaveFolder = QFileInfo(path).absolutePath();
        saveRxMessagesToFile(path);
    });
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
    InfoArea::fitToLabel(this, m_ui->txInfoScrollArea, m_ui->txInfoInner, m_ui->txInfoLabel);
}

void MainWindow::onTerminationSignalReceived(int)
{
    m_closingOnSignal = true;
    if (m_exitBox)
        m_exitBox->reject();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (!m_configNotice.isEmpty())
        statusBar()->showMessage(m_configNotice);
    if (!m_startUpWarning.isEmpty()) {
        // Once the window is there to be read over.
        QTimer::singleShot(0, this, [this] { showWarning(m_startUpWarning); });
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        m_closing = true;
        m_repeatSender->stop();
        const bool saved = saveConfigToFile(m_configPath);
        if (!m_configFile.message().isEmpty())
            doReportAtExit(m_configFile.message(), !saved);
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::doReportAtExit(const QString &text, bool failed)
{
    if (!m_closingOnSignal) {
        QMessageBox box(failed ? QMessageBox::Warning : QMessageBox::Information, windowTitle(),
            text, QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("exitMessageBox"));
        m_exitBox = &box;
        box.exec();
    }
    // Also when a signal came while the box was open: nobody may be there to read it.
    if (m_closingOnSignal) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QCoreApplication::applicationName()),
            qUtf8Printable(text));
    }
}
