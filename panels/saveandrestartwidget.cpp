#include "saveandrestartwidget.h"

#include "panelbutton.h"
#include "radarcommandtable.h"
#include "statelabel.h"
#include "workingstatetracker.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

SaveAndRestartWidget::SaveAndRestartWidget(QWidget *parent)
    : QWidget(parent)
    , m_saveButton(new PanelButton(tr("S&ave to flash"), this))
    , m_restartButton(new PanelButton(tr("&Restart radar"), this))
    , m_saveLabel(new StateLabel(RadarCommandTable::SaveToFlash.command, 0, this))
    , m_restartLabel(new StateLabel(RadarCommandTable::Restart.command, 0, this))
    , m_tracker(new WorkingStateTracker(this))
{
    auto *grid = new QGridLayout(this);
    // The box around the panel gives the margins.
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    grid->addWidget(m_saveButton, 0, 0);
    grid->addWidget(m_saveLabel, 0, 1);
    grid->addWidget(m_restartButton, 1, 0);
    grid->addWidget(m_restartLabel, 1, 1);
    grid->setRowStretch(2, 1);

    connect(m_saveButton, &QPushButton::clicked, this, &SaveAndRestartWidget::onSaveClicked);
    connect(m_restartButton, &QPushButton::clicked, this, &SaveAndRestartWidget::onRestartClicked);
    for (QPushButton *button : { m_saveButton, m_restartButton }) {
        button->setEnabled(false);
        connect(m_tracker, &WorkingStateTracker::workingChanged, button, &QWidget::setEnabled);
    }
}

void SaveAndRestartWidget::setConfirmation(const Confirmation &confirmation)
{
    m_confirmation = confirmation;
}

void SaveAndRestartWidget::showRadarState(int state)
{
    m_tracker->setRadarState(state);
}

void SaveAndRestartWidget::showCommandState(int command, int state, int error)
{
    m_saveLabel->showCommandState(command, state, error);
    m_restartLabel->showCommandState(command, state, error);
}

void SaveAndRestartWidget::onSaveClicked()
{
    if (m_tracker->isWorking()
        && doConfirm(
            tr("Save parameters"), tr("Save the radar's current parameters to its flash memory?")))
        emit commandWithNoArgs(RadarCommandTable::SaveToFlash.command);
}

void SaveAndRestartWidget::onRestartClicked()
{
    if (m_tracker->isWorking()
        && doConfirm(tr("Restart radar"),
            tr("Restart the radar? Parameters not saved to flash will be lost.")))
        emit commandWithNoArgs(RadarCommandTable::Restart.command);
}

bool SaveAndRestartWidget::doConfirm(const QString &title, const QString &question)
{
    if (m_confirmation)
        return m_confirmation(title, question);
    return QMessageBox::question(
               window(), title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}
