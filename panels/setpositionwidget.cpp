#include "setpositionwidget.h"

#include "radarcommandtable.h"
#include "statelabel.h"
#include "typedrangespinbox.h"
#include "workingstatetracker.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

struct FieldInfo
{
    const char *key;
    const char *label;
    bool angle;
    int setCommand;
    int getCommand;
};

// The radar carries lengths and angles in hundredths.
constexpr int Decimals = 2;
// What may be entered is what the set frames carry: a length is a sign and a 17-bit
// magnitude in hundredths; an angle goes out as 0..360 degrees, entered here as
// -180..180. Reads carry more (18-bit offsets, angles up to 655.35 degrees, which the
// client reports above 180): such values are shown as reported and marked unusual.
constexpr double LengthLimit = 1310.71;
constexpr double AngleLimit = 180.0;

const FieldInfo Fields[SetPositionWidget::FieldCount] = {
    { "height", QT_TRANSLATE_NOOP("SetPositionWidget", "Height"), false,
        RadarCommandTable::SetHeight, RadarCommandTable::GetHeight },
    { "x_offset", QT_TRANSLATE_NOOP("SetPositionWidget", "X offset"), false,
        RadarCommandTable::SetXOffset, RadarCommandTable::GetXOffset },
    { "y_offset", QT_TRANSLATE_NOOP("SetPositionWidget", "Y offset"), false,
        RadarCommandTable::SetYOffset, RadarCommandTable::GetYOffset },
    { "azimuth", QT_TRANSLATE_NOOP("SetPositionWidget", "Azimuth"), true,
        RadarCommandTable::SetAzimuth, RadarCommandTable::GetAzimuth },
    { "altitude", QT_TRANSLATE_NOOP("SetPositionWidget", "Altitude"), true,
        RadarCommandTable::SetAltitude, RadarCommandTable::GetAltitude },
    { "roll", QT_TRANSLATE_NOOP("SetPositionWidget", "Roll"), true, RadarCommandTable::SetRollValue,
        RadarCommandTable::GetRollValue },
};

double limitOf(const FieldInfo &info)
{
    return info.angle ? AngleLimit : LengthLimit;
}

// The same angle in -180..180, as entered here.
double normalizedAngle(double degrees)
{
    return std::isfinite(degrees) ? std::remainder(degrees, 360.0) : degrees;
}

} // namespace

SetPositionWidget::SetPositionWidget(QWidget *parent)
    : PresetedWidget(parent)
    , m_setButton(new QPushButton(tr("S&et position"), this))
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
        auto *spin = new TypedRangeSpinBox(this);
        spin->setDecimals(Decimals);
        spin->setTypedRange(-limitOf(info), limitOf(info));
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
        connect(label, &StateLabel::statusChanged, this, &SetPositionWidget::doUpdateButtons);
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
    connect(
        m_tracker, &WorkingStateTracker::workingChanged, this, &SetPositionWidget::doUpdateButtons);
    connect(m_tracker, &WorkingStateTracker::autoGetRequested, this, [this] { doRequest(false); });
    doUpdateButtons();
}

QString SetPositionWidget::presetKey(Field field)
{
    return QString::fromLatin1(Fields[field].key);
}

double SetPositionWidget::value(Field field) const
{
    return m_spins.at(field)->value();
}

