#include "setpolygonwidget.h"

#include "panelbutton.h"
#include "polygonvaluesmodel.h"
#include "radarcommandtable.h"
#include "radarparameters.h"
#include "statelabel.h"
#include "valuestatus.h"
#include "workingstatetracker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString UsageKey = QStringLiteral("usage");
const QString PolygonsKey = QStringLiteral("polygons");
constexpr int VisibleRows = 8;

} // namespace

SetPolygonWidget::SetPolygonWidget(QWidget *parent)
    : PresetedWidget(parent)
    , m_model(new PolygonValuesModel(this))
    , m_polygonCombo(new QComboBox(this))
    , m_usageLabel(new StateLabel(RadarCommandTable::SetPolygonUsage.command,
          RadarCommandTable::GetPolygonUsage.command, this))
    , m_reinitLabel(new StateLabel(RadarCommandTable::ReinitPolygons.command, 0, this))
    , m_view(new QTableView(this))
    , m_tracker(new WorkingStateTracker(this))
{
    auto *layout = new QVBoxLayout(this);
    // The box around the panel gives the margins.
    layout->setContentsMargins(0, 0, 0, 0);

    auto *usage = new QGridLayout;
    usage->addWidget(
        new QLabel(tr("Polygons in use"), this), 0, 0, 1, RadarParameters::PolygonCount / 2);
    usage->addWidget(
        m_usageLabel, 0, RadarParameters::PolygonCount / 2, 1, RadarParameters::PolygonCount / 2);
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        auto *box = new QCheckBox(QString::number(id + 1), this);
        usage->addWidget(box, 1, id);
        connect(box, &QCheckBox::toggled, m_usageLabel, [this] {
            if (!m_filling)
                m_usageLabel->markChanged();
        });
        m_usageBoxes.append(box);
    }
    layout->addLayout(usage);
    auto *usageRow = new QHBoxLayout;
    usageRow->addWidget(doAddSendButton(tr("Set usage"), &SetPolygonWidget::onSetUsageClicked));
    usageRow->addWidget(doAddSendButton(tr("Get usage"), &SetPolygonWidget::onGetUsageClicked));
    layout->addLayout(usageRow);

    auto *polygonRow = new QHBoxLayout;
    polygonRow->addWidget(new QLabel(tr("Polygon"), this));
    for (int id = 0; id < RadarParameters::PolygonCount; ++id)
        m_polygonCombo->addItem(tr("Polygon %1").arg(id + 1), id);
    polygonRow->addWidget(m_polygonCombo, 1);
    layout->addLayout(polygonRow);

    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Wide enough for every name, value and state text, so that none is cut short.
    const QFontMetrics metrics = m_view->fontMetrics();
    const int padding = metrics.averageCharWidth() + 6;
    const int nameWidth
        = qMax(metrics.horizontalAdvance(
                   m_model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString()),
              metrics.horizontalAdvance(QStringLiteral("Point 8 X")))
        + padding;
    const int valueWidth = metrics.horizontalAdvance(QStringLiteral("-2000.00 m")) + padding;
    const int stateWidth
        = metrics.horizontalAdvance(ValueStatus::tr("received from radar")) + padding;
    m_view->setColumnWidth(int(PolygonValuesModel::Column::Name), nameWidth);
    m_view->setColumnWidth(int(PolygonValuesModel::Column::Value), valueWidth);
    m_view->setMinimumWidth(nameWidth + valueWidth + stateWidth
        + m_view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * m_view->frameWidth() + 2);
    m_view->setMinimumHeight(m_view->horizontalHeader()->sizeHint().height()
        + VisibleRows * m_view->verticalHeader()->defaultSectionSize() + 4);
    layout->addWidget(m_view, 1);

    auto *rows = new QGridLayout;
    rows->setColumnStretch(0, 1);
    rows->setColumnStretch(1, 1);
    rows->addWidget(
        doAddSendButton(tr("Set selected"), &SetPolygonWidget::onSetSelectedClicked), 0, 0);
    rows->addWidget(
        doAddSendButton(tr("Get selected"), &SetPolygonWidget::onGetSelectedClicked), 0, 1);
    rows->addWidget(
        doAddSendButton(tr("Set polygon"), &SetPolygonWidget::onSetPolygonClicked), 1, 0);
    rows->addWidget(
        doAddSendButton(tr("Get polygon"), &SetPolygonWidget::onGetPolygonClicked), 1, 1);
    rows->addWidget(
        doAddSendButton(tr("Re-initialise polygons"), &SetPolygonWidget::onReinitClicked), 2, 0);
    rows->addWidget(m_reinitLabel, 2, 1);
    layout->addLayout(rows);
    layout->addWidget(presetsBar());

    connect(m_polygonCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
        &SetPolygonWidget::setCurrentPolygon);
    connect(m_tracker, &WorkingStateTracker::autoGetRequested, this,
        &SetPolygonWidget::onGetAllRequested);
    for (QPushButton *button : qAsConst(m_sendButtons)) {
        button->setEnabled(false);
        connect(m_tracker, &WorkingStateTracker::workingChanged, button, &QWidget::setEnabled);
    }
}

QJsonObject SetPolygonWidget::currentPreset() const
{
    return { { UsageKey, int(usageMask()) }, { PolygonsKey, m_model->toJson() } };
}

bool SetPolygonWidget::checkPreset(const QJsonObject &preset) const
{
    const QJsonValue usage = preset.value(UsageKey);
    const double mask = usage.toDouble(-1);
    return usage.isDouble() && mask >= 0 && mask <= 255 && mask == int(mask)
        && PolygonValuesModel::checkJson(preset.value(PolygonsKey).toArray());
}

