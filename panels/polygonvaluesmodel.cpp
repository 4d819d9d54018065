#include "polygonvaluesmodel.h"

#include "radarcommandtable.h"

#include <QColor>
#include <QJsonObject>
#include <QLocale>
#include <QTimer>

#include <cmath>

namespace {

const QString TreatKey = QStringLiteral("treat");
const QString SpeedKey = QStringLiteral("speed");
const QString PointsKey = QStringLiteral("points");

int setCommandOf(RadarParameters::PolygonParam kind)
{
    switch (kind) {
    case RadarParameters::PolygonTreatParam:
        return RadarCommandTable::SetPolygonTreatParam.command;
    case RadarParameters::PolygonSpeedParam:
        return RadarCommandTable::SetPolygonSpeedParam.command;
    case RadarParameters::PolygonPointParam:
        break;
    }
    return RadarCommandTable::SetPolygonPointParam.command;
}

int getCommandOf(RadarParameters::PolygonParam kind)
{
    switch (kind) {
    case RadarParameters::PolygonTreatParam:
        return RadarCommandTable::GetPolygonTreatParam.command;
    case RadarParameters::PolygonSpeedParam:
        return RadarCommandTable::GetPolygonSpeedParam.command;
    case RadarParameters::PolygonPointParam:
        break;
    }
    return RadarCommandTable::GetPolygonPointParam.command;
}

struct Group
{
    QString key;
    RadarParameters::PolygonParam kind;
    int count;
};

const Group Groups[] = {
    { TreatKey, RadarParameters::PolygonTreatParam, PolygonValuesModel::TreatCount },
    { SpeedKey, RadarParameters::PolygonSpeedParam, PolygonValuesModel::SpeedCount },
    { PointsKey, RadarParameters::PolygonPointParam, PolygonValuesModel::PointParamCount },
};

// Often enough that an unanswered read ends soon after its time is up.
constexpr int AnswerCheckMs = 250;
// The radar's fixed-point values are millionths.
constexpr int MaxDecimals = 6;

} // namespace

PolygonValuesModel::PolygonValuesModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_entries(RadarParameters::PolygonCount * RowCount)
    , m_answerTimer(new QTimer(this))
{
    m_answerTimer->setInterval(AnswerCheckMs);
    connect(m_answerTimer, &QTimer::timeout, this, &PolygonValuesModel::onAnswerTimerTicked);
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        for (int row = 0; row < RowCount; ++row) {
            const auto kind = kindOfRow(row);
            const quint8 param = quint8(paramOfRow(row));
            entry(id, row).status = ValueStatus(
                RadarParameters::fullPolygonCmdId(setCommandOf(kind), quint8(id), param),
                RadarParameters::fullPolygonCmdId(getCommandOf(kind), quint8(id), param));
        }
    }
}

int PolygonValuesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RowCount;
}

int PolygonValuesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(Column::Count);
}

QVariant PolygonValuesModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const int row = index.row();
    const auto kind = kindOfRow(row);
    const Entry &e = entry(m_polygon, row);
    switch (Column(index.column())) {
    case Column::Name:
        if (role == Qt::DisplayRole)
            return nameOfRow(row);
        break;
    case Column::Value:
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        // A value not known is shown empty, and an editor for it starts from nothing.
        if (!e.status.isKnown())
            return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
        if (role == Qt::EditRole)
            return kind == RadarParameters::PolygonTreatParam ? QVariant(int(e.value))
                                                              : QVariant(e.value);
        if (role == Qt::DisplayRole)
            return formatValue(kind, e.value);
        break;
    case Column::State:
        if (role == Qt::DisplayRole)
            return e.status.text();
        if (role == Qt::ToolTipRole)
            return e.status.toolTip();
        if (role == Qt::ForegroundRole)
            return e.status.color();
        break;
    case Column::Count:
        break;
    }
    return QVariant();
}

QVariant PolygonValuesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (Column(section)) {
    case Column::Name:
        return tr("Parameter");
    case Column::Value:
        return tr("Value");
    case Column::State:
        return tr("State");
    case Column::Count:
        break;
    }
    return QVariant();
}

Qt::ItemFlags PolygonValuesModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && Column(index.column()) == Column::Value)
        f |= Qt::ItemIsEditable;
    return f;
}

