#include "parameterstore.h"

#include <QJsonValue>
#include <QStringList>

#include <limits>

namespace {

constexpr qint64 IntMin = std::numeric_limits<qint32>::min();
constexpr qint64 IntMax = std::numeric_limits<qint32>::max();
// Fixed-point values are millionths: speeds up to 300 m/s, polygon points within 2 km.
constexpr qint64 SpeedLimit = 300 * 1000000LL;
constexpr qint64 PointLimit = 2000 * 1000000LL;

const char *const FormatName = "vantor-radar-sim state";
constexpr int FormatVersion = 1;

bool isTreatNumber(quint8 n)
{
    // param * 16 + id + 2 for param 0..1, id 0..7
    return (n >= 2 && n <= 9) || (n >= 18 && n <= 25);
}

bool isSpeedNumber(quint8 n)
{
    // param * 16 + id + 34 for param 0..3, id 0..7
    return n >= 34 && n <= 89 && (n - 34) % 16 < 8;
}

bool isPointNumber(quint8 n)
{
    // id * 8 + param for param 0..7, plus 120 for param 8..15
    return n <= 63 || (n >= 128 && n <= 191);
}

const QStringList positionKeys
    = { QStringLiteral("height"), QStringLiteral("x_offset"), QStringLiteral("y_offset"),
          QStringLiteral("azimuth"), QStringLiteral("altitude"), QStringLiteral("roll") };

} // namespace

ParameterStore::ParameterStore()
{
    resetToDefaults();
}

bool ParameterStore::definition(quint8 action, quint8 n, Definition *d)
{
    Definition def;
    switch (action) {
    case GeneralAction:
        if (n != FakeTargetsNumber)
            return false;
        def = { 0, 1, 0, true, true };
        break;
    case FrequencyAction:
        if (n != 36)
            return false;
        def = { 0, 15, 3, true, false };
        break;
    case SensitivityAction:
        if (n != 4)
            return false;
        def = { 0, 100, 50, true, false };
        break;
    case ImitatorAction:
        if (n != 0)
            return false;
        def = { 0, 255, 0, true, true };
        break;
    case PolygonAction:
        if (n == PolygonUsageNumber)
            def = { 0, 255, 0, true, false };
        else if (isTreatNumber(n))
            def = { 0, 255, 0, true, false };
        else if (isSpeedNumber(n))
            def = { -SpeedLimit, SpeedLimit, 0, true, false };
        else
            return false;
        break;
    case PolygonPointAction:
        if (!isPointNumber(n))
            return false;
        def = { -PointLimit, PointLimit, 0, true, false };
        break;
    case CalibrationAction:
        if (n == CalibrationCommandNumber)
            def = { 0, 255, 0, true, true };
        else if (n == CalibrationStateNumber)
            def = { 0, 255, 0, false, true };
        else if (n >= CalibrationLastFirst && n <= CalibrationLastLast)
            def = { IntMin, IntMax, 0, true, false };
        else if (n >= CalibrationCurrFirst && n <= CalibrationCurrLast)
            def = { IntMin, IntMax, 0, false, false };
        else
            return false;
        break;
    case DebugVariableAction:
        def = { IntMin, IntMax, 0, true, true };
        break;
    default:
        return false;
    }
    if (d)
        *d = def;
    return true;
}

ParameterStore::Error ParameterStore::write(quint8 action, quint8 paramNumber, qint64 value)
{
    Definition def;
    if (!definition(action, paramNumber, &def))
        return UnknownParameter;
    if (!def.writable)
        return ReadOnlyParameter;
    if (value < def.minimum || value > def.maximum)
        return ValueOutOfRange;
    m_values.insert(key(action, paramNumber), qint32(value));
    return NoError;
}

ParameterStore::Error ParameterStore::read(quint8 action, quint8 paramNumber, qint32 *value) const
{
    Definition def;
    if (!definition(action, paramNumber, &def))
        return UnknownParameter;
    *value = m_values.value(key(action, paramNumber), def.defaultValue);
    return NoError;
}

bool ParameterStore::setInternal(quint8 action, quint8 paramNumber, qint32 value)
{
    Definition def;
    if (!definition(action, paramNumber, &def) || value < def.minimum || value > def.maximum)
        return false;
    m_values.insert(key(action, paramNumber), value);
    return true;
}

qint32 ParameterStore::value(quint8 action, quint8 paramNumber) const
{
    qint32 v = 0;
    read(action, paramNumber, &v);
    return v;
}

