#include "radartuningwidget.h"

#include "panelbutton.h"
#include "radarcommandtable.h"
#include "statelabel.h"
#include "workingstatetracker.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

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
    grid->setColumnStretch(1, 1);
    m_frequencySpin = doAddRow(tr("Frequency index"), FrequencyIndexMax, m_frequencyLabel,
        &RadarTuningWidget::setFrequencyIndex, &RadarTuningWidget::getFrequencyIndex);
    m_sensitivitySpin = doAddRow(tr("Sensitivity"), SensitivityMax, m_sensitivityLabel,
        &RadarTuningWidget::setRadarSensitivity, &RadarTuningWidget::getRadarSensitivity);
    m_sensitivitySpin->setSuffix(tr(" %"));
    grid->setRowStretch(grid->rowCount(), 1);

    connect(m_tracker, &WorkingStateTracker::autoGetRequested, this,
        &RadarTuningWidget::onGetAllRequested);
    for (QPushButton *button : qAsConst(m_sendButtons)) {
        button->setEnabled(false);
        connect(m_tracker, &WorkingStateTracker::workingChanged, button, &QWidget::setEnabled);
    }
}

int RadarTuningWidget::frequencyIndexValue() const
{
    return m_frequencySpin->value();
}

int RadarTuningWidget::radarSensitivityValue() const
{
    return m_sensitivitySpin->value();
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
    doShowValue(m_frequencySpin, m_frequencyLabel, value);
}

void RadarTuningWidget::showRadarSensitivity(int value)
{
    doShowValue(m_sensitivitySpin, m_sensitivityLabel, value);
}

void RadarTuningWidget::onGetAllRequested()
{
    if (!m_tracker->isWorking())
        return;
    m_frequencyLabel->markWaiting();
    emit getFrequencyIndex();
    m_sensitivityLabel->markWaiting();
    emit getRadarSensitivity();
}

QSpinBox *RadarTuningWidget::doAddRow(const QString &name, int maximum, StateLabel *label,
    void (RadarTuningWidget::*setSignal)(int), void (RadarTuningWidget::*getSignal)())
{
    auto *grid = static_cast<QGridLayout *>(layout());
    const int row = grid->rowCount();
    auto *spin = new QSpinBox(this);
    spin->setRange(0, maximum);
    spin->setAlignment(Qt::AlignRight);
    spin->setKeyboardTracking(false);
    auto *setButton = new PanelButton(tr("Set"), this);
    auto *getButton = new PanelButton(tr("Get"), this);
    grid->addWidget(new QLabel(name, this), row, 0);
    grid->addWidget(spin, row, 1);
    grid->addWidget(setButton, row, 2);
    grid->addWidget(getButton, row, 3);
    grid->addWidget(label, row + 1, 1, 1, 3);
    connect(spin, qOverload<int>(&QSpinBox::valueChanged), label, [this, label] {
        if (!m_filling)
            label->markChanged();
    });
    connect(setButton, &QPushButton::clicked, this, [this, spin, setSignal] {
        if (m_tracker->isWorking())
            emit(this->*setSignal)(spin->value());
    });
    connect(getButton, &QPushButton::clicked, this, [this, label, getSignal] {
        if (!m_tracker->isWorking())
            return;
        label->markWaiting();
        emit(this->*getSignal)();
    });
    m_sendButtons << setButton << getButton;
    return spin;
}

// A value the field cannot hold is reported, not clamped to a value the radar does not have.
void RadarTuningWidget::doShowValue(QSpinBox *spin, StateLabel *label, int value)
{
    if (value < spin->minimum() || value > spin->maximum()) {
        label->markRefused(tr("radar reports %1").arg(value));
        return;
    }
    m_filling = true;
    spin->setValue(value);
    m_filling = false;
    label->markReceived();
}
