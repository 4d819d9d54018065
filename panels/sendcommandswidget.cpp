#include "sendcommandswidget.h"

#include "ivantorclient.h"
#include "panelbutton.h"
#include "radarcommandtable.h"
#include "statelabel.h"
#include "workingstatetracker.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// The imitator modes the radar offers; it reports the mode as a byte, and any other
// value is shown as reported and marked unusual.
constexpr int ImitatorModeCount = 3;

} // namespace

SendCommandsWidget::SendCommandsWidget(QWidget *parent)
    : QWidget(parent)
    , m_grid(new QGridLayout(this))
    , m_tracker(new WorkingStateTracker(this))
{
    m_grid->setColumnStretch(0, 1);
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
        m_requestButtons.append(button);
        // The answer opens a box in the main window; the row follows the command only.
        doAddRow(tr(request.name), button, command, 0);
    }

    auto *imitatorCombo = new QComboBox(this);
    imitatorCombo->addItem(tr("Off"), 0);
    imitatorCombo->addItem(tr("Type 1"), 1);
    imitatorCombo->addItem(tr("Type 2"), 2);
    m_imitator = doAddModeRow(tr("Imitator mode"), imitatorCombo,
        RadarCommandTable::SetImitatorMode.command, RadarCommandTable::GetImitatorMode.command);
    connect(m_imitator.setButton, &QPushButton::clicked, this,
        &SendCommandsWidget::onSetImitatorModeClicked);

    auto *fakeTargetsCombo = new QComboBox(this);
    fakeTargetsCombo->addItem(tr("Off"), 0);
    fakeTargetsCombo->addItem(tr("On"), 1);
    fakeTargetsCombo->setToolTip(tr("Fake targets for demonstration"));
    m_fakeTargets = doAddModeRow(tr("Demo mode"), fakeTargetsCombo,
        RadarCommandTable::SetFakeTargetsMode.command,
        RadarCommandTable::GetFakeTargetsMode.command);
    connect(m_fakeTargets.setButton, &QPushButton::clicked, this,
        &SendCommandsWidget::onSetFakeTargetsModeClicked);

    m_grid->setRowStretch(m_grid->rowCount(), 1);
    connect(m_tracker, &WorkingStateTracker::workingChanged, this,
        &SendCommandsWidget::doUpdateButtons);
    doUpdateButtons();
}

void SendCommandsWidget::setConfirmation(const PanelQuestion::Answer &answer)
{
    m_question.setAnswer(answer);
}

int SendCommandsWidget::imitatorModeValue() const
{
    return m_imitator.combo->currentData().toInt();
}

bool SendCommandsWidget::fakeTargetsModeValue() const
{
    return m_fakeTargets.combo->currentData().toInt() != 0;
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
    if (state != IVantorClient::Received)
        return;
    // Read back after the client has finished with the acknowledged command.
    for (const ModeRow *row : { &m_imitator, &m_fakeTargets }) {
        if (command == row->setCommand) {
            const ModeRow readBack = *row;
            QMetaObject::invokeMethod(
                this, [this, readBack] { doRequestMode(readBack, true); }, Qt::QueuedConnection);
        }
    }
}

void SendCommandsWidget::showImitatorMode(quint8 mode)
{
    doShowMode(m_imitator, mode);
}

void SendCommandsWidget::showFakeTargetsMode(bool enabled)
{
    doShowMode(m_fakeTargets, enabled ? 1 : 0);
}

void SendCommandsWidget::onRequestClicked(int command)
{
    if (m_tracker->isWorking())
        emit commandWithNoArgs(command);
}

void SendCommandsWidget::onSetImitatorModeClicked()
{
    if (m_tracker->isWorking() && m_imitator.label->status().isKnown())
        emit switchCommand(m_imitator.setCommand, quint8(imitatorModeValue()));
}

void SendCommandsWidget::onSetFakeTargetsModeClicked()
{
    if (m_tracker->isWorking() && m_fakeTargets.label->status().isKnown())
        emit switchCommand(m_fakeTargets.setCommand, fakeTargetsModeValue() ? 1 : 0);
}

StateLabel *SendCommandsWidget::doAddRow(
    const QString &name, QWidget *editor, int setCommand, int getCommand)
{
    // The name above its row: beside it, long names in Russian widened the panel past a
    // laptop's screen.
    const int row = m_grid->rowCount();
    auto *label = new StateLabel(setCommand, getCommand, this);
    m_grid->addWidget(new QLabel(name, this), row, 0, 1, 3);
    m_grid->addWidget(editor, row + 1, 0);
    m_grid->addWidget(label, row + 2, 0, 1, 3);
    m_labels.append(label);
    return label;
}

SendCommandsWidget::ModeRow SendCommandsWidget::doAddModeRow(
    const QString &name, QComboBox *combo, int setCommand, int getCommand)
{
    ModeRow row;
    const int gridRow = m_grid->rowCount();
    row.combo = combo;
    row.setCommand = setCommand;
    row.getCommand = getCommand;
    row.label = doAddRow(name, combo, setCommand, getCommand);
    row.setButton = new PanelButton(tr("Set"), this);
    row.getButton = new PanelButton(tr("Get"), this);
    m_grid->addWidget(row.setButton, gridRow + 1, 1);
    m_grid->addWidget(row.getButton, gridRow + 1, 2);
    StateLabel *label = row.label;
    connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), label, [this, label] {
        if (!m_filling)
            label->markChanged();
    });
    connect(label, &StateLabel::statusChanged, this, &SendCommandsWidget::doUpdateButtons);
    connect(row.getButton, &QPushButton::clicked, this, [this, row] {
        doRequestMode(row,
            !row.label->status().hasUnsentChange()
                || m_question.ask(this, tr("Mode not sent"),
                    tr("The mode was chosen here and not sent to the radar. Replace it with the "
                       "radar's mode? Otherwise it is kept and the radar's mode is shown "
                       "beside it.")));
    });
    return row;
}

void SendCommandsWidget::doRequestMode(const ModeRow &row, bool replaceUserValue)
{
    if (!m_tracker->isWorking())
        return;
    if (replaceUserValue || !row.label->status().holdsUserValue())
        row.label->markWaiting();
    emit commandWithNoArgs(row.getCommand);
}

// A mode the list does not offer is added to it as reported, and marked.
void SendCommandsWidget::doShowMode(const ModeRow &row, int mode)
{
    int index = row.combo->findData(mode);
    const QString text = index >= 0 ? row.combo->itemText(index) : tr("Mode %1").arg(mode);
    const bool unusual = row.combo == m_imitator.combo && (mode < 0 || mode >= ImitatorModeCount);
    if (!row.label->markReceived(text,
            unusual ? tr("mode %1 is none of those this program knows").arg(mode) : QString()))
        return;
    m_filling = true;
    if (index < 0) {
        row.combo->addItem(text, mode);
        index = row.combo->count() - 1;
    }
    row.combo->setCurrentIndex(index);
    m_filling = false;
}

void SendCommandsWidget::doUpdateButtons()
{
    const bool working = m_tracker->isWorking();
    for (QPushButton *button : qAsConst(m_requestButtons))
        button->setEnabled(working);
    for (const ModeRow *row : { &m_imitator, &m_fakeTargets }) {
        if (!row->combo)
            continue;
        const bool known = row->label->status().isKnown();
        row->setButton->setEnabled(working && known);
        row->setButton->setToolTip(
            known ? QString() : tr("Not read from the radar: get the mode, or choose one."));
        row->getButton->setEnabled(working);
    }
}
