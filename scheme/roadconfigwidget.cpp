#include "roadconfigwidget.h"

#include "ui_roadconfigwidget.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>

RoadConfigWidget::RoadConfigWidget(QWidget *parent)
    : StandaloneWidget(parent)
    , m_ui(std::make_unique<Ui::RoadConfigWidget>())
{
    m_ui->setupUi(this);
    const QString partTypes[] = { tr("median strip"), tr("lane"), tr("roadside") };
    for (int type = RoadDraft::MedianStrip; type <= RoadDraft::Roadside; ++type)
        m_ui->partTypeCombo->addItem(partTypes[type], type);
    m_ui->partTypeCombo->setCurrentIndex(RoadDraft::Lane);
    const QString sectionTypes[] = { tr("straight"), tr("left curve"), tr("right curve") };
    for (int type = RoadDraft::Straight; type <= RoadDraft::RightCurve; ++type)
        m_ui->sectionTypeCombo->addItem(sectionTypes[type], type);

    for (QTableWidget *table : { m_ui->partsTable, m_ui->sectionsTable }) {
        table->verticalHeader()->hide();
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    }
    m_ui->partsTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    RoadObjectsWidget *preview = m_ui->previewWidget;
    preview->setDrawVertical(false);
    preview->setKeepAspectRatio(true);
    connect(&m_previewBuilder, &RoadBuilder::applyingRoadStarted, preview,
        &RoadObjectsWidget::startApplyingRoad);
    connect(&m_previewBuilder, &RoadBuilder::roadAxisLine, preview,
        &RoadObjectsWidget::setRoadAxisLine);
    connect(&m_previewBuilder, &RoadBuilder::laneBorderLines, preview,
        &RoadObjectsWidget::setLaneBorderLines);
    connect(&m_previewBuilder, &RoadBuilder::roadBorderLines, preview,
        &RoadObjectsWidget::setRoadBorderLines);
    connect(&m_previewBuilder, &RoadBuilder::distanceLines, preview,
        &RoadObjectsWidget::setDistanceLines);
    connect(&m_previewBuilder, &RoadBuilder::roadTanAngles, preview,
        &RoadObjectsWidget::setRoadTanAngles);
    connect(&m_previewBuilder, &RoadBuilder::applyingRoadFinished, preview,
        &RoadObjectsWidget::finishApplyingRoad);

    connect(m_ui->addLeftPartButton, &QPushButton::clicked, this, [this] { onAddPart(true); });
    connect(m_ui->addRightPartButton, &QPushButton::clicked, this, [this] { onAddPart(false); });
    connect(
        m_ui->removeLeftPartButton, &QPushButton::clicked, this, [this] { onRemovePart(true); });
    connect(
        m_ui->removeRightPartButton, &QPushButton::clicked, this, [this] { onRemovePart(false); });
    connect(m_ui->addSectionButton, &QPushButton::clicked, this, &RoadConfigWidget::onAddSection);
    connect(
        m_ui->removeSectionButton, &QPushButton::clicked, this, &RoadConfigWidget::onRemoveSection);
    m_ui->originOffsetSpin->setRange(-RoadDraft::MaxOffset, RoadDraft::MaxOffset);
    connect(m_ui->originOffsetSpin, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
        [this](double value) {
            m_draft.originOffset = value;
            doApply();
        });

    doFillParts();
    doFillSections();
    doUpdateLimits();
    m_previewBuilder.setRoadConfig(m_draft.toJson());
}

RoadConfigWidget::~RoadConfigWidget() = default;

void RoadConfigWidget::setRoadConfig(const QJsonObject &config)
{
    const RoadDraft draft = RoadDraft::fromJson(config);
    if (draft.toJson() == m_draft.toJson())
        return;
    m_draft = draft;
    {
        const QSignalBlocker blocker(m_ui->originOffsetSpin);
        m_ui->originOffsetSpin->setValue(m_draft.originOffset);
    }
    doFillParts();
    doFillSections();
    doUpdateLimits();
    m_previewBuilder.setRoadConfig(m_draft.toJson());
}

