#include "setpolygonwidget.h"

#include "ivantorclient.h"
#include "panelbutton.h"
#include "polygonvaluedelegate.h"
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
    , m_setUsageButton(new PanelButton(tr("Set usage"), this))
    , m_getUsageButton(new PanelButton(tr("Get usage"), this))
    , m_setSelectedButton(new PanelButton(tr("Set selected"), this))
    , m_getSelectedButton(new PanelButton(tr("Get selected"), this))
    , m_setPolygonButton(new PanelButton(tr("Set polygon"), this))
    , m_getPolygonButton(new PanelButton(tr("Get polygon"), this))
    , m_setChangedButton(new PanelButton(tr("Set changed polygons"), this))
    , m_reinitButton(new PanelButton(tr("Re-initialise polygons"), this))
    , m_hintLabel(new QLabel(this))
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
    usageRow->addWidget(m_setUsageButton);
    usageRow->addWidget(m_getUsageButton);
    layout->addLayout(usageRow);

    auto *polygonRow = new QHBoxLayout;
    polygonRow->addWidget(new QLabel(tr("Polygon"), this));
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        m_polygonCombo->addItem(QString(), id);
        doUpdatePolygonItem(id);
    }
    polygonRow->addWidget(m_polygonCombo, 1);
    layout->addLayout(polygonRow);

    m_view->setModel(m_model);
    m_view->setItemDelegateForColumn(
        int(PolygonValuesModel::Column::Value), new PolygonValueDelegate(m_view));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Wide enough for every name, value and common state in the language shown, so that
    // none is cut short.
    const QFontMetrics metrics = m_view->fontMetrics();
    const int padding = metrics.averageCharWidth() + 6;
    const auto headerWidth = [&](PolygonValuesModel::Column column) {
        return QFontMetrics(m_view->horizontalHeader()->font())
                   .horizontalAdvance(
                       m_model->headerData(int(column), Qt::Horizontal, Qt::DisplayRole).toString())
            + 2 * padding;
    };
    int nameWidth = headerWidth(PolygonValuesModel::Column::Name);
    for (int row = 0; row < PolygonValuesModel::RowCount; ++row)
        nameWidth = qMax(
            nameWidth, metrics.horizontalAdvance(PolygonValuesModel::nameOfRow(row)) + padding);
    int valueWidth = headerWidth(PolygonValuesModel::Column::Value);
    for (const auto kind :
        { RadarParameters::PolygonSpeedParam, RadarParameters::PolygonPointParam }) {
        valueWidth = qMax(valueWidth,
            metrics.horizontalAdvance(
                PolygonValuesModel::formatValue(kind, -PolygonValuesModel::FixedPointLimit))
                + padding);
    }
    const int stateWidth = qMax(headerWidth(PolygonValuesModel::Column::State),
        metrics.horizontalAdvance(ValueStatus::tr("received from radar")) + padding);
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
    rows->addWidget(m_setSelectedButton, 0, 0);
    rows->addWidget(m_getSelectedButton, 0, 1);
    rows->addWidget(m_setPolygonButton, 1, 0);
    rows->addWidget(m_getPolygonButton, 1, 1);
    // The longest text spans the row, so that the panel fits a laptop's screen in Russian.
    rows->addWidget(m_setChangedButton, 2, 0, 1, 2);
    rows->addWidget(m_reinitButton, 3, 0);
    rows->addWidget(m_reinitLabel, 3, 1);
    layout->addLayout(rows);
    m_hintLabel->setWordWrap(true);
    layout->addWidget(m_hintLabel);
    layout->addWidget(presetsBar());

    m_setChangedButton->setToolTip(
        tr("Send every value changed here and not sent, of all polygons, and the usage"));
    m_reinitButton->setToolTip(
        tr("Re-initialise the radar's polygons, then read back the usage and every polygon"));

    connect(m_setUsageButton, &QPushButton::clicked, this, &SetPolygonWidget::onSetUsageClicked);
    connect(m_getUsageButton, &QPushButton::clicked, this, &SetPolygonWidget::onGetUsageClicked);
    connect(
        m_setSelectedButton, &QPushButton::clicked, this, &SetPolygonWidget::onSetSelectedClicked);
    connect(
        m_getSelectedButton, &QPushButton::clicked, this, &SetPolygonWidget::onGetSelectedClicked);
    connect(
        m_setPolygonButton, &QPushButton::clicked, this, &SetPolygonWidget::onSetPolygonClicked);
    connect(
        m_getPolygonButton, &QPushButton::clicked, this, &SetPolygonWidget::onGetPolygonClicked);
    connect(
        m_setChangedButton, &QPushButton::clicked, this, &SetPolygonWidget::onSetChangedClicked);
    connect(m_reinitButton, &QPushButton::clicked, this, &SetPolygonWidget::onReinitClicked);
    connect(m_polygonCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
        &SetPolygonWidget::setCurrentPolygon);
    connect(m_tracker, &WorkingStateTracker::autoGetRequested, this,
        &SetPolygonWidget::onGetAllRequested);
    connect(
        m_tracker, &WorkingStateTracker::workingChanged, this, &SetPolygonWidget::doUpdateButtons);
    connect(m_usageLabel, &StateLabel::statusChanged, this, &SetPolygonWidget::doUpdateButtons);
    connect(m_model, &PolygonValuesModel::polygonChanged, this, [this](int id) {
        doUpdatePolygonItem(id);
        doUpdateButtons();
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &SetPolygonWidget::doUpdateButtons);
    doUpdateButtons();
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

void SetPolygonWidget::setConfirmation(const PanelQuestion::Answer &answer)
{
    m_question.setAnswer(answer);
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

QString SetPolygonWidget::hintText() const
{
    const int id = m_model->currentPolygon();
    if (m_model->isPolygonKnown(id))
        return QString();
    return tr("Polygon %1 holds values not read from the radar: \"Set polygon\" is "
              "available once the polygon is read or every value is entered.")
        .arg(id + 1);
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
    // The radar's polygons are not what the table shows any more: read them back, once
    // the client has finished with the acknowledged command.
    if (command == RadarCommandTable::ReinitPolygons.command && state == IVantorClient::Received) {
        m_model->markAllUnknown();
        m_usageLabel->markUnknown();
        QMetaObject::invokeMethod(this, &SetPolygonWidget::doReadBackAll, Qt::QueuedConnection);
    }
}

void SetPolygonWidget::setAutoGetData(bool value)
{
    m_tracker->setAutoGetData(value);
}

void SetPolygonWidget::showPolygonUsage(quint8 mask)
{
    if (m_usageLabel->markReceived(usageText(mask)))
        doShowUsage(mask);
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
    // A polygon is read when it is first shown, so that what is shown can be sent.
    const int shown = m_model->currentPolygon();
    if (m_tracker->isWorking() && m_model->isPolygonUntouched(shown))
        doRequestRows(shown, allRows(), false);
    doUpdateButtons();
}

void SetPolygonWidget::onSetUsageClicked()
{
    if (m_tracker->isWorking() && m_usageLabel->status().isKnown())
        emit setPolygonUsage(usageMask());
}

void SetPolygonWidget::onGetUsageClicked()
{
    if (!m_tracker->isWorking())
        return;
    doRequestUsage(!m_usageLabel->status().hasUnsentChange() || doAskReplace());
}

void SetPolygonWidget::onSetSelectedClicked()
{
    doSendRows(m_model->currentPolygon(), selectedRows());
}

void SetPolygonWidget::onGetSelectedClicked()
{
    const int id = m_model->currentPolygon();
    const QVector<int> rows = selectedRows();
    const QVector<int> unsent = m_model->unsentRows(id);
    const bool touchesUnsent
        = std::any_of(rows.cbegin(), rows.cend(), [&](int row) { return unsent.contains(row); });
    if (m_tracker->isWorking())
        doRequestRows(id, rows, !touchesUnsent || doAskReplace());
}

void SetPolygonWidget::onSetPolygonClicked()
{
    const int id = m_model->currentPolygon();
    if (m_model->isPolygonKnown(id))
        doSendRows(id, allRows());
}

void SetPolygonWidget::onGetPolygonClicked()
{
    const int id = m_model->currentPolygon();
    if (m_tracker->isWorking())
        doRequestRows(id, allRows(), m_model->unsentRows(id).isEmpty() || doAskReplace());
}

void SetPolygonWidget::onSetChangedClicked()
{
    if (!m_tracker->isWorking())
        return;
    if (m_usageLabel->status().hasUnsentChange())
        emit setPolygonUsage(usageMask());
    // The shown polygon first: it is the one the user looks at.
    const int shown = m_model->currentPolygon();
    doSendRows(shown, m_model->unsentRows(shown));
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        if (id != shown)
            doSendRows(id, m_model->unsentRows(id));
    }
}

void SetPolygonWidget::onReinitClicked()
{
    if (m_tracker->isWorking()
        && m_question.ask(this, tr("Re-initialise polygons"),
            tr("Re-initialise the radar's limitation polygons? The usage and every polygon are "
               "read back afterwards; values changed here and not sent are lost.")))
        emit reinitPolygons();
}

// Reading every parameter of every polygon takes well over a hundred commands; the
// usage and the polygon on show are what the installer looks at first.
void SetPolygonWidget::onGetAllRequested()
{
    if (!m_tracker->isWorking())
        return;
    doRequestUsage(false);
    doRequestRows(m_model->currentPolygon(), allRows(), false);
}

void SetPolygonWidget::doApplyPreset(const QJsonObject &preset)
{
    doShowUsage(quint8(preset.value(UsageKey).toInt()));
    m_usageLabel->markChanged();
    m_model->fillFromJson(preset.value(PolygonsKey).toArray());
}

void SetPolygonWidget::doSendRows(int id, const QVector<int> &rows)
{
    if (!m_tracker->isWorking())
        return;
    for (int row : rows) {
        // Never a value that was neither read nor entered.
        if (!m_model->status(id, row).isKnown())
            continue;
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

void SetPolygonWidget::doRequestRows(int id, const QVector<int> &rows, bool replaceUserValues)
{
    if (!m_tracker->isWorking())
        return;
    for (int row : rows) {
        const auto kind = PolygonValuesModel::kindOfRow(row);
        const quint8 param = quint8(PolygonValuesModel::paramOfRow(row));
        if (replaceUserValues || !m_model->status(id, row).holdsUserValue())
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

void SetPolygonWidget::doRequestUsage(bool replaceUserValue)
{
    if (replaceUserValue || !m_usageLabel->status().holdsUserValue())
        m_usageLabel->markWaiting();
    emit getPolygonUsage();
}

bool SetPolygonWidget::doAskReplace()
{
    return m_question.ask(this, tr("Values not sent"),
        tr("Some of these values were changed here and not sent to the radar. Replace them "
           "with the radar's values? Otherwise they are kept and the radar's values are "
           "shown beside them."));
}

void SetPolygonWidget::doReadBackAll()
{
    if (!m_tracker->isWorking())
        return;
    doRequestUsage(true);
    const int shown = m_model->currentPolygon();
    doRequestRows(shown, allRows(), true);
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        if (id != shown)
            doRequestRows(id, allRows(), true);
    }
}

void SetPolygonWidget::doUpdateButtons()
{
    const bool working = m_tracker->isWorking();
    const int id = m_model->currentPolygon();
    const QVector<int> selected = selectedRows();
    const bool selectedKnown = !selected.isEmpty()
        && std::all_of(selected.cbegin(), selected.cend(),
            [&](int row) { return m_model->status(id, row).isKnown(); });
    const bool usageKnown = m_usageLabel->status().isKnown();

    m_setUsageButton->setEnabled(working && usageKnown);
    m_setUsageButton->setToolTip(usageKnown
            ? QString()
            : tr("The usage is not read from the radar: get it, or tick the polygons in use."));
    m_getUsageButton->setEnabled(working);
    m_setSelectedButton->setEnabled(working && selectedKnown);
    m_setSelectedButton->setToolTip(selected.isEmpty() || selectedKnown
            ? QString()
            : tr("Some selected values are not read from the radar: get them, or enter them."));
    m_getSelectedButton->setEnabled(working && !selected.isEmpty());
    m_setPolygonButton->setEnabled(working && m_model->isPolygonKnown(id));
    m_setPolygonButton->setToolTip(hintText());
    m_getPolygonButton->setEnabled(working);
    m_setChangedButton->setEnabled(working && hasUnsentChanges());
    m_reinitButton->setEnabled(working);
    const QString hint = hintText();
    m_hintLabel->setText(hint);
    m_hintLabel->setVisible(!hint.isEmpty());
}

void SetPolygonWidget::doUpdatePolygonItem(int id)
{
    const int index = m_polygonCombo->findData(id);
    if (index < 0)
        return;
    const bool unsent = !m_model->unsentRows(id).isEmpty();
    m_polygonCombo->setItemText(
        index, unsent ? tr("Polygon %1 (changed)").arg(id + 1) : tr("Polygon %1").arg(id + 1));
    m_polygonCombo->setItemData(index,
        unsent ? tr("Holds values changed here and not sent to the radar") : QString(),
        Qt::ToolTipRole);
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

bool SetPolygonWidget::hasUnsentChanges() const
{
    if (m_usageLabel->status().hasUnsentChange())
        return true;
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        if (!m_model->unsentRows(id).isEmpty())
            return true;
    }
    return false;
}

void SetPolygonWidget::doShowUsage(quint8 mask)
{
    m_filling = true;
    for (int id = 0; id < m_usageBoxes.size(); ++id)
        m_usageBoxes.at(id)->setChecked(mask & (1u << id));
    m_filling = false;
}

QString SetPolygonWidget::usageText(quint8 mask)
{
    QStringList numbers;
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        if (mask & (1u << id))
            numbers << QString::number(id + 1);
    }
    return numbers.isEmpty() ? tr("none") : numbers.join(QStringLiteral(", "));
}
