#include "presetedwidget.h"

#include "presetbutton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QToolButton>

namespace {

constexpr int ButtonsPerRow = 3;
const QString NameKey = QStringLiteral("name");

} // namespace

PresetedWidget::PresetedWidget(QWidget *parent)
    : QWidget(parent)
    , m_bar(new QWidget(this))
    , m_buttonsLayout(new QGridLayout)
    , m_addButton(new QToolButton(m_bar))
{
    auto *layout = new QHBoxLayout(m_bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_addButton->setText(tr("+"));
    auto *label = new QLabel(tr("Presets:"), m_bar);
    // Level with the first row of buttons.
    label->setMinimumHeight(m_addButton->sizeHint().height());
    layout->addWidget(label, 0, Qt::AlignTop);
    m_buttonsLayout->setContentsMargins(0, 0, 0, 0);
    m_buttonsLayout->setSpacing(4);
    layout->addLayout(m_buttonsLayout, 1);
    m_addButton->setToolTip(tr("Save the current values as a new preset"));
    layout->addWidget(m_addButton, 0, Qt::AlignTop);
    connect(m_addButton, &QToolButton::clicked, this, &PresetedWidget::onAddPresetClicked);
}

bool PresetedWidget::checkPresetId(int index) const
{
    return index >= 0 && index < m_presets.size();
}

void PresetedWidget::setNameDialog(const NameDialog &dialog)
{
    m_nameDialog = dialog;
}

void PresetedWidget::setPresets(const QJsonArray &presets)
{
    if (m_emitting)
        return;
    m_presets = QJsonArray();
    for (const QJsonValue &value : presets) {
        const QJsonObject preset = value.toObject();
        if (preset.isEmpty() || preset.value(NameKey).toString().isEmpty() || !checkPreset(preset))
            continue;
        m_presets.append(preset);
    }
    updatePresetButtons();
}

void PresetedWidget::onAddPresetClicked()
{
    QString name;
    if (!doAskName(tr("New preset"), &name))
        return;
    QJsonObject preset = currentPreset();
    preset.insert(NameKey, name);
    m_presets.append(preset);
    doEmitPresets();
}

void PresetedWidget::onPresetButtonClicked()
{
    const auto *button = qobject_cast<PresetButton *>(sender());
    if (!button || !checkPresetId(button->presetId()))
        return;
    doApplyPreset(m_presets.at(button->presetId()).toObject());
}

void PresetedWidget::onPresetRenameRequested(int presetId)
{
    if (!checkPresetId(presetId))
        return;
    QJsonObject preset = m_presets.at(presetId).toObject();
    QString name;
    if (!doAskName(preset.value(NameKey).toString(), &name))
        return;
    preset.insert(NameKey, name);
    m_presets.replace(presetId, preset);
    doEmitPresets();
}

void PresetedWidget::onPresetUpdateRequested(int presetId)
{
    if (!checkPresetId(presetId))
        return;
    QJsonObject preset = currentPreset();
    preset.insert(NameKey, m_presets.at(presetId).toObject().value(NameKey));
    m_presets.replace(presetId, preset);
    doEmitPresets();
}

void PresetedWidget::onPresetDeleteRequested(int presetId)
{
    if (!checkPresetId(presetId))
        return;
    m_presets.removeAt(presetId);
    doEmitPresets();
}

void PresetedWidget::updatePresetButtons()
{
    while (QLayoutItem *item = m_buttonsLayout->takeAt(0)) {
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    for (int i = 0; i < m_presets.size(); ++i) {
        auto *button = new PresetButton(i, m_bar);
        button->setName(m_presets.at(i).toObject().value(NameKey).toString());
        connect(button, &PresetButton::clicked, this, &PresetedWidget::onPresetButtonClicked);
        connect(
            button, &PresetButton::renameRequested, this, &PresetedWidget::onPresetRenameRequested);
        connect(
            button, &PresetButton::updateRequested, this, &PresetedWidget::onPresetUpdateRequested);
        connect(
            button, &PresetButton::deleteRequested, this, &PresetedWidget::onPresetDeleteRequested);
        m_buttonsLayout->addWidget(button, i / ButtonsPerRow, i % ButtonsPerRow);
    }
}

bool PresetedWidget::doAskName(const QString &initial, QString *name)
{
    QString text;
    bool ok = false;
    if (m_nameDialog) {
        ok = m_nameDialog(initial, &text);
    } else {
        text = QInputDialog::getText(window(), tr("Preset name"), tr("Enter new preset name"),
            QLineEdit::Normal, initial, &ok);
    }
    text = text.trimmed();
    if (!ok || text.isEmpty())
        return false;
    *name = text;
    return true;
}

void PresetedWidget::doEmitPresets()
{
    updatePresetButtons();
    m_emitting = true;
    emit presetsChanged(m_presets);
    m_emitting = false;
}
