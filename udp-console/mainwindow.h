#pragma once

#include "rxmessagemodel.h"
#include "textfilter.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QMainWindow>
#include <QTimer>
#include <QUdpSocket>
#include <QVector>

#include <memory>

class AdvancedScrollArea;
class QAction;
class QCheckBox;
class QGridLayout;
class QJsonArray;
class QLabel;
class QPushButton;

namespace Ui {
class MainWindow;
}

// The UDP message console: binds one socket, lists the received datagrams through the
// text filter, newest first, and sends the editor's text from the same socket.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Most datagrams shown in the list, and the range the user may choose from.
    static constexpr int DefaultRxDisplayLimit = 100;
    static constexpr int MinRxDisplayLimit = 1;
    static constexpr int MaxRxDisplayLimit = 10000;
    // The socket asks the system for this much receive buffer, so that bursts are
    // queued rather than dropped while the window paints.
    static constexpr int ReceiveBufferSize = 8 * 1024 * 1024;
    // A configuration is a few kilobytes; anything this large is not one of ours.
    static constexpr qint64 MaxConfigSize = 16 * 1024 * 1024;
    // Most memory the received list may take; older entries go first, as with the count.
    // 10000 datagrams of 64 KiB would otherwise take a gigabyte.
    static constexpr qint64 RxByteBudget = 64 * 1024 * 1024;

    explicit MainWindow(QWidget *parent = nullptr);
    // Reads its configuration from, and writes it back to, configPath.
    explicit MainWindow(const QString &configPath, QWidget *parent = nullptr);
    ~MainWindow() override;

    // "<program directory>/.qel-udp-client_config.json", or the same name in the user's
    // configuration folder when the program's folder cannot be written (an installed
    // program in /usr/bin).
    static QString defaultConfigPath();
    static QString configPathFor(const QString &programDir);
    QString configPath() const { return m_configPath; }

    const TextFilter &textFilter() const { return m_textFilter; }
    RxMessageModel *rxMessageModel() const { return m_rxModel; }
    int rxDisplayLimit() const { return m_rxDisplayLimit; }
    void setRxDisplayLimit(int limit);
    bool showIfNoRuleMatches() const { return m_showIfNoRuleMatches; }
    const QUdpSocket &udpSocket() const { return m_udpSocket; }
    QList<QCheckBox *> rxFilteringRuleChecks() const { return m_ruleChecks; }
    QList<QPushButton *> txTemplateItemButtons() const { return m_templateButtons; }
    // Datagrams read from the socket so far, shown or not, and those read but not yet
    // in the list.
    quint64 rxDatagramCount() const { return m_rxDatagramCount; }
    int pendingRxMessageCount() const { return m_pendingEntries.size(); }

    void loadConfigFromFile(const QString &path);
    void saveConfigToFile(const QString &path);
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
    // The whole payload of the current entry: to the clipboard, or in a window.
    void onCopyRxMessageActionTriggered();
    void onShowRxMessageActionTriggered();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setUpForm();
    void setUpMenus();
    void connectSignals();
    void queueRxMessage(
        const QHostAddress &address, quint16 port, QByteArray payload, QString text, int ruleIndex);
    void flushRxMessages();
    void trimRxMessages();
    QString rxMessageHeader(const QHostAddress &address, quint16 port);
    void showWarning(const QString &text);
    void doSendDatagram(const QByteArray &datagram, const QHostAddress &address, quint16 port);
    void doSendToHost(const QString &host, const QByteArray &datagram, quint16 port);
    QString currentRxMessageText() const;
    static void setInfoText(QLabel *label, const QString &info);
    static void arrangeInGrid(
        QGridLayout *grid, const QList<QWidget *> &controls, QLabel *emptyLabel, int columnCount);
    static void adjustInfoArea(
        QObject *context, AdvancedScrollArea *area, QWidget *inner, QLabel *label);

    std::unique_ptr<Ui::MainWindow> m_ui;
    QString m_configPath;
    TextFilter m_textFilter;
    bool m_showIfNoRuleMatches = true;
    int m_rxDisplayLimit = DefaultRxDisplayLimit;
    QUdpSocket m_udpSocket;
    RxMessageModel *m_rxModel = nullptr;
    QList<QCheckBox *> m_ruleChecks;
    QList<QPushButton *> m_templateButtons;
    QAction *m_wordWrapAction = nullptr;

    // Datagrams read but not yet in the list; the list takes them at most every
    // FlushInterval milliseconds, so a flood costs a few layouts a second.
    static constexpr int FlushInterval = 50;
    QVector<RxMessageModel::Entry> m_pendingEntries;
    QTimer m_flushTimer;
    quint64 m_rxDatagramCount = 0;
    QElapsedTimer m_sinceFlush;

    // The last header parts, reused while time and sender stay the same.
    qint64 m_headerUtcSecond = -1;
    qint64 m_headerUtcOffsetMsecs = 0;
    qint64 m_headerMsecs = -1;
    QString m_headerTime;
    QHostAddress m_headerAddress;
    QString m_headerAddressText;
};
