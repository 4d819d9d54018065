#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QWidget>

#include <functional>

class QGridLayout;
class QToolButton;

// A panel that keeps named sets of its values, presets, with one button each. The
// presets live in the work profile: changes go out through presetsChanged and come back
// through setPresets, whose echo of the panel's own change is ignored.
class PresetedWidget : public QWidget
{
    Q_OBJECT

public:
    // Asks for a preset name, starting from `initial`; false when the user cancels.
    using NameDialog = std::function<bool(const QString &initial, QString *name)>;

    explicit PresetedWidget(QWidget *parent = nullptr);

    QJsonArray presets() const { return m_presets; }
    bool checkPresetId(int index) const;
    void setNameDialog(const NameDialog &dialog);

    virtual QJsonObject currentPreset() const = 0;
    virtual bool checkPreset(const QJsonObject &preset) const = 0;

signals:
    void presetsChanged(const QJsonArray &presets);

public slots:
    void setPresets(const QJsonArray &presets);
    void onAddPresetClicked();
    void onPresetButtonClicked();
    void onPresetRenameRequested(int presetId);
    void onPresetUpdateRequested(int presetId);
    void onPresetDeleteRequested(int presetId);
    void updatePresetButtons();

protected:
    virtual void doApplyPreset(const QJsonObject &preset) = 0;
    // The row of preset buttons with the add button, for the panel's layout.
    QWidget *presetsBar() const { return m_bar; }

private:
    bool doAskName(const QString &initial, QString *name);
    void doEmitPresets();

    QJsonArray m_presets;
    bool m_emitting = false;
    QWidget *m_bar = nullptr;
    QGridLayout *m_buttonsLayout = nullptr;
    QToolButton *m_addButton = nullptr;
    NameDialog m_nameDialog;
};