void RoadConfigWidget::onAddPart(bool left)
{
    if (!m_draft.canAddPart(left))
        return;
    RoadDraft::Part part;
    part.type = RoadDraft::PartType(m_ui->partTypeCombo->currentData().toInt());
    part.width = RoadDraft::defaultWidth(part.type);
    (left ? m_draft.left : m_draft.right).append(part);
    doFillParts();
    doApply();
}

void RoadConfigWidget::onRemovePart(bool left)
{
    QVector<RoadDraft::Part> &side = left ? m_draft.left : m_draft.right;
    if (side.isEmpty())
        return;
    side.removeLast();
    doFillParts();
    doApply();
}

void RoadConfigWidget::onAddSection()
{
    if (!m_draft.canAddSection())
        return;
    RoadDraft::Section section;
    section.type = RoadDraft::SectionType(m_ui->sectionTypeCombo->currentData().toInt());
    m_draft.sections.append(section);
    m_draft.sections.last().length
        = qMin(section.length, m_draft.maxSectionLength(m_draft.sections.size() - 1));
    doFillSections();
    m_ui->sectionsTable->selectRow(m_draft.sections.size() - 1);
    doApply();
}

void RoadConfigWidget::onRemoveSection()
{
    if (m_draft.sections.isEmpty())
        return;
    int row = m_ui->sectionsTable->currentRow();
    if (row < 0 || row >= m_draft.sections.size())
        row = m_draft.sections.size() - 1;
    m_draft.sections.remove(row);
    doFillSections();
    doApply();
}

RoadDraft::Part *RoadConfigWidget::partAt(int row, bool &median)
{
    // Rows run from the outermost left part through the median strip to the outermost
    // right part, as the road looks from the radar.
    median = false;
    const int leftCount = m_draft.left.size();
    if (row < leftCount)
        return &m_draft.left[leftCount - 1 - row];
    if (row == leftCount) {
        median = true;
        return nullptr;
    }
    return &m_draft.right[row - leftCount - 1];
}

void RoadConfigWidget::doFillParts()
{
    QTableWidget *table = m_ui->partsTable;
    const int leftCount = m_draft.left.size();
    table->setRowCount(leftCount + 1 + m_draft.right.size());
    for (int row = 0; row < table->rowCount(); ++row) {
        bool median = false;
        RoadDraft::Part *part = partAt(row, median);
        const int key = row < leftCount ? leftCount - row : leftCount - row;
        auto *keyItem = new QTableWidgetItem(QString::number(key));
        keyItem->setFlags(Qt::ItemIsEnabled);
        keyItem->setTextAlignment(Qt::AlignCenter);
        table->setItem(row, 0, keyItem);

        QDoubleSpinBox *width = median
            ? doCreateSpin(RoadDraft::MinWidth, RoadDraft::MaxStripWidth, m_draft.medianWidth)
            : doCreateSpin(RoadDraft::MinWidth, RoadDraft::maxWidth(part->type), part->width);
        table->setCellWidget(row, 2, width);
        if (median) {
            auto *typeItem = new QTableWidgetItem(tr("median strip"));
            typeItem->setFlags(Qt::ItemIsEnabled);
            table->setItem(row, 1, typeItem);
            connect(width, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                [this](double value) {
                    m_draft.medianWidth = value;
                    doApply();
                });
            continue;
        }
        QComboBox *type = doCreatePartTypeCombo(part->type);
        table->setCellWidget(row, 1, type);
        connect(width, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            [this, row](double value) {
                bool isMedian = false;
                partAt(row, isMedian)->width = value;
                doApply();
            });
        connect(
            type, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, row, type, width] {
                bool isMedian = false;
                RoadDraft::Part *p = partAt(row, isMedian);
                p->type = RoadDraft::PartType(type->currentData().toInt());
                // A new type brings its usual width.
                const QSignalBlocker blocker(width);
                p->width = RoadDraft::defaultWidth(p->type);
                width->setMaximum(RoadDraft::maxWidth(p->type));
                width->setValue(p->width);
                doApply();
            });
    }
    doUpdateLimits();
}

