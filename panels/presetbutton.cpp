#include "presetbutton.h"

#include <QContextMenuEvent>
#include <QMenu>

PresetButton::PresetButton(int presetId, QWidget *parent)
    : QToolButton(parent)
    , m_presetId(presetId)
    , m_menu(new QMenu(this))
{
    connect(m_menu->addAction(tr("&Rename preset")), &QAction::triggered, this,
        &PresetButton::onRenameActionClicked);
    connect(m_menu->addAction(tr("&Update preset with current values")), &QAction::triggered, this,
        &PresetButton::onUpdateActionClicked);
    m_menu->addSeparator();
    connect(m_menu->addAction(tr("&Delete preset")), &QAction::triggered, this,
        &PresetButton::onDeleteActionClicked);
}

void PresetButton::onRenameActionClicked()
{
    emit renameRequested(m_presetId);
}

void PresetButton::onUpdateActionClicked()
{
    emit updateRequested(m_presetId);
}

void PresetButton::onDeleteActionClicked()
{
    emit deleteRequested(m_presetId);
}

void PresetButton::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->popup(event->globalPos());
}
