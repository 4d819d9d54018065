#pragma once

#include <QDoubleSpinBox>

// A spin box for a radar value: what the user types or steps to stays within the range
// that may be sent, while a value shown from the radar is shown as it is, even outside
// that range (the shown range widens to hold it).
class TypedRangeSpinBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit TypedRangeSpinBox(QWidget *parent = nullptr);

    void setTypedRange(double minimum, double maximum);
    double typedMinimum() const { return m_typedMinimum; }
    double typedMaximum() const { return m_typedMaximum; }
    bool isInTypedRange(double value) const;
    // Shows a value as it is, whatever the typed range.
    void showValue(double value);

    QValidator::State validate(QString &input, int &pos) const override;
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    double m_typedMinimum = 0.0;
    double m_typedMaximum = 99.99;
};
