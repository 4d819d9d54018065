#include "radartuningwidget.h"

#include "panelbutton.h"
#include "radarcommandtable.h"
#include "statelabel.h"
#include "workingstatetracker.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

#include <limits>

RadarTuningWidget::RadarTuningWidget(QWidget *parent)
    : QWidget(parent)
    , m_frequencyLabel(new StateLabel(RadarCommandTable::SetFrequencyIndex.command,
          RadarCommandTable::GetFrequencyIndex.command, this))
    , m_sensitivityLabel(new StateLabel(RadarCommandTable::SetRadarSensitivity.command,
          RadarCommandTable::GetRadarSensitivity.command, this))
    , m_tracker(new WorkingStateTracker(this))
{
    auto *grid = new QGridLayout(this);
    // The box around the panel gives the margins.
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(0, 1);
    m_frequency = doAddRow(tr("Frequency index"), m_frequencyLabel,
        &RadarTuningWidget::setFrequencyIndex, &RadarTuningWidget::getFrequencyIndex);
    m_sensitivity = doAddRow(tr("Sensitivity"), m_sensitivityLabel,
        &RadarTuningWidget::setRadarSensitivity, &RadarTuningWidget::getRadarSensitivity);
    grid->setRowStretch(grid->rowCount(), 1);

    connect(m_tracker, &WorkingStateTracker::autoGetRequested, this,
        &RadarTuningWidget::onGetAllRequested);
    connect(
        m_tracker, &WorkingStateTracker::workingChanged, this, &RadarTuningWidget::doUpdateButtons);
    doUpdateButtons();
}

void RadarTuningWidget::setConfirmation(const PanelQuestion::Answer &answer)
{
    m_question.setAnswer(answer);
}

int RadarTuningWidget::frequencyIndexValue() const
{
    return m_frequency.spin->value();
}

int RadarTuningWidget::radarSensitivityValue() const
{
    return m_sensitivity.spin->value();
}

void RadarTuningWidget::showRadarState(int state)
{
    m_tracker->setRadarState(state);
}

void RadarTuningWidget::showCommandState(int command, int state, int error)
{
    m_frequencyLabel->showCommandState(command, state, error);
    m_sensitivityLabel->showCommandState(command, state, error);
}

void RadarTuningWidget::setAutoGetData(bool value)
{
    m_tracker->setAutoGetData(value);
}

void RadarTuningWidget::showFrequencyIndex(int value)
{
    doShowValue(m_frequency, value);
}

void RadarTuningWidget::showRadarSensitivity(int value)
{
    doShowValue(m_sensitivity, value);
}

void RadarTuningWidget::onGetAllRequested()
{
    doRequest(m_frequency, &RadarTuningWidget::getFrequencyIndex, false);
    doRequest(m_sensitivity, &RadarTuningWidget::getRadarSensitivity, false);
}

RadarTuningWidget::Row RadarTuningWidget::doAddRow(const QString &name, StateLabel *label,
    void (RadarTuningWidget::*setSignal)(int), void (RadarTuningWidget::*getSignal)())
{
    auto *grid = static_cast<QGridLayout *>(layout());
    const int gridRow = grid->rowCount();
    Row row;
    row.label = label;
    row.spin = new QSpinBox(this);
    // Both values travel as signed 32-bit numbers, and that is all the commands say of
    // them: the radar itself refuses what it does not take.
    row.spin->setRange(std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    row.spin->setAlignment(Qt::AlignRight);
    row.spin->setKeyboardTracking(false);
    row.setButton = new PanelButton(tr("Set"), this);
    row.getButton = new PanelButton(tr("Get"), this);
    // The name above its row: beside it, long names in Russian widened the panel past a
    // laptop's screen.
    grid->addWidget(new QLabel(name, this), gridRow, 0, 1, 3);
    grid->addWidget(row.spin, gridRow + 1, 0);
    grid->addWidget(row.setButton, gridRow + 1, 1);
    grid->addWidget(row.getButton, gridRow + 1, 2);
    grid->addWidget(label, gridRow + 2, 0, 1, 3);
    connect(row.spin, qOverload<int>(&QSpinBox::valueChanged), label, [this, label] {
        if (!m_filling)
            label->markChanged();
    });
    connect(label, &StateLabel::statusChanged, this, &RadarTuningWidget::doUpdateButtons);
    QSpinBox *spin = row.spin;
    connect(row.setButton, &QPushButton::clicked, this, [this, spin, label, setSignal] {
        if (m_tracker->isWorking() && label->status().isKnown())
            emit(this->*setSignal)(spin->value());
    });
    connect(row.getButton, &QPushButton::clicked, this, [this, row, getSignal] {
        doRequest(row, getSignal,
            !row.label->status().hasUnsentChange()
                || m_question.ask(this, tr("Value not sent"),
                    tr("The value was changed here and not sent to the radar. Replace it with "
                       "the radar's value? Otherwise it is kept and the radar's value is shown "
                       "beside it.")));
    });
    return row;
}

// Shown as reported: the spin boxes hold every value the radar can send.
void RadarTuningWidget::doShowValue(const Row &row, int value)
{
    if (!row.label->markReceived(locale().toString(value)))
        return;
    m_filling = true;
    row.spin->setValue(value);
    m_filling = false;
}

void RadarTuningWidget::doRequest(
    const Row &row, void (RadarTuningWidget::*getSignal)(), bool replaceUserValue)
{
    if (!m_tracker->isWorking())
        return;
    if (replaceUserValue || !row.label->status().holdsUserValue())
        row.label->markWaiting();
    emit(this->*getSignal)();
}

void RadarTuningWidget::doUpdateButtons()
{
    const bool working = m_tracker->isWorking();
    for (const Row *row : { &m_frequency, &m_sensitivity }) {
        if (!row->spin)
            continue;
        const bool known = row->label->status().isKnown();
        row->setButton->setEnabled(working && known);
        row->setButton->setToolTip(
            known ? QString() : tr("Not read from the radar: get the value, or enter one."));
        row->getButton->setEnabled(working);
    }
}