bool PolygonValuesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid)
        || Column(index.column()) != Column::Value)
        return false;
    const int row = index.row();
    bool ok = false;
    const double v = value.toDouble(&ok);
    Entry &e = entry(m_polygon, row);
    QString reason;
    if (!ok) {
        e.status.markRefused(tr("not a number"));
    } else if (!checkValue(kindOfRow(row), v, &reason)) {
        e.status.markRefused(reason);
    } else {
        e.value = v;
        e.status.markChanged();
    }
    doEmitRowChanged(m_polygon, row);
    return ok && reason.isEmpty();
}

void PolygonValuesModel::setCurrentPolygon(int id)
{
    if (id < 0 || id >= RadarParameters::PolygonCount || id == m_polygon)
        return;
    m_polygon = id;
    emit dataChanged(index(0, 0), index(RowCount - 1, int(Column::Count) - 1));
}

RadarParameters::PolygonParam PolygonValuesModel::kindOfRow(int row)
{
    if (row < TreatCount)
        return RadarParameters::PolygonTreatParam;
    if (row < TreatCount + SpeedCount)
        return RadarParameters::PolygonSpeedParam;
    return RadarParameters::PolygonPointParam;
}

int PolygonValuesModel::paramOfRow(int row)
{
    if (row < TreatCount)
        return row;
    if (row < TreatCount + SpeedCount)
        return row - TreatCount;
    return row - TreatCount - SpeedCount;
}

int PolygonValuesModel::rowOf(RadarParameters::PolygonParam kind, int param)
{
    switch (kind) {
    case RadarParameters::PolygonTreatParam:
        return param;
    case RadarParameters::PolygonSpeedParam:
        return TreatCount + param;
    case RadarParameters::PolygonPointParam:
        break;
    }
    return TreatCount + SpeedCount + param;
}

QString PolygonValuesModel::nameOfRow(int row)
{
    const int param = paramOfRow(row);
    switch (kindOfRow(row)) {
    case RadarParameters::PolygonTreatParam:
        return tr("Treat %1").arg(param + 1);
    case RadarParameters::PolygonSpeedParam:
        return tr("Speed %1").arg(param + 1);
    case RadarParameters::PolygonPointParam:
        break;
    }
    return (param % 2 == 0 ? tr("Point %1 X") : tr("Point %1 Y")).arg(param / 2 + 1);
}

double PolygonValuesModel::minimumOf(RadarParameters::PolygonParam kind)
{
    return kind == RadarParameters::PolygonTreatParam ? 0.0 : -FixedPointLimit;
}

double PolygonValuesModel::maximumOf(RadarParameters::PolygonParam kind)
{
    return kind == RadarParameters::PolygonTreatParam ? 255.0 : FixedPointLimit;
}

bool PolygonValuesModel::checkValue(
    RadarParameters::PolygonParam kind, double value, QString *reason)
{
    if (!std::isfinite(value)) {
        *reason = tr("not a number");
        return false;
    }
    if (kind == RadarParameters::PolygonTreatParam && value != std::floor(value)) {
        *reason = tr("not a whole number");
        return false;
    }
    const double low = minimumOf(kind);
    const double high = maximumOf(kind);
    if (value < low || value > high) {
        const QLocale locale;
        *reason = tr("%1 outside %2..%3")
                      .arg(locale.toString(value), locale.toString(low), locale.toString(high));
        return false;
    }
    return true;
}

QString PolygonValuesModel::formatValue(RadarParameters::PolygonParam kind, double value)
{
    const QLocale locale;
    if (kind == RadarParameters::PolygonTreatParam)
        return locale.toString(int(value));
    // As many decimals as the value has, at least the two entered here.
    const QString plain = QString::number(value, 'f', MaxDecimals);
    int decimals = MaxDecimals;
    while (decimals > Decimals && plain.at(plain.size() - 1 - (MaxDecimals - decimals)) == '0')
        --decimals;
    const QString number = locale.toString(value, 'f', decimals);
    return kind == RadarParameters::PolygonSpeedParam ? tr("%1 m/s").arg(number)
                                                      : tr("%1 m").arg(number);
}

double PolygonValuesModel::value(int id, int row) const
{
    return entry(id, row).value;
}

const ValueStatus &PolygonValuesModel::status(int id, int row) const
{
    return entry(id, row).status;
}

bool PolygonValuesModel::isPolygonKnown(int id) const
{
    for (int row = 0; row < RowCount; ++row) {
        if (!entry(id, row).status.isKnown())
            return false;
    }
    return true;
}

bool PolygonValuesModel::isPolygonUntouched(int id) const
{
    for (int row = 0; row < RowCount; ++row) {
        const ValueStatus &s = entry(id, row).status;
        if (s.isKnown() || s.stage() != ValueStatus::Idle)
            return false;
    }
    return true;
}

