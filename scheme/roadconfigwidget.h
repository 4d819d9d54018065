#pragma once

#include "roadbuilder.h"
#include "roaddraft.h"
#include "standalonewidget.h"

#include <QJsonObject>
#include <memory>

namespace Ui {
class RoadConfigWidget;
}

class QComboBox;
class QDoubleSpinBox;

// Editor of the road configuration: the parts of the cross-section on each side of the
// median strip, the sections along the road and the Y offset, with a live preview.
// Every change is announced at once with roadConfigChanged.
class RoadConfigWidget : public StandaloneWidget
{
    Q_OBJECT

public:
    explicit RoadConfigWidget(QWidget *parent = nullptr);
    ~RoadConfigWidget() override;

    QJsonObject roadConfig() const { return m_draft.toJson(); }

public slots:
    // Shows the configuration; one equal to what is shown leaves the editor untouched, so
    // the echo of the editor's own change does not disturb the user's editing.
    void setRoadConfig(const QJsonObject &config);

signals:
    void roadConfigChanged(const QJsonObject &config);

private:
    void onAddPart(bool left);
    void onRemovePart(bool left);
    void onAddSection();
    void onRemoveSection();
    void doFillParts();
    void doFillSections();
    void doUpdateLimits();
    void doApply();
    QComboBox *doCreatePartTypeCombo(RoadDraft::PartType type) const;
    QDoubleSpinBox *doCreateSpin(double min, double max, double value) const;
    RoadDraft::Part *partAt(int row, bool &median);

    std::unique_ptr<Ui::RoadConfigWidget> m_ui;
    RoadDraft m_draft;
    RoadBuilder m_previewBuilder;
};
