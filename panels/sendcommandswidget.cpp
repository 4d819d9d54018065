#include "sendcommandswidget.h"

#include "panelbutton.h"
#include "radarcommandtable.h"
#include "statelabel.h"
#include "workingstatetracker.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

SendCommandsWidget::SendCommandsWidget(QWidget *parent)
    : QWidget(parent)
    , m_grid(new QGridLayout(this))
    , m_imitatorCombo(new QComboBox(this))
    , m_fakeTargetsCombo(new QComboBox(this))
    , m_tracker(new WorkingStateTracker(this))
{
    m_grid->setColumnStretch(1, 1);
    // The box around the panel gives the margins.
    m_grid->setContentsMargins(0, 0, 0, 0);
    const struct
    {
        const char *name;
        const char *button;
        int command;
    } requests[] = {
        { QT_TR_NOOP("Hardware info"), QT_TR_NOOP("Request"),
            RadarCommandTable::GetHardwareInfo.command },
        { QT_TR_NOOP("Firmware info"), QT_TR_NOOP("Request"),
            RadarCommandTable::GetFirmwareInfo.command },
        { QT_TR_NOOP("Self-diagnosis"), QT_TR_NOOP("Run"),
            RadarCommandTable::SelfDiagnostics.command },
    };
    for (const auto &request : requests) {
        auto *button = new PanelButton(tr(request.button), this);
        const int command = request.command;
        connect(
            button, &QPushButton::clicked, this, [this, command] { onRequestClicked(command); });
        m_sendButtons.append(button);
        // The answer opens a box in the main window; the row follows the command only.
        doAddRow(tr(request.name), button, command, 0);
    }

    m_imitatorCombo->addItem(tr("Off"), 0);
    m_imitatorCombo->addItem(tr("Type 1"), 1);
    m_imitatorCombo->addItem(tr("Type 2"), 2);
    const int imitatorRow = m_grid->rowCount();
    StateLabel *imitatorLabel = m_imitatorLabel = doAddRow(tr("Imitator mode"), m_imitatorCombo,
        RadarCommandTable::SetImitatorMode.command, RadarCommandTable::GetImitatorMode.command);
    connect(doAddButton(tr("Set"), imitatorRow, 2), &QPushButton::clicked, this,
        &SendCommandsWidget::onSetImitatorModeClicked);
    connect(
        doAddButton(tr("Get"), imitatorRow, 3), &QPushButton::clicked, this, [this, imitatorLabel] {
            imitatorLabel->markWaiting();
            onRequestClicked(RadarCommandTable::GetImitatorMode.command);
        });

    m_fakeTargetsCombo->addItem(tr("Off"), 0);
    m_fakeTargetsCombo->addItem(tr("On"), 1);
    const int fakeRow = m_grid->rowCount();
    StateLabel *fakeLabel = m_fakeTargetsLabel = doAddRow(tr("Demo mode"), m_fakeTargetsCombo,
        RadarCommandTable::SetFakeTargetsMode.command,
        RadarCommandTable::GetFakeTargetsMode.command);
    m_fakeTargetsCombo->setToolTip(tr("Fake targets for demonstration"));
    connect(doAddButton(tr("Set"), fakeRow, 2), &QPushButton::clicked, this,
        &SendCommandsWidget::onSetFakeTargetsModeClicked);
    connect(doAddButton(tr("Get"), fakeRow, 3), &QPushButton::clicked, this, [this, fakeLabel] {
        fakeLabel->markWaiting();
        onRequestClicked(RadarCommandTable::GetFakeTargetsMode.command);
    });

    connect(m_imitatorCombo, qOverload<int>(&QComboBox::currentIndexChanged), imitatorLabel,
        [this, imitatorLabel] {
            if (!m_filling)
                imitatorLabel->markChanged();
        });
    connect(m_fakeTargetsCombo, qOverload<int>(&QComboBox::currentIndexChanged), fakeLabel,
        [this, fakeLabel] {
            if (!m_filling)
                fakeLabel->markChanged();
        });
    m_grid->setRowStretch(m_grid->rowCount(), 1);
    for (QPushButton *button : qAsConst(m_sendButtons)) {
        button->setEnabled(false);
        connect(m_tracker, &WorkingStateTracker::workingChanged, button, &QWidget::setEnabled);
    }
}

int SendCommandsWidget::imitatorModeValue() const
{
    return m_imitatorCombo->currentData().toInt();
}

bool SendCommandsWidget::fakeTargetsModeValue() const
{
    return m_fakeTargetsCombo->currentData().toInt() != 0;
}

const StateLabel *SendCommandsWidget::stateLabel(int command) const
{
    for (const StateLabel *label : m_labels) {
        if (label->status().tracks(command))
            return label;
    }
    return nullptr;
}

void SendCommandsWidget::showRadarState(int state)
{
    m_tracker->setRadarState(state);
}

void SendCommandsWidget::showCommandState(int command, int state, int error)
{
    for (StateLabel *label : qAsConst(m_labels))
        label->showCommandState(command, state, error);
}

void SendCommandsWidget::showImitatorMode(quint8 mode)
{
    doShowMode(m_imitatorCombo, m_imitatorLabel, mode);
}

void SendCommandsWidget::showFakeTargetsMode(bool enabled)
{
    doShowMode(m_fakeTargetsCombo, m_fakeTargetsLabel, enabled ? 1 : 0);
}

void SendCommandsWidget::onRequestClicked(int command)
{
    if (m_tracker->isWorking())
        emit commandWithNoArgs(command);
}

void SendCommandsWidget::onSetImitatorModeClicked()
{
    if (m_tracker->isWorking())
        emit switchCommand(RadarCommandTable::SetImitatorMode.command, quint8(imitatorModeValue()));
}

void SendCommandsWidget::onSetFakeTargetsModeClicked()
{
    if (m_tracker->isWorking())
        emit switchCommand(
            RadarCommandTable::SetFakeTargetsMode.command, fakeTargetsModeValue() ? 1 : 0);
}

StateLabel *SendCommandsWidget::doAddRow(
    const QString &name, QWidget *editor, int setCommand, int getCommand)
{
    const int row = m_grid->rowCount();
    auto *label = new StateLabel(setCommand, getCommand, this);
    m_grid->addWidget(new QLabel(name, this), row, 0);
    m_grid->addWidget(editor, row, 1);
    m_grid->addWidget(label, row + 1, 1, 1, 3);
    m_labels.append(label);
    return label;
}

QPushButton *SendCommandsWidget::doAddButton(const QString &text, int row, int column)
{
    auto *button = new PanelButton(text, this);
    m_grid->addWidget(button, row, column);
    m_sendButtons.append(button);
    return button;
}

// A mode the list does not offer is reported rather than shown as another mode.
void SendCommandsWidget::doShowMode(QComboBox *combo, StateLabel *label, int mode)
{
    const int index = combo->findData(mode);
    if (index < 0) {
        label->markRefused(tr("radar reports mode %1").arg(mode));
        return;
    }
    m_filling = true;
    combo->setCurrentIndex(index);
    m_filling = false;
    label->markReceived();
}