void ParameterStore::save()
{
    m_saved.clear();
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        Definition def;
        if (definition(quint8(it.key() >> 8), quint8(it.key() & 0xFF), &def) && !def.volatileValue)
            m_saved.insert(it.key(), it.value());
    }
    m_savedPosition = m_position;
}

void ParameterStore::revertToSaved()
{
    m_values = m_saved;
    m_position = m_savedPosition;
}

void ParameterStore::revertPolygons()
{
    for (auto it = m_values.begin(); it != m_values.end();) {
        const quint8 action = quint8(it.key() >> 8);
        if (action == PolygonAction || action == PolygonPointAction)
            it = m_values.erase(it);
        else
            ++it;
    }
    for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
        const quint8 action = quint8(it.key() >> 8);
        if (action == PolygonAction || action == PolygonPointAction)
            m_values.insert(it.key(), it.value());
    }
}

void ParameterStore::resetToDefaults()
{
    m_values.clear();
    m_saved.clear();
    m_position = RadarPosition();
    m_savedPosition = m_position;
}

QJsonObject ParameterStore::savedToJson() const
{
    QJsonObject parameters;
    for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
        const QString name = QStringLiteral("%1/%2").arg(it.key() >> 8).arg(it.key() & 0xFF);
        parameters.insert(name, it.value());
    }
    const RadarPosition &p = m_savedPosition;
    const QJsonObject position { { positionKeys[0], p.height }, { positionKeys[1], p.xOffset },
        { positionKeys[2], p.yOffset }, { positionKeys[3], p.azimuth },
        { positionKeys[4], p.altitude }, { positionKeys[5], p.roll } };
    return { { QStringLiteral("format"), QLatin1String(FormatName) },
        { QStringLiteral("version"), FormatVersion }, { QStringLiteral("parameters"), parameters },
        { QStringLiteral("position"), position } };
}

bool ParameterStore::loadSaved(const QJsonObject &object, QString *error, int *skipped)
{
    int bad = 0;
    if (object.value(QStringLiteral("format")).toString() != QLatin1String(FormatName)) {
        *error = QStringLiteral("not a simulator state file");
        return false;
    }
    if (object.value(QStringLiteral("version")).toInt(-1) != FormatVersion) {
        *error = QStringLiteral("unsupported state file version");
        return false;
    }
    QHash<quint16, qint32> saved;
    const QJsonObject parameters = object.value(QStringLiteral("parameters")).toObject();
    for (auto it = parameters.constBegin(); it != parameters.constEnd(); ++it) {
        const QStringList parts = it.key().split(QLatin1Char('/'));
        bool okAction = false;
        bool okNumber = false;
        const uint action = parts.size() == 2 ? parts[0].toUInt(&okAction) : 0;
        const uint number = parts.size() == 2 ? parts[1].toUInt(&okNumber) : 0;
        Definition def;
        const double v = it.value().toDouble(qQNaN());
        if (!okAction || !okNumber || action > 255 || number > 255
            || !definition(quint8(action), quint8(number), &def) || def.volatileValue
            || !(v >= double(def.minimum) && v <= double(def.maximum)) || v != qint64(v)) {
            ++bad;
            continue;
        }
        saved.insert(key(quint8(action), quint8(number)), qint32(v));
    }

    RadarPosition position;
    const QJsonObject p = object.value(QStringLiteral("position")).toObject();
    qint64 values[6] = { position.height, position.xOffset, position.yOffset, position.azimuth,
        position.altitude, position.roll };
    // Lengths: 17-bit magnitudes in hundredths; angles: hundredths of a degree.
    const qint64 limits[6] = { 131071, 131071, 131071, 35999, 35999, 35999 };
    for (int i = 0; i < 6; ++i) {
        const QJsonValue jv = p.value(positionKeys[i]);
        if (jv.isUndefined())
            continue;
        const double v = jv.toDouble(qQNaN());
        const qint64 low = i < 3 ? -limits[i] : 0;
        if (!(v >= double(low) && v <= double(limits[i])) || v != qint64(v)) {
            ++bad;
            continue;
        }
        values[i] = qint64(v);
    }
    position.height = qint32(values[0]);
    position.xOffset = qint32(values[1]);
    position.yOffset = qint32(values[2]);
    position.azimuth = quint16(values[3]);
    position.altitude = quint16(values[4]);
    position.roll = quint16(values[5]);

    m_saved = saved;
    m_savedPosition = position;
    revertToSaved();
    if (skipped)
        *skipped = bad;
    return true;
}