quint8 SetPolygonWidget::usageMask() const
{
    quint8 mask = 0;
    for (int id = 0; id < m_usageBoxes.size(); ++id) {
        if (m_usageBoxes.at(id)->isChecked())
            mask |= quint8(1u << id);
    }
    return mask;
}

void SetPolygonWidget::showRadarState(int state)
{
    m_tracker->setRadarState(state);
}

void SetPolygonWidget::showCommandState(int command, int state, int error)
{
    m_usageLabel->showCommandState(command, state, error);
    m_reinitLabel->showCommandState(command, state, error);
    m_model->applyCommandState(command, state, error);
}

void SetPolygonWidget::setAutoGetData(bool value)
{
    m_tracker->setAutoGetData(value);
}

void SetPolygonWidget::showPolygonUsage(quint8 mask)
{
    doShowUsage(mask);
    m_usageLabel->markReceived();
}

void SetPolygonWidget::showPolygonTreatParam(quint8 id, quint8 param, quint8 value)
{
    m_model->showValue(RadarParameters::PolygonTreatParam, id, param, value);
}

void SetPolygonWidget::showPolygonSpeedParam(quint8 id, quint8 param, double value)
{
    m_model->showValue(RadarParameters::PolygonSpeedParam, id, param, value);
}

void SetPolygonWidget::showPolygonPointParam(quint8 id, quint8 param, double value)
{
    m_model->showValue(RadarParameters::PolygonPointParam, id, param, value);
}

void SetPolygonWidget::setCurrentPolygon(int id)
{
    m_model->setCurrentPolygon(id);
    const int index = m_polygonCombo->findData(m_model->currentPolygon());
    if (index != m_polygonCombo->currentIndex())
        m_polygonCombo->setCurrentIndex(index);
}

void SetPolygonWidget::onSetUsageClicked()
{
    if (m_tracker->isWorking())
        emit setPolygonUsage(usageMask());
}

void SetPolygonWidget::onGetUsageClicked()
{
    if (!m_tracker->isWorking())
        return;
    m_usageLabel->markWaiting();
    emit getPolygonUsage();
}

void SetPolygonWidget::doSendRows(const QVector<int> &rows)
{
    if (!m_tracker->isWorking())
        return;
    const int id = m_model->currentPolygon();
    for (int row : rows) {
        const auto kind = PolygonValuesModel::kindOfRow(row);
        const quint8 param = quint8(PolygonValuesModel::paramOfRow(row));
        const double value = m_model->value(id, row);
        switch (kind) {
        case RadarParameters::PolygonTreatParam:
            emit setPolygonTreatParam(quint8(id), param, quint8(value));
            break;
        case RadarParameters::PolygonSpeedParam:
            emit setPolygonSpeedParam(quint8(id), param, value);
            break;
        case RadarParameters::PolygonPointParam:
            emit setPolygonPointParam(quint8(id), param, value);
            break;
        }
    }
}

void SetPolygonWidget::doRequestRows(const QVector<int> &rows)
{
    if (!m_tracker->isWorking())
        return;
    const int id = m_model->currentPolygon();
    for (int row : rows) {
        const auto kind = PolygonValuesModel::kindOfRow(row);
        const quint8 param = quint8(PolygonValuesModel::paramOfRow(row));
        m_model->markWaiting(id, row);
        switch (kind) {
        case RadarParameters::PolygonTreatParam:
            emit getPolygonTreatParam(quint8(id), param);
            break;
        case RadarParameters::PolygonSpeedParam:
            emit getPolygonSpeedParam(quint8(id), param);
            break;
        case RadarParameters::PolygonPointParam:
            emit getPolygonPointParam(quint8(id), param);
            break;
        }
    }
}

void SetPolygonWidget::onSetSelectedClicked()
{
    doSendRows(selectedRows());
}

void SetPolygonWidget::onGetSelectedClicked()
{
    doRequestRows(selectedRows());
}

void SetPolygonWidget::onSetPolygonClicked()
{
    doSendRows(allRows());
}

void SetPolygonWidget::onGetPolygonClicked()
{
    doRequestRows(allRows());
}

void SetPolygonWidget::onReinitClicked()
{
    if (m_tracker->isWorking())
        emit reinitPolygons();
}

// Reading every parameter of every polygon takes well over a hundred commands; the
// usage and the polygon on show are what the installer looks at first.
void SetPolygonWidget::onGetAllRequested()
{
    onGetUsageClicked();
    onGetPolygonClicked();
}

void SetPolygonWidget::doApplyPreset(const QJsonObject &preset)
{
    doShowUsage(quint8(preset.value(UsageKey).toInt()));
    m_usageLabel->markChanged();
    m_model->fillFromJson(preset.value(PolygonsKey).toArray());
}

QVector<int> SetPolygonWidget::selectedRows() const
{
    QVector<int> rows;
    for (const QModelIndex &index : m_view->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QVector<int> SetPolygonWidget::allRows()
{
    QVector<int> rows;
    for (int row = 0; row < PolygonValuesModel::RowCount; ++row)
        rows.append(row);
    return rows;
}

QPushButton *SetPolygonWidget::doAddSendButton(
    const QString &text, void (SetPolygonWidget::*slot)())
{
    auto *button = new PanelButton(text, this);
    connect(button, &QPushButton::clicked, this, slot);
    m_sendButtons.append(button);
    return button;
}

void SetPolygonWidget::doShowUsage(quint8 mask)
{
    m_filling = true;
    for (int id = 0; id < m_usageBoxes.size(); ++id)
        m_usageBoxes.at(id)->setChecked(mask & (1u << id));
    m_filling = false;
}
