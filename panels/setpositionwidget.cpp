#include "setpositionwidget.h"

#include "radarcommandtable.h"
#include "statelabel.h"
#include "workingstatetracker.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

struct FieldInfo
{
    const char *key;
    const char *label;
    double minimum;
    double maximum;
    bool angle;
    int setCommand;
    int getCommand;
};

// The radar carries lengths and angles in hundredths.
constexpr int Decimals = 2;

const FieldInfo Fields[SetPositionWidget::FieldCount] = {
    { "height", QT_TRANSLATE_NOOP("SetPositionWidget", "Height"), 0.0, 100.0, false,
        RadarCommandTable::SetHeight, RadarCommandTable::GetHeight },
    { "x_offset", QT_TRANSLATE_NOOP("SetPositionWidget", "X offset"), -500.0, 500.0, false,
        RadarCommandTable::SetXOffset, RadarCommandTable::GetXOffset },
    { "y_offset", QT_TRANSLATE_NOOP("SetPositionWidget", "Y offset"), -100.0, 100.0, false,
        RadarCommandTable::SetYOffset, RadarCommandTable::GetYOffset },
    { "azimuth", QT_TRANSLATE_NOOP("SetPositionWidget", "Azimuth"), -180.0, 180.0, true,
        RadarCommandTable::SetAzimuth, RadarCommandTable::GetAzimuth },
    { "altitude", QT_TRANSLATE_NOOP("SetPositionWidget", "Altitude"), -90.0, 90.0, true,
        RadarCommandTable::SetAltitude, RadarCommandTable::GetAltitude },
    { "roll", QT_TRANSLATE_NOOP("SetPositionWidget", "Roll"), -180.0, 180.0, true,
        RadarCommandTable::SetRollValue, RadarCommandTable::GetRollValue },
};

// The radar answers angles in 0..360; the fields show them in -180..180.
double normalizedAngle(double degrees)
{
    return std::isfinite(degrees) ? std::remainder(degrees, 360.0) : degrees;
}

} // namespace

SetPositionWidget::SetPositionWidget(QWidget *parent)
    : PresetedWidget(parent)
    , m_setButton(new QPushButton(tr("&Set position"), this))
    , m_getButton(new QPushButton(tr("&Get position"), this))
    , m_tracker(new WorkingStateTracker(this))
{
    auto *layout = new QVBoxLayout(this);
    // The box around the panel gives the margins.
    layout->setContentsMargins(0, 0, 0, 0);
    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    for (int i = 0; i < FieldCount; ++i) {
        const FieldInfo &info = Fields[i];
        auto *spin = new QDoubleSpinBox(this);
        spin->setRange(info.minimum, info.maximum);
        spin->setDecimals(Decimals);
        spin->setSingleStep(info.angle ? 0.5 : 0.1);
        spin->setSuffix(info.angle ? tr(" °") : tr(" m"));
        spin->setAlignment(Qt::AlignRight);
        spin->setKeyboardTracking(false);
        auto *label = new StateLabel(info.setCommand, info.getCommand, this);
        grid->addWidget(new QLabel(tr(info.label), this), i, 0);
        grid->addWidget(spin, i, 1);
        grid->addWidget(label, i, 2);
        connect(spin, qOverload<double>(&QDoubleSpinBox::valueChanged), label, [this, label] {
            if (!m_filling)
                label->markChanged();
        });
        m_spins.append(spin);
        m_labels.append(label);
    }
    layout->addLayout(grid);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_setButton);
    buttons->addWidget(m_getButton);
    layout->addLayout(buttons);
    layout->addWidget(presetsBar());
    layout->addStretch(1);

    connect(m_setButton, &QPushButton::clicked, this, &SetPositionWidget::onSetClicked);
    connect(m_getButton, &QPushButton::clicked, this, &SetPositionWidget::onGetClicked);
    connect(m_tracker, &WorkingStateTracker::workingChanged, m_setButton, &QWidget::setEnabled);
    connect(m_tracker, &WorkingStateTracker::workingChanged, m_getButton, &QWidget::setEnabled);
    connect(
        m_tracker, &WorkingStateTracker::autoGetRequested, this, &SetPositionWidget::onGetClicked);
    m_setButton->setEnabled(false);
    m_getButton->setEnabled(false);
}