QVector<int> PolygonValuesModel::unsentRows(int id) const
{
    QVector<int> rows;
    for (int row = 0; row < RowCount; ++row) {
        if (entry(id, row).status.hasUnsentChange())
            rows.append(row);
    }
    return rows;
}

bool PolygonValuesModel::showValue(
    RadarParameters::PolygonParam kind, int id, int param, double value)
{
    if (id < 0 || id >= RadarParameters::PolygonCount || param < 0
        || param >= RadarParameters::paramCount(kind))
        return false;
    const int row = rowOf(kind, param);
    Entry &e = entry(id, row);
    m_answersDue.remove(indexOf(id, row));
    if (e.status.markReceived(formatValue(kind, value)))
        e.value = value;
    doEmitRowChanged(id, row);
    return true;
}

void PolygonValuesModel::applyCommandState(int command, int state, int error)
{
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        for (int row = 0; row < RowCount; ++row) {
            const ValueStatus &status = entry(id, row).status;
            if (entry(id, row).status.applyCommandState(command, state, error)) {
                if (status.awaitsAnswer()) {
                    m_answersDue.insert(
                        indexOf(id, row), QDeadlineTimer(ValueStatus::AnswerTimeoutMs));
                    m_answerTimer->start();
                }
                doEmitRowChanged(id, row);
                return;
            }
        }
    }
}

void PolygonValuesModel::markWaiting(int id, int row)
{
    entry(id, row).status.markWaiting();
    m_answersDue.remove(indexOf(id, row));
    doEmitRowChanged(id, row);
}

void PolygonValuesModel::markAllUnknown()
{
    for (Entry &e : m_entries)
        e.status.markUnknown();
    m_answersDue.clear();
    doEmitAllChanged();
}

QJsonArray PolygonValuesModel::toJson() const
{
    QJsonArray polygons;
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        QJsonObject polygon;
        for (const Group &group : Groups) {
            QJsonArray values;
            for (int param = 0; param < group.count; ++param)
                values.append(entry(id, rowOf(group.kind, param)).value);
            polygon.insert(group.key, values);
        }
        polygons.append(polygon);
    }
    return polygons;
}

bool PolygonValuesModel::checkJson(const QJsonArray &polygons)
{
    if (polygons.size() != RadarParameters::PolygonCount)
        return false;
    for (const QJsonValue &polygon : polygons) {
        for (const Group &group : Groups) {
            const QJsonValue member = polygon.toObject().value(group.key);
            const QJsonArray values = member.toArray();
            if (!member.isArray() || values.size() != group.count)
                return false;
            for (const QJsonValue &value : values) {
                QString reason;
                if (!value.isDouble() || !checkValue(group.kind, value.toDouble(), &reason))
                    return false;
            }
        }
    }
    return true;
}

void PolygonValuesModel::fillFromJson(const QJsonArray &polygons)
{
    if (!checkJson(polygons))
        return;
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        const QJsonObject polygon = polygons.at(id).toObject();
        for (const Group &group : Groups) {
            const QJsonArray values = polygon.value(group.key).toArray();
            for (int param = 0; param < group.count; ++param) {
                Entry &e = entry(id, rowOf(group.kind, param));
                e.value = values.at(param).toDouble();
                e.status.markChanged();
            }
        }
    }
    doEmitAllChanged();
}

void PolygonValuesModel::doEmitRowChanged(int id, int row)
{
    if (id == m_polygon)
        emit dataChanged(index(row, 0), index(row, int(Column::Count) - 1));
    emit polygonChanged(id);
}

void PolygonValuesModel::doEmitAllChanged()
{
    emit dataChanged(index(0, 0), index(RowCount - 1, int(Column::Count) - 1));
    for (int id = 0; id < RadarParameters::PolygonCount; ++id)
        emit polygonChanged(id);
}

void PolygonValuesModel::onAnswerTimerTicked()
{
    for (auto it = m_answersDue.begin(); it != m_answersDue.end();) {
        if (!it.value().hasExpired()) {
            ++it;
            continue;
        }
        const int id = it.key() / RowCount;
        const int row = it.key() % RowCount;
        it = m_answersDue.erase(it);
        ValueStatus &status = entry(id, row).status;
        if (status.awaitsAnswer()) {
            status.markNoAnswer();
            doEmitRowChanged(id, row);
        }
    }
    if (m_answersDue.isEmpty())
        m_answerTimer->stop();
}
