#include "mainwindowform.h"

#include "advancedcombobox.h"
#include "advancedscrollarea.h"
#include "collapsiblegroupbox.h"
#include "rxmessagelistview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
template<typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *paneHeader(QWidget *parent, const char *name)
{
    QLabel *label = named(new QLabel(parent), name);
    QFont font = label->font();
    font.setPointSize(12);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
} // namespace

void MainWindowForm::setupUi(QMainWindow *window)
{
    QFont font(QStringLiteral("Sans"), 9);
    window->setFont(font);
    window->resize(1100, 700);

    auto *central = named(new QWidget(window), "centralWidget");
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    splitter = named(new QSplitter(Qt::Horizontal, central), "splitter");
    splitter->setHandleWidth(0);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(setupRxPane(splitter));
    splitter->addWidget(setupTxPane(splitter));
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter);
    window->setCentralWidget(central);

    retranslateUi(window);
}

QWidget *MainWindowForm::setupRxPane(QWidget *parent)
{
    auto *pane = named(new QWidget(parent), "rxPane");
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 4, 0);

    rxHeaderLabel = paneHeader(pane, "rxHeaderLabel");
    layout->addWidget(rxHeaderLabel);

    auto *endpoint = new QHBoxLayout;
    rxFromLabel = named(new QLabel(pane), "rxFromLabel");
    rxAddressPortWidget = named(new QWidget(pane), "rxAddressPortWidget");
    auto *addressPort = new QHBoxLayout(rxAddressPortWidget);
    addressPort->setContentsMargins(0, 0, 0, 0);
    rxAddressCombo = named(new AdvancedComboBox(rxAddressPortWidget), "rxAddressCombo");
    rxPortLabel = named(new QLabel(rxAddressPortWidget), "rxPortLabel");
    rxPortSpin = named(new QSpinBox(rxAddressPortWidget), "rxPortSpin");
    rxPortSpin->setRange(1, 65535);
    addressPort->addWidget(rxAddressCombo);
    addressPort->addWidget(rxPortLabel);
    addressPort->addWidget(rxPortSpin);
    rxBindButton = named(new QPushButton(pane), "rxBindButton");
    rxBindButton->setCheckable(true);
    endpoint->addWidget(rxFromLabel);
    endpoint->addWidget(rxAddressPortWidget);
    endpoint->addWidget(rxBindButton);
    endpoint->addStretch();
    layout->addLayout(endpoint);

    rxFilteringGroup = named(new CollapsibleGroupBox(pane), "rxFilteringGroup");
    QWidget *filtering = rxFilteringGroup->containerWidget();
    auto *filteringLayout = new QVBoxLayout(filtering);
    auto *hintRow = new QHBoxLayout;
    rxFilteringHintLabel = named(new QLabel(filtering), "rxFilteringHintLabel");
    rxFilteringColCountLabel = named(new QLabel(filtering), "rxFilteringColCountLabel");
    rxFilteringColCountCombo = named(new AdvancedComboBox(filtering), "rxFilteringColCountCombo");
    hintRow->addWidget(rxFilteringHintLabel);
    hintRow->addStretch();
    hintRow->addWidget(rxFilteringColCountLabel);
    hintRow->addWidget(rxFilteringColCountCombo);
    filteringLayout->addLayout(hintRow);
    rxFilteringGrid = new QGridLayout;
    rxFilteringGrid->setObjectName(QStringLiteral("rxFilteringGrid"));
    rxFilteringNoRulesLabel = named(new QLabel(filtering), "rxFilteringNoRulesLabel");
    rxFilteringNoRulesLabel->setAlignment(Qt::AlignCenter);
    filteringLayout->addLayout(rxFilteringGrid);
    auto *footer = new QHBoxLayout;
    rxFilteringIfNoRuleLabel = named(new QLabel(filtering), "rxFilteringIfNoRuleLabel");
    rxFilteringIfNoRuleCombo = named(new AdvancedComboBox(filtering), "rxFilteringIfNoRuleCombo");
    rxFilteringMessagesLabel = named(new QLabel(filtering), "rxFilteringMessagesLabel");
    rxFilteringShowAllButton = named(new QPushButton(filtering), "rxFilteringShowAllButton");
    rxFilteringHideAllButton = named(new QPushButton(filtering), "rxFilteringHideAllButton");
    footer->addWidget(rxFilteringIfNoRuleLabel);
    footer->addWidget(rxFilteringIfNoRuleCombo);
    footer->addWidget(rxFilteringMessagesLabel);
    footer->addStretch();
    footer->addWidget(rxFilteringShowAllButton);
    footer->addWidget(rxFilteringHideAllButton);
    filteringLayout->addLayout(footer);
    layout->addWidget(rxFilteringGroup);

    rxTextList = named(new RxMessageListView(pane), "rxTextList");
    layout->addWidget(rxTextList, 1);

    rxInfoGroup = named(new CollapsibleGroupBox(pane), "rxInfoGroup");
    rxInfoScrollArea = setupInfoArea(rxInfoGroup, &rxInfoInner, &rxInfoLabel);
    rxInfoScrollArea->setObjectName(QStringLiteral("rxInfoScrollArea"));
    rxInfoLabel->setObjectName(QStringLiteral("rxInfoLabel"));
    layout->addWidget(rxInfoGroup);

    rxClearButton = named(new QPushButton(pane), "rxClearButton");
    auto *clearRow = new QHBoxLayout;
    clearRow->addStretch();
    clearRow->addWidget(rxClearButton);
    layout->addLayout(clearRow);
    return pane;
}

