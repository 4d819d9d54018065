#pragma once

#include <QCoreApplication>

class AdvancedComboBox;
class AdvancedScrollArea;
class CollapsibleGroupBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QWidget;
class RxMessageListView;

// The widgets of the console window: the receiving pane on the left, the sending pane
// on the right.
class MainWindowForm
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    void setupUi(QMainWindow *window);
    void retranslateUi(QMainWindow *window);

    QSplitter *splitter = nullptr;

    QLabel *rxHeaderLabel = nullptr;
    QLabel *rxFromLabel = nullptr;
    QWidget *rxAddressPortWidget = nullptr;
    AdvancedComboBox *rxAddressCombo = nullptr;
    QLabel *rxPortLabel = nullptr;
    QSpinBox *rxPortSpin = nullptr;
    QPushButton *rxBindButton = nullptr;
    CollapsibleGroupBox *rxFilteringGroup = nullptr;
    QLabel *rxFilteringHintLabel = nullptr;
    QLabel *rxFilteringColCountLabel = nullptr;
    AdvancedComboBox *rxFilteringColCountCombo = nullptr;
    QGridLayout *rxFilteringGrid = nullptr;
    QLabel *rxFilteringNoRulesLabel = nullptr;
    QLabel *rxFilteringIfNoRuleLabel = nullptr;
    AdvancedComboBox *rxFilteringIfNoRuleCombo = nullptr;
    QLabel *rxFilteringMessagesLabel = nullptr;
    QPushButton *rxFilteringShowAllButton = nullptr;
    QPushButton *rxFilteringHideAllButton = nullptr;
    RxMessageListView *rxTextList = nullptr;
    CollapsibleGroupBox *rxInfoGroup = nullptr;
    AdvancedScrollArea *rxInfoScrollArea = nullptr;
    QWidget *rxInfoInner = nullptr;
    QLabel *rxInfoLabel = nullptr;
    QPushButton *rxClearButton = nullptr;

    QLabel *txHeaderLabel = nullptr;
    QLabel *txAddressLabel = nullptr;
    QLineEdit *txAddressEdit = nullptr;
    QLabel *txPortLabel = nullptr;
    QSpinBox *txPortSpin = nullptr;
    QPushButton *txSendButton = nullptr;
    CollapsibleGroupBox *txTemplatesGroup = nullptr;
    QLabel *txTemplatesHintLabel = nullptr;
    QLabel *txTemplatesColCountLabel = nullptr;
    AdvancedComboBox *txTemplatesColCountCombo = nullptr;
    QGridLayout *txTemplatesGrid = nullptr;
    QLabel *txTemplatesNoItemsLabel = nullptr;
    QPlainTextEdit *txTextEdit = nullptr;
    CollapsibleGroupBox *txInfoGroup = nullptr;
    AdvancedScrollArea *txInfoScrollArea = nullptr;
    QWidget *txInfoInner = nullptr;
    QLabel *txInfoLabel = nullptr;
    QPushButton *txClearButton = nullptr;

private:
    QWidget *setupRxPane(QWidget *parent);
    QWidget *setupTxPane(QWidget *parent);
    static AdvancedScrollArea *setupInfoArea(
        CollapsibleGroupBox *group, QWidget **inner, QLabel **label);
};