QString SetPositionWidget::presetKey(Field field)
{
    return QString::fromLatin1(Fields[field].key);
}

double SetPositionWidget::value(Field field) const
{
    return m_spins.at(field)->value();
}

QJsonObject SetPositionWidget::currentPreset() const
{
    QJsonObject preset;
    for (int i = 0; i < FieldCount; ++i)
        preset.insert(presetKey(Field(i)), m_spins.at(i)->value());
    return preset;
}

bool SetPositionWidget::checkPreset(const QJsonObject &preset) const
{
    for (int i = 0; i < FieldCount; ++i) {
        const QJsonValue value = preset.value(presetKey(Field(i)));
        QString reason;
        if (!value.isDouble() || !doCheckValue(Field(i), value.toDouble(), &reason))
            return false;
    }
    return true;
}

void SetPositionWidget::showRadarState(int state)
{
    m_tracker->setRadarState(state);
}

void SetPositionWidget::showCommandState(int command, int state, int error)
{
    for (StateLabel *label : qAsConst(m_labels))
        label->showCommandState(command, state, error);
}

void SetPositionWidget::setAutoGetData(bool value)
{
    m_tracker->setAutoGetData(value);
}

void SetPositionWidget::showPosition(
    double height, double xOffset, double yOffset, double azimuth, double altitude, double roll)
{
    const double values[FieldCount] = { height, xOffset, yOffset, normalizedAngle(azimuth),
        normalizedAngle(altitude), normalizedAngle(roll) };
    m_filling = true;
    for (int i = 0; i < FieldCount; ++i) {
        QString reason;
        if (doCheckValue(Field(i), values[i], &reason)) {
            m_spins.at(i)->setValue(values[i]);
            m_labels.at(i)->markReceived();
        } else {
            m_labels.at(i)->markRefused(reason);
        }
    }
    m_filling = false;
}

void SetPositionWidget::fillPosition(
    double height, double xOffset, double yOffset, double azimuth, double altitude, double roll)
{
    doFill({ height, xOffset, yOffset, azimuth, altitude, roll });
}

void SetPositionWidget::onSetClicked()
{
    if (!m_tracker->isWorking())
        return;
    emit setPosition(m_spins.at(Height)->value(), m_spins.at(XOffset)->value(),
        m_spins.at(YOffset)->value(), m_spins.at(Azimuth)->value(), m_spins.at(Altitude)->value(),
        m_spins.at(Roll)->value());
}

void SetPositionWidget::onGetClicked()
{
    if (!m_tracker->isWorking())
        return;
    for (StateLabel *label : qAsConst(m_labels))
        label->markWaiting();
    emit getPosition();
}

void SetPositionWidget::doApplyPreset(const QJsonObject &preset)
{
    QVector<double> values;
    for (int i = 0; i < FieldCount; ++i)
        values.append(preset.value(presetKey(Field(i))).toDouble());
    doFill(values);
}

bool SetPositionWidget::doCheckValue(Field field, double value, QString *reason) const
{
    const FieldInfo &info = Fields[field];
    if (!std::isfinite(value)) {
        *reason = tr("not a number");
        return false;
    }
    if (value < info.minimum || value > info.maximum) {
        *reason = tr("%1 outside %2..%3")
                      .arg(value, 0, 'f', Decimals)
                      .arg(info.minimum)
                      .arg(info.maximum);
        return false;
    }
    return true;
}

// Values from the pick-up or a preset: shown as changed, not sent. A set with any value
// the fields cannot hold is refused whole, so that no mixed position is shown.
void SetPositionWidget::doFill(const QVector<double> &values)
{
    QVector<double> shown = values;
    bool valid = true;
    for (int i = 0; i < FieldCount; ++i) {
        if (Fields[i].angle)
            shown[i] = normalizedAngle(shown.at(i));
        QString reason;
        if (!doCheckValue(Field(i), shown.at(i), &reason)) {
            m_labels.at(i)->markRefused(reason);
            valid = false;
        }
    }
    if (!valid)
        return;
    m_filling = true;
    for (int i = 0; i < FieldCount; ++i) {
        m_spins.at(i)->setValue(shown.at(i));
        m_labels.at(i)->markChanged();
    }
    m_filling = false;
}