QWidget *MainWindowForm::setupTxPane(QWidget *parent)
{
    auto *pane = named(new QWidget(parent), "txPane");
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(4, 0, 0, 0);

    txHeaderLabel = paneHeader(pane, "txHeaderLabel");
    layout->addWidget(txHeaderLabel);

    auto *endpoint = new QHBoxLayout;
    txAddressLabel = named(new QLabel(pane), "txAddressLabel");
    txAddressEdit = named(new QLineEdit(pane), "txAddressEdit");
    txPortLabel = named(new QLabel(pane), "txPortLabel");
    txPortSpin = named(new QSpinBox(pane), "txPortSpin");
    txPortSpin->setRange(1, 65535);
    txSendButton = named(new QPushButton(pane), "txSendButton");
    endpoint->addWidget(txAddressLabel);
    endpoint->addWidget(txAddressEdit, 1);
    endpoint->addWidget(txPortLabel);
    endpoint->addWidget(txPortSpin);
    endpoint->addWidget(txSendButton);
    layout->addLayout(endpoint);

    txTemplatesGroup = named(new CollapsibleGroupBox(pane), "txTemplatesGroup");
    QWidget *templates = txTemplatesGroup->containerWidget();
    auto *templatesLayout = new QVBoxLayout(templates);
    auto *hintRow = new QHBoxLayout;
    txTemplatesHintLabel = named(new QLabel(templates), "txTemplatesHintLabel");
    txTemplatesColCountLabel = named(new QLabel(templates), "txTemplatesColCountLabel");
    txTemplatesColCountCombo = named(new AdvancedComboBox(templates), "txTemplatesColCountCombo");
    hintRow->addWidget(txTemplatesHintLabel);
    hintRow->addStretch();
    hintRow->addWidget(txTemplatesColCountLabel);
    hintRow->addWidget(txTemplatesColCountCombo);
    templatesLayout->addLayout(hintRow);
    txTemplatesGrid = new QGridLayout;
    txTemplatesGrid->setObjectName(QStringLiteral("txTemplatesGrid"));
    txTemplatesNoItemsLabel = named(new QLabel(templates), "txTemplatesNoItemsLabel");
    txTemplatesNoItemsLabel->setAlignment(Qt::AlignCenter);
    templatesLayout->addLayout(txTemplatesGrid);
    layout->addWidget(txTemplatesGroup);

    txTextEdit = named(new QPlainTextEdit(pane), "txTextEdit");
    txTextEdit->setTabChangesFocus(true);
    layout->addWidget(txTextEdit, 1);

    txInfoGroup = named(new CollapsibleGroupBox(pane), "txInfoGroup");
    txInfoScrollArea = setupInfoArea(txInfoGroup, &txInfoInner, &txInfoLabel);
    txInfoScrollArea->setObjectName(QStringLiteral("txInfoScrollArea"));
    txInfoLabel->setObjectName(QStringLiteral("txInfoLabel"));
    layout->addWidget(txInfoGroup);

    txClearButton = named(new QPushButton(pane), "txClearButton");
    auto *clearRow = new QHBoxLayout;
    clearRow->addStretch();
    clearRow->addWidget(txClearButton);
    layout->addLayout(clearRow);
    return pane;
}

AdvancedScrollArea *MainWindowForm::setupInfoArea(
    CollapsibleGroupBox *group, QWidget **inner, QLabel **label)
{
    QWidget *container = group->containerWidget();
    auto *containerLayout = new QVBoxLayout(container);
    containerLayout->setContentsMargins(0, 0, 0, 0);
    auto *area = new AdvancedScrollArea(container);
    area->setFrameShape(QFrame::NoFrame);
    area->setMaximumHeight(120);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    *inner = new QWidget(area);
    auto *innerLayout = new QVBoxLayout(*inner);
    innerLayout->setContentsMargins(6, 4, 6, 4);
    *label = new QLabel(*inner);
    (*label)->setWordWrap(true);
    (*label)->setTextInteractionFlags(Qt::TextSelectableByMouse);
    innerLayout->addWidget(*label);
    area->setWidget(*inner);
    area->setWidgetResizable(true);
    containerLayout->addWidget(area);
    return area;
}

void MainWindowForm::retranslateUi(QMainWindow *)
{
    rxHeaderLabel->setText(tr("RECEIVING"));
    rxFromLabel->setText(tr("From"));
    rxPortLabel->setText(tr("address, listen on port"));
    rxFilteringGroup->setTitle(tr("Message filtering"));
    rxFilteringHintLabel->setText(tr("Mark message types to show"));
    rxFilteringColCountLabel->setText(tr("Columns:"));
    rxFilteringNoRulesLabel->setText(tr("No filtering rules"));
    rxFilteringIfNoRuleLabel->setText(tr("If no rule matches then"));
    rxFilteringMessagesLabel->setText(tr("messages"));
    rxFilteringShowAllButton->setText(tr("Show all"));
    rxFilteringHideAllButton->setText(tr("Hide all"));
    rxInfoGroup->setTitle(tr("Message info"));
    rxClearButton->setText(tr("Clear"));

    txHeaderLabel->setText(tr("SENDING"));
    txAddressLabel->setText(tr("To address"));
    txPortLabel->setText(tr("to port"));
    txSendButton->setText(tr("Send"));
    txTemplatesGroup->setTitle(tr("Message templates"));
    txTemplatesHintLabel->setText(tr("Click a button to compose a message to send"));
    txTemplatesColCountLabel->setText(tr("Columns:"));
    txTemplatesNoItemsLabel->setText(tr("No message templates"));
    txInfoGroup->setTitle(tr("Template info"));
    txClearButton->setText(tr("Clear"));
}
