#include "workprofilewidget.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

WorkProfileWidget::WorkProfileWidget(QWidget *parent)
    : StandaloneWidget(parent)
    , m_list(new QListWidget(this))
    , m_switchButton(new QPushButton(tr("S&witch"), this))
    , m_addButton(new QPushButton(tr("&Add a copy"), this))
    , m_renameButton(new QPushButton(tr("&Rename"), this))
    , m_removeButton(new QPushButton(tr("Re&move"), this))
{
    setMinimumSize(420, 280);
    m_list->setUniformItemSizes(true);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_switchButton);
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_renameButton);
    buttons->addWidget(m_removeButton);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_switchButton, &QPushButton::clicked, this, &WorkProfileWidget::onSwitchClicked);
    connect(m_addButton, &QPushButton::clicked, this, &WorkProfileWidget::onAddClicked);
    connect(m_renameButton, &QPushButton::clicked, this, &WorkProfileWidget::onRenameClicked);
    connect(m_removeButton, &QPushButton::clicked, this, &WorkProfileWidget::onRemoveClicked);
    connect(m_list, &QListWidget::itemChanged, this, &WorkProfileWidget::onItemChanged);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &WorkProfileWidget::onSwitchClicked);
    connect(m_list, &QListWidget::currentRowChanged, this, &WorkProfileWidget::onCurrentRowChanged);
    connect(&m_handler, &WorkProfileHandler::applyingProfileFinished, this,
        &WorkProfileWidget::doRefresh);
}

void WorkProfileWidget::onSwitchClicked()
{
    const int row = m_list->currentRow();
    if (row >= 0 && row != m_handler.currentProfileId())
        m_handler.applyProfile(row);
}

void WorkProfileWidget::onAddClicked()
{
    const int row = m_handler.appendProfile(m_list->currentRow());
    doRefresh();
    m_list->setCurrentRow(row);
}

void WorkProfileWidget::onRenameClicked()
{
    if (QListWidgetItem *item = m_list->currentItem())
        m_list->editItem(item);
}

void WorkProfileWidget::onRemoveClicked()
{
    const int row = m_list->currentRow();
    m_handler.removeProfile(row);
    doRefresh();
    m_list->setCurrentRow(qMin(row, m_list->count() - 1));
}

void WorkProfileWidget::doRefresh()
{
    const int row = m_list->currentRow();
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    const QStringList names = m_handler.profileNames();
    for (int i = 0; i < names.size(); ++i) {
        auto *item = new QListWidgetItem(names.at(i), m_list);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        if (i == m_handler.currentProfileId()) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    }
    m_list->setCurrentRow(row >= 0 && row < names.size() ? row : m_handler.currentProfileId());
    onCurrentRowChanged(m_list->currentRow());
}

void WorkProfileWidget::showEvent(QShowEvent *event)
{
    doRefresh();
    StandaloneWidget::showEvent(event);
}

void WorkProfileWidget::onItemChanged(QListWidgetItem *item)
{
    m_handler.renameProfile(m_list->row(item), item->text());
}

void WorkProfileWidget::onCurrentRowChanged(int row)
{
    const bool isCurrent = row == m_handler.currentProfileId();
    m_switchButton->setEnabled(row >= 0 && !isCurrent);
    m_renameButton->setEnabled(row >= 0);
    m_removeButton->setEnabled(row >= 0 && !isCurrent);
}