QString SetPositionWidget::sendProblem() const
{
    for (const StateLabel *label : m_labels) {
        if (!label->status().isKnown())
            return tr("Not every value is read from the radar or entered: get the position, "
                      "or enter every value.");
    }
    for (int i = 0; i < FieldCount; ++i) {
        const TypedRangeSpinBox *spin = m_spins.at(i);
        // Any angle goes out as the same angle in 0..360.
        if (Fields[i].angle || spin->isInTypedRange(spin->value()))
            continue;
        return tr("%1 %2 cannot be sent: the radar takes %3 to %4.")
            .arg(tr(Fields[i].label), doFormat(Field(i), spin->value()),
                doFormat(Field(i), spin->typedMinimum()), doFormat(Field(i), spin->typedMaximum()));
    }
    return QString();
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

void SetPositionWidget::setConfirmation(const PanelQuestion::Answer &answer)
{
    m_question.setAnswer(answer);
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

// Shown as the radar reports them; values the set frames cannot carry are marked.
void SetPositionWidget::showPosition(
    double height, double xOffset, double yOffset, double azimuth, double altitude, double roll)
{
    const double values[FieldCount] = { height, xOffset, yOffset, azimuth, altitude, roll };
    m_filling = true;
    for (int i = 0; i < FieldCount; ++i) {
        TypedRangeSpinBox *spin = m_spins.at(i);
        const QString unusual = spin->isInTypedRange(values[i])
            ? QString()
            : tr("outside %1 to %2")
                  .arg(doFormat(Field(i), spin->typedMinimum()),
                      doFormat(Field(i), spin->typedMaximum()));
        if (m_labels.at(i)->markReceived(doFormat(Field(i), values[i]), unusual))
            spin->showValue(values[i]);
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
    if (!m_tracker->isWorking() || !sendProblem().isEmpty())
        return;
    double values[FieldCount];
    for (int i = 0; i < FieldCount; ++i) {
        const double v = m_spins.at(i)->value();
        values[i] = Fields[i].angle ? normalizedAngle(v) : v;
    }
    emit setPosition(values[Height], values[XOffset], values[YOffset], values[Azimuth],
        values[Altitude], values[Roll]);
}

void SetPositionWidget::onGetClicked()
{
    if (!m_tracker->isWorking())
        return;
    const bool unsent = std::any_of(m_labels.cbegin(), m_labels.cend(),
        [](const StateLabel *label) { return label->status().hasUnsentChange(); });
    doRequest(!unsent
        || m_question.ask(this, tr("Values not sent"),
            tr("Some values of the position were changed here and not sent to the radar. "
               "Replace them with the radar's values? Otherwise they are kept and the radar's "
               "values are shown beside them.")));
}

void SetPositionWidget::doApplyPreset(const QJsonObject &preset)
{
    QVector<double> values;
    for (int i = 0; i < FieldCount; ++i)
        values.append(preset.value(presetKey(Field(i))).toDouble());
    doFill(values);
}

void SetPositionWidget::doRequest(bool replaceUserValues)
{
    if (!m_tracker->isWorking())
        return;
    for (StateLabel *label : qAsConst(m_labels)) {
        if (replaceUserValues || !label->status().holdsUserValue())
            label->markWaiting();
    }
    emit getPosition();
}

// What may be entered: see LengthLimit and AngleLimit.
bool SetPositionWidget::doCheckValue(Field field, double value, QString *reason) const
{
    if (!std::isfinite(value)) {
        *reason = tr("not a number");
        return false;
    }
    const TypedRangeSpinBox *spin = m_spins.at(field);
    if (!spin->isInTypedRange(value)) {
        *reason = tr("%1 outside %2 to %3")
                      .arg(doFormat(field, value), doFormat(field, spin->typedMinimum()),
                          doFormat(field, spin->typedMaximum()));
        return false;
    }
    return true;
}

// Values from the pick-up or a preset: shown as changed, not sent. A set with any value
// that may not be entered is refused whole, so that no mixed position is shown.
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
        m_spins.at(i)->showValue(shown.at(i));
        m_labels.at(i)->markChanged();
    }
    m_filling = false;
}

void SetPositionWidget::doUpdateButtons()
{
    const QString problem = sendProblem();
    m_setButton->setEnabled(m_tracker->isWorking() && problem.isEmpty());
    m_setButton->setToolTip(problem);
    m_getButton->setEnabled(m_tracker->isWorking());
}

QString SetPositionWidget::doFormat(Field field, double value) const
{
    return locale().toString(value, 'f', Decimals) + (Fields[field].angle ? tr(" °") : tr(" m"));
}