void RoadConfigWidget::doFillSections()
{
    QTableWidget *table = m_ui->sectionsTable;
    table->setRowCount(m_draft.sections.size());
    for (int row = 0; row < m_draft.sections.size(); ++row) {
        const RoadDraft::Section &s = m_draft.sections.at(row);
        auto *type = new QComboBox;
        for (int i = 0; i < m_ui->sectionTypeCombo->count(); ++i)
            type->addItem(m_ui->sectionTypeCombo->itemText(i), m_ui->sectionTypeCombo->itemData(i));
        type->setCurrentIndex(type->findData(int(s.type)));
        table->setCellWidget(row, 0, type);
        QDoubleSpinBox *length
            = doCreateSpin(RoadDraft::MinLength, m_draft.maxSectionLength(row), s.length);
        table->setCellWidget(row, 1, length);
        QDoubleSpinBox *radius = doCreateSpin(RoadDraft::MinRadius, RoadDraft::MaxRadius, s.radius);
        radius->setEnabled(s.type != RoadDraft::Straight);
        table->setCellWidget(row, 2, radius);

        connect(
            type, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, row, type, radius] {
                m_draft.sections[row].type = RoadDraft::SectionType(type->currentData().toInt());
                radius->setEnabled(m_draft.sections.at(row).type != RoadDraft::Straight);
                doApply();
            });
        connect(length, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            [this, row](double value) {
                m_draft.sections[row].length = value;
                doUpdateLimits();
                doApply();
            });
        connect(radius, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            [this, row](double value) {
                m_draft.sections[row].radius = value;
                doApply();
            });
    }
    doUpdateLimits();
}

void RoadConfigWidget::doUpdateLimits()
{
    const bool leftFull = !m_draft.canAddPart(true);
    const bool rightFull = !m_draft.canAddPart(false);
    m_ui->addLeftPartButton->setEnabled(!leftFull);
    m_ui->addRightPartButton->setEnabled(!rightFull);
    m_ui->removeLeftPartButton->setEnabled(!m_draft.left.isEmpty());
    m_ui->removeRightPartButton->setEnabled(!m_draft.right.isEmpty());
    m_ui->partsLimitLabel->setText(leftFull || rightFull
            ? tr("At most %1 parts on each side: the road builder ignores any more.")
                  .arg(RoadDraft::MaxPartsPerSide)
            : QString());
    m_ui->partsLimitLabel->setVisible(leftFull || rightFull);

    const bool lengthFull = !m_draft.canAddSection();
    m_ui->addSectionButton->setEnabled(!lengthFull);
    m_ui->removeSectionButton->setEnabled(!m_draft.sections.isEmpty());
    m_ui->sectionsLimitLabel->setText(lengthFull
            ? tr("The road may be at most %1 m long: the road builder cuts a longer road short.")
                  .arg(RoadDraft::MaxRoadLength)
            : QString());
    m_ui->sectionsLimitLabel->setVisible(lengthFull);
    for (int row = 0; row < m_draft.sections.size(); ++row) {
        if (auto *spin = qobject_cast<QDoubleSpinBox *>(m_ui->sectionsTable->cellWidget(row, 1))) {
            const QSignalBlocker blocker(spin);
            spin->setMaximum(m_draft.maxSectionLength(row));
        }
    }
}

void RoadConfigWidget::doApply()
{
    const QJsonObject config = m_draft.toJson();
    m_previewBuilder.setRoadConfig(config);
    emit roadConfigChanged(config);
}

QComboBox *RoadConfigWidget::doCreatePartTypeCombo(RoadDraft::PartType type) const
{
    auto *combo = new QComboBox;
    for (int i = 0; i < m_ui->partTypeCombo->count(); ++i)
        combo->addItem(m_ui->partTypeCombo->itemText(i), m_ui->partTypeCombo->itemData(i));
    combo->setCurrentIndex(combo->findData(int(type)));
    return combo;
}

QDoubleSpinBox *RoadConfigWidget::doCreateSpin(double min, double max, double value) const
{
    auto *spin = new QDoubleSpinBox;
    // Centimetres: lanes of 3.75 m are common.
    spin->setDecimals(2);
    spin->setRange(min, max);
    spin->setSingleStep(0.1);
    spin->setValue(value);
    spin->setFrame(false);
    return spin;
}
