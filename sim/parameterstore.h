#pragma once

#include "radarposition.h"

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QtGlobal>

// The radar's parameters, addressed like its parameter commands by (action, paramNumber).
// Working values change with every write; saved values are what "save to flash" keeps and
// what a restart brings back. Volatile parameters (operating modes, calibration progress)
// return to their defaults on a restart and are never saved.
class ParameterStore
{
public:
    // Acknowledgement codes the radar sends when a command is refused.
    enum Error : quint8 {
        NoError = 0,
        UnknownParameter = 1,
        ValueOutOfRange = 2,
        ReadOnlyParameter = 3,
        UnsupportedParamType = 4,
        FlashWriteFailed = 5,
    };

    enum Action : quint8 {
        GeneralAction = 0,
        FrequencyAction = 65,
        PolygonAction = 70,
        PolygonPointAction = 71,
        RestartAction = 129,
        SaveToFlashAction = 136,
        SensitivityAction = 148,
        SelfDiagnosticsAction = 150,
        ImitatorAction = 151,
        CalibrationAction = 254,
        DebugVariableAction = 255,
    };

    // paramNumber values of the general action.
    enum GeneralNumber : quint8 {
        DeviceInfoNumber = 40,
        PositionNumber = 42,
        FakeTargetsNumber = 68
    };
    enum CalibrationNumber : quint8 {
        CalibrationCommandNumber = 0,
        CalibrationStateNumber = 1,
        CalibrationResetApplyNumber = 7,
        CalibrationLastFirst = 8,
        CalibrationLastLast = 12,
        CalibrationCurrFirst = 16,
        CalibrationCurrLast = 20,
    };
    enum PolygonNumber : quint8 { PolygonUsageNumber = 0, PolygonReinitNumber = 1 };

    struct Definition
    {
        qint64 minimum = 0;
        qint64 maximum = 0;
        qint32 defaultValue = 0;
        bool writable = true;
        bool volatileValue = false;
    };

    ParameterStore();

    static quint16 key(quint8 action, quint8 paramNumber)
    {
        return quint16(action << 8 | paramNumber);
    }
    // The definition of a stored parameter, or false when the radar has none there.
    static bool definition(quint8 action, quint8 paramNumber, Definition *definition);

    Error write(quint8 action, quint8 paramNumber, qint64 value);
    Error read(quint8 action, quint8 paramNumber, qint32 *value) const;
    // Sets a value without the writable check (the radar's own updates, such as the
    // calibration state); values outside the definition are refused.
    bool setInternal(quint8 action, quint8 paramNumber, qint32 value);
    qint32 value(quint8 action, quint8 paramNumber) const;

    RadarPosition position() const { return m_position; }
    void setPosition(const RadarPosition &position) { m_position = position; }

    // Copies the working values to the saved ones.
    void save();
    // Working values := saved values; volatile values := defaults.
    void revertToSaved();
    // Polygon parameters (actions 70 and 71, usage included) := their saved values.
    void revertPolygons();
    // Every parameter and the position := defaults, saved values included.
    void resetToDefaults();

    // The saved values as a JSON document body, and back. Unknown entries and values
    // outside their range are skipped and counted in *skipped.
    QJsonObject savedToJson() const;
    bool loadSaved(const QJsonObject &object, QString *error, int *skipped = nullptr);

private:
    QHash<quint16, qint32> m_values;
    QHash<quint16, qint32> m_saved;
    RadarPosition m_position;
    RadarPosition m_savedPosition;
};
