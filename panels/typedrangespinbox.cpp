#include "typedrangespinbox.h"

#include <QLineEdit>

TypedRangeSpinBox::TypedRangeSpinBox(QWidget *parent)
    : QDoubleSpinBox(parent)
{ }

void TypedRangeSpinBox::setTypedRange(double minimum, double maximum)
{
    m_typedMinimum = minimum;
    m_typedMaximum = maximum;
    setRange(minimum, maximum);
}

bool TypedRangeSpinBox::isInTypedRange(double value) const
{
    return value >= m_typedMinimum && value <= m_typedMaximum;
}

void TypedRangeSpinBox::showValue(double value)
{
    setRange(qMin(m_typedMinimum, value), qMax(m_typedMaximum, value));
    setValue(value);
}

QValidator::State TypedRangeSpinBox::validate(QString &input, int &pos) const
{
    const QValidator::State state = QDoubleSpinBox::validate(input, pos);
    if (state != QValidator::Acceptable)
        return state;
    // Beyond the typed range only while the shown value itself is there: the user may
    // leave it, not type it.
    const double typed = valueFromText(input);
    if (isInTypedRange(typed) || qFuzzyCompare(1.0 + typed, 1.0 + value()))
        return QValidator::Acceptable;
    return QValidator::Intermediate;
}

void TypedRangeSpinBox::stepBy(int steps)
{
    const double target = qBound(m_typedMinimum, value() + steps * singleStep(), m_typedMaximum);
    setValue(target);
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TypedRangeSpinBox::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (value() < m_typedMaximum)
        enabled |= StepUpEnabled;
    if (value() > m_typedMinimum)
        enabled |= StepDownEnabled;
    return enabled;
}
