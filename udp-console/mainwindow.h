#pragma once

#include "consoleconfig.h"
#include "consoleconfigfile.h"
#include "controlgrid.h"
#include "rxmessagemodel.h"
#include "textfilter.h"

#include <QHostAddress>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QUdpSocket>

#include <functional>
#include <memory>

class AdvancedScrollArea;
class MessageBytesDialog;
class QAction;
class QCheckBox;
class QGridLayout;
class QJsonArray;
class QJsonObject;
class QLabel;
class QMessageBox;
class QPushButton;
class RepeatSender;
class RxPipeline;

namespace Ui {
class MainWindow;
}

// The UDP message console: binds one socket, lists the received datagrams through the
// text filter, newest first, and sends the editor's text from the same socket, once or
// repeatedly. The receive pipeline, the repeated sending and the configuration live in the
// core library; the window presents them.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int DefaultRxDisplayLimit = ConsoleConfig::DefaultRxDisplayLimit;
    static constexpr int MinRxDisplayLimit = ConsoleConfig::MinRxDisplayLimit;
    static constexpr int MaxRxDisplayLimit = ConsoleConfig::MaxRxDisplayLimit;

    // Keeps its configuration next to the program, or in the user's configuration folder
    // when the program's folder cannot be written, and says so in the status bar.
    explicit MainWindow(QWidget *parent = nullptr);
    // Reads its configuration from, and writes it back to, configPath.
    explicit MainWindow(const QString &configPath, QWidget *parent = nullptr);
    ~MainWindow() override;

    QString configPath() const { return m_configPath; }

    const TextFilter &textFilter() const { return m_textFilter; }
    RxMessageModel *rxMessageModel() const { return m_rxModel; }
    int rxDisplayLimit() const;
    void setRxDisplayLimit(int limit);
    bool showIfNoRuleMatches() const;
    const QUdpSocket &udpSocket() const { return m_udpSocket; }
    QList<QCheckBox *> rxFilteringRuleChecks() const { return m_ruleChecks.controls(); }
    QList<QPushButton *> txTemplateItemButtons() const { return m_templateButtons.controls(); }
    // Datagrams read from the socket so far, shown or not, and those read but not yet
    // in the list.
    quint64 rxDatagramCount() const;
    int pendingRxMessageCount() const;
    const RepeatSender &repeatSender() const { return *m_repeatSender; }

    // The settings as the window shows them, and showing others.
    ConsoleConfig currentConfig() const;
    void applyConfig(const ConsoleConfig &config);

    // Applies the keys the file names.
    void loadConfigFromFile(const QString &path);
    bool saveConfigToFile(const QString &path);
    // Saves the received list (see RxLogFile); a failure is shown in a warning box.
    bool saveRxMessagesToFile(const QString &path);
    bool bindUdpSocket(const QHostAddress &address, quint16 port);
    void unbindUdpSocket();
    void addRxMessageToLog(
        const QHostAddress &address, int port, const QByteArray &payload, int ruleIndex);
    void setRxMessageExpanded(const QModelIndex &index, bool expanded);
    void setRxMessageInfo(const QModelIndex &index);
    void setTxTemplateFields(const QString &text, const QString &info);
    void createRxFilteringRuleChecks(const QJsonArray &rules);
    void createTxTemplateItemButtons(const QJsonArray &items);
    void arrangeRxFilteringRuleChecks(int columnCount);
    void arrangeTxTemplateItemButtons(int columnCount);
    void arrangeDynamicControls();
    void deleteRxFilteringRuleChecks();
    void deleteTxTemplateItemButtons();
    void deleteDynamicControls();

public slots:
    void onLoadConfigActionClicked();
    void onChangeRxDisplayLimitActionClicked();
    void onEnableRxWordWrappingActionTriggered(bool enabled);
    void setBindButtonText(bool checked);
    void onRxBindButtonClicked(bool checked);
    void onRxClearButtonClicked();
    void onRxFilteringColCountComboIndexChanged(int index);
    void onRxFilteringIfNoRuleComboIndexChanged(int index);
    void onRxFilteringShowAllButtonClicked();
    void onRxFilteringHideAllButtonClicked();
    void onRxFilteringRuleCheckToggled(bool checked);
    void onRxTextListCurrentItemChanged(const QModelIndex &current, const QModelIndex &previous);
    void adjustRxMessageInfoSize();
    void onTxSendButtonClicked();
    void onTxClearButtonClicked();
    void onTxTemplatesColCountComboIndexChanged(int index);
    void onTxTemplateItemButtonClicked();
    void adjustTxTemplateInfoSize();
    void onUdpSocketReadyRead();
    // The whole payload of the current entry: to the clipboard, or in a window that
    // follows the selection.
    void onCopyRxMessageActionTriggered();
    void onShowRxMessageActionTriggered();
    // Asks for a file and saves the received list to it.
    void onRxSaveButtonClicked();
    void onTxRepeatButtonToggled(bool checked);
    void showTxRepeatCount(int count);
    void onRepeatSenderStopped(const QString &reason);
    // The window is about to close because of SIGINT or SIGTERM: whatever is to be said
    // at exit goes to stderr, and nothing waits for a person.
    void onTerminationSignalReceived(int signalNumber);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    MainWindow(const ConsoleConfigFile::Location &location, QWidget *parent);
    void setUpForm();
    void connectSignals();
    ConsoleConfigFile::ReadResult doLoadConfig(ConsoleConfigFile &file, const QString &path);
    void doLoadStartUpConfig();
    void doApplyJson(const QJsonObject &json);
    void showWarning(const QString &text);
    void doReportAtExit(const QString &text, bool failed);
    void doClearRxSelectionFrom(int firstRow);
    void doShowCurrentRxMessageBytes();
    void doCreateRuleChecks(int firstRule);
    void doCreateTemplateButton(const ConsoleConfig::Template &item);
    // Turns the address field into an address, looking host names up without blocking;
    // the status bar says when it cannot.
    void doResolveTxAddress(const std::function<void(const QHostAddress &)> &onResolved,
        const std::function<void()> &onFailed = {});
    void doSendDatagram(const QByteArray &datagram, const QHostAddress &address, quint16 port);
    QString currentRxMessageText() const;

    std::unique_ptr<Ui::MainWindow> m_ui;
    QString m_configPath;
    ConsoleConfigFile m_configFile;
    // Said once the window shows: where the settings are, and what was wrong with them.
    QString m_configNotice;
    QString m_startUpWarning;
    TextFilter m_textFilter;
    QUdpSocket m_udpSocket;
    RxMessageModel *m_rxModel = nullptr;
    RxPipeline *m_rxPipeline = nullptr;
    RepeatSender *m_repeatSender = nullptr;
    ControlGrid<QCheckBox> m_ruleChecks;
    ControlGrid<QPushButton> m_templateButtons;
    QPointer<MessageBytesDialog> m_bytesDialog;
    QString m_rxSaveFolder;
    // Counts repeat requests, so that a host lookup that ends after its request was stopped
    // starts nothing.
    int m_repeatRequest = 0;
    bool m_shown = false;
    bool m_closing = false;
    bool m_closingOnSignal = false;
    QPointer<QMessageBox> m_exitBox;
};
