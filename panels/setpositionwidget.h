#pragma once

#include "panelquestion.h"
#include "presetedwidget.h"

#include <QVector>

class QPushButton;
class StateLabel;
class TypedRangeSpinBox;
class WorkingStateTracker;

// The radar's mounting position: height, offsets and angles, set (previewed on the
// scheme and the projection at once) and read back, filled from the pick-up, and kept in
// presets. The position is sent only when every value was read or entered.
class SetPositionWidget : public PresetedWidget
{
    Q_OBJECT

public:
    enum Field { Height, XOffset, YOffset, Azimuth, Altitude, Roll, FieldCount };

    explicit SetPositionWidget(QWidget *parent = nullptr);

    QJsonObject currentPreset() const override;
    bool checkPreset(const QJsonObject &preset) const override;

    // Answers the question before a read replaces values the user changed and has not sent.
    void setConfirmation(const PanelQuestion::Answer &answer);

    double value(Field field) const;
    const StateLabel *stateLabel(Field field) const { return m_labels.at(field); }
    static QString presetKey(Field field);
    // Why the position cannot be sent; empty when it can.
    QString sendProblem() const;

signals:
    void setPosition(double height, double xOffset, double yOffset, double azimuth, double altitude,
        double roll);
    void getPosition();

public slots:
    void showRadarState(int state);
    void showCommandState(int command, int state, int error);
    void setAutoGetData(bool value);
    void showPosition(double height, double xOffset, double yOffset, double azimuth,
        double altitude, double roll);
    void fillPosition(double height, double xOffset, double yOffset, double azimuth,
        double altitude, double roll);
    void onSetClicked();
    void onGetClicked();

protected:
    void doApplyPreset(const QJsonObject &preset) override;

private:
    bool doCheckValue(Field field, double value, QString *reason) const;
    void doFill(const QVector<double> &values);
    void doRequest(bool replaceUserValues);
    void doUpdateButtons();
    QString doFormat(Field field, double value) const;

    QVector<TypedRangeSpinBox *> m_spins;
    QVector<StateLabel *> m_labels;
    QPushButton *m_setButton = nullptr;
    QPushButton *m_getButton = nullptr;
    WorkingStateTracker *m_tracker = nullptr;
    PanelQuestion m_question;
    bool m_filling = false;
};
